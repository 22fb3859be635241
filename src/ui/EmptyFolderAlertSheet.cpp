#include "EmptyFolderAlertSheet.h"

#include "model/FolderStore.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"

EmptyFolderAlertSheet::EmptyFolderAlertSheet(const MainWindowEnvironment& environment, QWidget* parent)
    : DialogPanel(environment.localization.text(L10nKey::emptyFolderAlertTitle), panelWidth, parent) {
    const Localization& localization = environment.localization;
    setMessage(localization.text(L10nKey::emptyFolderAlertMessage), 12.5);
    FolderStore& store = environment.store;
    m_ok = addButton(
        localization.text(L10nKey::emptyFolderAlertOk), TextButton::Style::Prominent,
        [&store] { store.setShowingEmptyFolderAlert(false); }, true, true);
}
