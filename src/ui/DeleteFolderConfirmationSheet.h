#pragma once

#include "MainWindowEnvironment.h"
#include "model/AppFolder.h"
#include "widgets/DialogPanel.h"

#include <functional>

// Asks before a folder is deleted. Cancel (Escape) clears the store's `folderPendingDelete`;
// Delete (Return) runs `onConfirm`, which deletes the folder.
class DeleteFolderConfirmationSheet final : public DialogPanel {
    Q_OBJECT
public:
    static constexpr double panelWidth = 320;

    DeleteFolderConfirmationSheet(const MainWindowEnvironment& environment, const AppFolder& folder,
                                  std::function<void()> onConfirm, QWidget* parent = nullptr);

    TextButton* cancelButton() const { return m_cancel; }
    TextButton* deleteButton() const { return m_delete; }

private:
    TextButton* m_cancel;
    TextButton* m_delete;
};
