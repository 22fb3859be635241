#include "DockExtensionRow.h"

#include "MainWindowEnvironment.h"
#include "platform/DockExtension.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/RowNote.h"
#include "widgets/SettingsRow.h"
#include "widgets/SettingsSection.h"
#include "widgets/TextButton.h"
#include "widgets/TextLabel.h"

#include <QHBoxLayout>
#include <QLabel>

DockExtensionRow::DockExtensionRow(SettingsSection* section, const MainWindowEnvironment& environment, QObject* parent)
    : QObject(parent)
    , m_environment(environment)
    , m_section(section)
    , m_install(new TextButton(TextButton::Style::Secondary, {}))
    , m_state(new TextLabel({.points = 12.5, .role = QPalette::PlaceholderText}))
    , m_note(new RowNote) {
    auto* trailing = new QWidget;
    auto* layout = new QHBoxLayout(trailing);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_state);
    layout->addWidget(m_install);
    m_row = section->addRow({}, trailing);
    m_row->addDetail(m_note);
    connect(m_install, &TextButton::clicked, this, &DockExtensionRow::install);
    refresh();
}

void DockExtensionRow::refresh() {
    DockExtension* extension = m_environment.dockExtension ? m_environment.dockExtension() : nullptr;
    m_section->setVisible(extension != nullptr);
    if (!extension)
        return;
    const Localization& localization = m_environment.localization;
    const DockExtension::State state = extension->state();
    const bool installable = state == DockExtension::State::NotInstalled || state == DockExtension::State::Outdated;
    m_row->setTitle(localization.text(L10nKey::shellExtension));
    m_row->setSubtitle(localization.text(L10nKey::shellExtensionSubtitle));
    m_install->setText(localization.text(state == DockExtension::State::Outdated ? L10nKey::shellExtensionUpdate
                                                                                 : L10nKey::shellExtensionInstall));
    m_install->setVisible(installable);
    m_state->setText(state == DockExtension::State::Active    ? localization.text(L10nKey::shellExtensionActive)
                     : state == DockExtension::State::Refused ? localization.text(L10nKey::shellExtensionRefused)
                     : installable                            ? QString()
                                                              : localization.text(L10nKey::shellExtensionInstalled));
    m_state->setVisible(!installable);
    QString note;
    RowNote::Tone tone = RowNote::Tone::Info;
    if (!m_failure.isEmpty()) {
        note = localization.format(L10nKey::shellExtensionFailed, {m_failure});
        tone = RowNote::Tone::Warning;
    } else if (state == DockExtension::State::Installed) {
        note = localization.text(L10nKey::shellExtensionNextLogin);
    } else if (state == DockExtension::State::Refused) {
        note = localization.text(L10nKey::shellExtensionRefusedNote);
        tone = RowNote::Tone::Warning;
    }
    m_note->setNote(note, tone);
    // The button is heard by its own text: what it installs, and what the note says, follow it.
    const QString about = m_row->title() + QStringLiteral(". ") + m_row->subtitle();
    m_install->setAccessibleDescription(note.isEmpty() ? about : about + QStringLiteral(". ") + note);
    m_state->setAccessibleName(m_row->title() + QStringLiteral(": ") + m_state->text());
    m_state->setAccessibleDescription(note);
}

void DockExtensionRow::install() {
    DockExtension* extension = m_environment.dockExtension ? m_environment.dockExtension() : nullptr;
    if (!extension)
        return;
    m_failure = extension->install().value_or(QString());
    refresh();
}
