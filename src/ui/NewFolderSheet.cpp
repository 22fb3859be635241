#include "NewFolderSheet.h"

#include "FolderNameFilter.h"
#include "FolderNameHint.h"
#include "IconGrid.h"
#include "model/FolderStore.h"
#include "model/Timestamp.h"
#include "platform/Clock.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/Fonts.h"
#include "widgets/SearchInputField.h"
#include "widgets/TextLabel.h"

#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QUuid>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString defaultIcon = QStringLiteral("folder");

QLabel* sectionLabel(const QString& text, QWidget* parent) {
    return new TextLabel(
        text, {.points = 12, .weight = QFont::DemiBold, .role = QPalette::PlaceholderText, .letterSpacing = 0.3},
        parent);
}

} // namespace

NewFolderSheet::NewFolderSheet(const MainWindowEnvironment& environment, QWidget* parent)
    : DialogPanel(QString(), panelWidth, parent)
    , m_environment(environment)
    , m_folderToEdit(environment.store.folderToEdit())
    , m_selectedIcon(m_folderToEdit ? m_folderToEdit->emoji : defaultIcon)
    , m_nameBox(new SearchInputField(QString(), QString(), this))
    , m_nameField(m_nameBox->lineEdit())
    , m_iconGrid(new IconGrid(m_selectedIcon, this)) {
    const Localization& localization = environment.localization;
    setTitle(localization.text(m_folderToEdit ? L10nKey::editorTitleEdit : L10nKey::editorTitleNew));

    QLabel* nameLabel = sectionLabel(localization.text(L10nKey::editorNameLabel), this);
    nameLabel->setBuddy(m_nameField);
    m_nameBox->setPlaceholder(localization.text(L10nKey::editorNamePlaceholderExample));
    m_nameBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_nameBox->setFixedHeight(28);
    m_nameField->setAccessibleName(nameLabel->text());
    m_nameField->setFont(Fonts::rounded(13, QFont::Normal));
    m_nameField->setText(m_folderToEdit ? m_folderToEdit->name : QString());
    FolderNameFilter::attach(*m_nameField);
    m_nameHint = new FolderNameHint(*m_nameField, localization, this);

    QLabel* iconLabel = sectionLabel(localization.text(L10nKey::editorIconLabel), this);
    m_iconGrid->setAccessibleName(iconLabel->text());
    m_iconGrid->setFixedHeight(gridHeight);
    connect(m_iconGrid, &IconGrid::iconClicked, this, [this](const QString& icon) { m_selectedIcon = icon; });

    QVBoxLayout* content = contentLayout();
    content->addWidget(nameLabel);
    content->addWidget(m_nameBox);
    content->addWidget(m_nameHint);
    content->addWidget(iconLabel);
    content->addWidget(m_iconGrid);

    addButton(
        localization.text(L10nKey::cancel), TextButton::Style::Secondary, [this] { cancel(); }, false, true);
    m_saveButton = addButton(
        localization.text(L10nKey::save), TextButton::Style::Prominent, [this] { save(); }, true, false);
    // A blank name cannot be saved, so Save (and Return with it) waits for a name.
    const auto refreshSave = [this] { m_saveButton->setEnabled(!folderName().trimmed().isEmpty()); };
    connect(m_nameField, &QLineEdit::textChanged, this, refreshSave);
    refreshSave();
    setTabOrder(m_nameField, m_iconGrid);
}

QString NewFolderSheet::folderName() const {
    return m_nameField->text();
}

std::optional<AppFolder> NewFolderSheet::savedFolder(const std::optional<AppFolder>& folderToEdit, const QString& name,
                                                     const QString& icon, double now) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (folderToEdit) {
        AppFolder folder = *folderToEdit;
        folder.name = trimmed;
        folder.emoji = icon;
        return folder;
    }
    return AppFolder(QUuid::createUuid(), trimmed, icon, now);
}

void NewFolderSheet::save() {
    // The edit applies to the folder as it is now: apps or Dock state changed elsewhere while the
    // sheet was open are not put back. A folder deleted meanwhile is not brought back.
    std::optional<AppFolder> edited = m_folderToEdit;
    if (edited) {
        const AppFolder* current = m_environment.store.folder(m_folderToEdit->id);
        if (!current) {
            dismiss();
            return;
        }
        edited = *current;
    }
    const double now = Timestamp::fromUnix(m_environment.clock.now());
    const std::optional<AppFolder> folder = savedFolder(edited, folderName(), m_selectedIcon, now);
    if (!folder)
        return;
    if (edited)
        m_environment.store.updateFolder(*folder);
    else
        m_environment.store.addFolder(*folder);
    dismiss();
}

void NewFolderSheet::cancel() {
    dismiss();
}

void NewFolderSheet::dismiss() {
    // The modal layer animates the sheet away when the flag drops; this panel may be gone afterwards.
    FolderStore& store = m_environment.store;
    store.setShowingFolderEditor(false);
    store.setFolderToEdit(std::nullopt);
}

void NewFolderSheet::focusNameField() {
    m_nameField->setFocus(Qt::OtherFocusReason);
}

void NewFolderSheet::showEvent(QShowEvent* event) {
    DialogPanel::showEvent(event);
    if (!event->spontaneous())
        focusNameField();
}
