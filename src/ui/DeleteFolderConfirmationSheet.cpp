#include "DeleteFolderConfirmationSheet.h"

#include "model/FolderStore.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"

#include <optional>

DeleteFolderConfirmationSheet::DeleteFolderConfirmationSheet(const MainWindowEnvironment& environment,
                                                             const AppFolder& folder, std::function<void()> onConfirm,
                                                             QWidget* parent)
    : DialogPanel(environment.localization.format(L10nKey::deleteConfirmationTitle, {folder.name}), panelWidth,
                  parent) {
    const Localization& localization = environment.localization;
    setMessage(localization.text(L10nKey::deleteConfirmationMessage), 12.5);
    FolderStore& store = environment.store;
    // Nothing is lost to a Return pressed out of habit: deleting takes Tab or the mouse.
    m_cancel = addButton(
        localization.text(L10nKey::cancel), TextButton::Style::Secondary,
        [&store] { store.setFolderPendingDelete(std::nullopt); }, true, true);
    m_delete = addButton(
        localization.text(L10nKey::folderDelete), TextButton::Style::Destructive,
        [onConfirm = std::move(onConfirm)] {
            if (onConfirm)
                onConfirm();
        },
        false, false);
}
