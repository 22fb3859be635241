#pragma once

#include "MainWindowEnvironment.h"
#include "widgets/DialogPanel.h"

// Explains why an empty folder cannot go into the Dock. Its one button, Return and Escape all clear
// the store's `showingEmptyFolderAlert`.
class EmptyFolderAlertSheet final : public DialogPanel {
    Q_OBJECT
public:
    static constexpr double panelWidth = 320;

    explicit EmptyFolderAlertSheet(const MainWindowEnvironment& environment, QWidget* parent = nullptr);

    TextButton* okButton() const { return m_ok; }

private:
    TextButton* m_ok;
};
