#include "GeneralSettingsView.h"

#include "DockExtensionRow.h"
#include "FolderTransferActions.h"
#include "LaunchAtLoginNote.h"
#include "MainWindowEnvironment.h"
#include "discovery/FolderExchange.h"
#include "platform/Scheduler.h"
#include "platform/SystemTray.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/RowNote.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/SettingsPageBody.h"
#include "widgets/SettingsRow.h"
#include "widgets/SettingsSection.h"
#include "widgets/TextButton.h"
#include "widgets/ToggleSwitch.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr double pickerWidth = 216;
constexpr double themePickerWidth = 270;
// Five docks by their full names do not fit beside a title: the dock picker spans its row under it.
constexpr double dockPickerMinimumWidth = 400;
constexpr AppLanguage languages[] = {AppLanguage::English, AppLanguage::Ukrainian};

int languageIndex(AppLanguage language) {
    return language == AppLanguage::Ukrainian ? 1 : 0;
}

int dockIndex(DockHostChoice choice) {
    return int(std::find(kDockHostChoices.begin(), kDockHostChoices.end(), choice) - kDockHostChoices.begin());
}

// The docks go by their own names in every language; only the automatic choice is words.
QString dockLabel(DockHostChoice choice, const Localization& localization) {
    if (choice == DockHostChoice::Automatic)
        return localization.text(L10nKey::dockAutomatic);
    return DockHostIds::displayName(rawValue(choice));
}

} // namespace

GeneralSettingsView::GeneralSettingsView(const MainWindowEnvironment& environment, QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_launchAtLogin(new ToggleSwitch)
    , m_showMenuBar(new ToggleSwitch)
    // Each language is listed under its own name, whatever the interface language.
    , m_language(new SegmentedPicker(
          {Localization::languageDisplayName(languages[0]), Localization::languageDisplayName(languages[1])},
          pickerWidth))
    , m_theme(new SegmentedPicker(QStringList(qsizetype(kAppThemeModes.size()), QString()), themePickerWidth))
    , m_dock(new SegmentedPicker(QStringList(qsizetype(kDockHostChoices.size()), QString()), dockPickerMinimumWidth)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(SettingsPageBody::pageMargins);
    auto* body = new SettingsPageBody(18, this);
    layout->addWidget(body);
    connect(body, &SettingsPageBody::heightChanged, this, &GeneralSettingsView::heightChanged);

    SettingsSection* section = body->addSection({});
    m_launchAtLoginRow = section->addRow({}, m_launchAtLogin);
    m_showMenuBarRow = section->addRow({}, m_showMenuBar);
    m_languageRow = section->addRow({}, m_language);
    m_themeRow = section->addRow({}, m_theme);
    m_dockRow = section->addRow({}, nullptr);
    m_dock->setMaximumWidth(QWIDGETSIZE_MAX);
    m_dock->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* dockLine = new QWidget;
    auto* dockLayout = new QVBoxLayout(dockLine);
    dockLayout->setContentsMargins(0, 6, 0, 2);
    dockLayout->addWidget(m_dock);
    m_dockRow->addDetail(dockLine);
    m_dockExtension = new DockExtensionRow(body->addSection({}), environment, this);
    buildFolderRows(body->addSection({}));
    m_launchAtLoginNote = new RowNote;
    m_launchAtLoginRow->addDetail(m_launchAtLoginNote);
    m_showMenuBarNote = new RowNote;
    m_showMenuBarRow->addDetail(m_showMenuBarNote);

    AppSettings& settings = environment.settings;
    m_launchAtLogin->setChecked(settings.launchAtLogin());
    m_showMenuBar->setChecked(settings.showMenuBar());
    m_language->setSelection(languageIndex(settings.language()));
    m_theme->setSelection(themeChoiceIndex(settings.appTheme()));
    m_dock->setSelection(dockIndex(settings.dockHost()));
    connect(m_launchAtLogin, &ToggleSwitch::clicked, this, [&settings](bool on) { settings.setLaunchAtLogin(on); });
    connect(m_showMenuBar, &ToggleSwitch::clicked, this, [&settings](bool on) { settings.setShowMenuBar(on); });
    connect(m_language, &SegmentedPicker::selectionChanged, this,
            [&settings](int index) { settings.setLanguage(languages[index]); });
    connect(m_theme, &SegmentedPicker::selectionChanged, this,
            [&settings](int index) { settings.setAppTheme(kAppThemeModes.at(std::size_t(index))); });
    connect(m_dock, &SegmentedPicker::selectionChanged, this,
            [&settings](int index) { settings.setDockHost(kDockHostChoices.at(std::size_t(index))); });
    connect(&settings, &AppSettings::changed, this, &GeneralSettingsView::settingChanged);
    connect(&settings, &AppSettings::launchAtLoginFailureChanged, this, &GeneralSettingsView::updateNotes);
    connect(&environment.systemTray, &SystemTray::availabilityChanged, this, &GeneralSettingsView::updateNotes);
    retranslate();
}

void GeneralSettingsView::buildFolderRows(SettingsSection* section) {
    m_export = new TextButton(TextButton::Style::Secondary, QString());
    m_import = new TextButton(TextButton::Style::Secondary, QString());
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    // Under the title rather than beside it: two buttons and a title do not fit a row in every language.
    row->setContentsMargins(0, 6, 0, 2);
    row->setSpacing(8);
    row->addWidget(m_export);
    row->addWidget(m_import);
    row->addStretch(1);
    m_foldersRow = section->addRow({}, nullptr);
    m_foldersRow->addDetail(buttons);
    m_importDesktop = new TextButton(TextButton::Style::Secondary, QString());
    m_desktopFoldersRow = section->addRow({}, m_importDesktop);
    const auto report = [this](const QString& title, const QString& message) { Q_EMIT newsReported(title, message); };
    connect(m_export, &QAbstractButton::clicked, this,
            [this, report] { FolderTransferActions::exportFolders(m_environment, window(), report); });
    connect(m_import, &QAbstractButton::clicked, this,
            [this, report] { FolderTransferActions::importFolders(m_environment, window(), report); });
    connect(m_importDesktop, &QAbstractButton::clicked, this,
            [this, report] { FolderTransferActions::importDesktopAppFolders(m_environment, report); });
    setTabOrder(m_export, m_import);
    setTabOrder(m_import, m_importDesktop);
}

void GeneralSettingsView::updateNotes() {
    const Localization& localization = m_environment.localization;
    const QString launchNote = LaunchAtLoginNote::text(m_environment.settings.launchAtLoginFailure(), localization);
    const QString trayNote =
        m_environment.systemTray.isAvailable() ? QString() : localization.text(L10nKey::showMenuBarNoTray);
    m_launchAtLoginNote->setNote(launchNote, RowNote::Tone::Warning);
    m_showMenuBarNote->setNote(trayNote, RowNote::Tone::Info);
    // A switch is heard together with what its note says.
    m_launchAtLogin->setAccessibleDescription(launchNote);
    m_showMenuBar->setAccessibleDescription(trayNote);
}

void GeneralSettingsView::settingChanged(AppSettings::Field field) {
    const AppSettings& settings = m_environment.settings;
    switch (field) {
    case AppSettings::Field::LaunchAtLogin:
        m_launchAtLogin->setChecked(settings.launchAtLogin());
        break;
    case AppSettings::Field::ShowMenuBar:
        m_showMenuBar->setChecked(settings.showMenuBar());
        break;
    case AppSettings::Field::Language:
        m_language->setSelection(languageIndex(settings.language()));
        retranslate();
        break;
    case AppSettings::Field::AppTheme:
        m_theme->setSelection(themeChoiceIndex(settings.appTheme()));
        break;
    case AppSettings::Field::DockHost:
        m_dock->setSelection(dockIndex(settings.dockHost()));
        // The application moves to the chosen dock on the change's notice, which comes after this
        // signal: the dock in use is asked for once that has run.
        m_environment.scheduler.schedule(this, 0, [this] { refreshActiveDock(); });
        break;
    default:
        break;
    }
}

void GeneralSettingsView::retranslate() {
    const Localization& localization = m_environment.localization;
    m_launchAtLoginRow->setTitle(localization.text(L10nKey::launchAtLogin));
    m_launchAtLoginRow->setSubtitle(localization.text(L10nKey::launchAtLoginSubtitle));
    m_showMenuBarRow->setTitle(localization.text(L10nKey::showMenuBar));
    m_showMenuBarRow->setSubtitle(localization.text(L10nKey::showMenuBarSubtitle));
    m_languageRow->setTitle(localization.text(L10nKey::language));
    m_themeRow->setTitle(localization.text(L10nKey::theme));
    QStringList themes;
    for (const AppThemeMode choice : kAppThemeModes)
        themes.append(localization.text(L10nKey::displayNameKey(choice)));
    m_theme->setLabels(themes);
    m_dockRow->setTitle(localization.text(L10nKey::dock));
    QStringList docks;
    for (const DockHostChoice choice : kDockHostChoices)
        docks.append(dockLabel(choice, localization));
    m_dock->setLabels(docks);
    m_foldersRow->setTitle(localization.text(L10nKey::foldersGeneralTitle));
    m_foldersRow->setSubtitle(localization.text(L10nKey::foldersGeneralSubtitle));
    m_export->setText(localization.text(L10nKey::foldersExport));
    m_export->setAccessibleName(m_export->text());
    m_import->setText(localization.text(L10nKey::foldersImport));
    m_import->setAccessibleName(m_import->text());
    m_desktopFoldersRow->setTitle(localization.text(L10nKey::foldersDesktopTitle));
    m_desktopFoldersRow->setSubtitle(localization.text(L10nKey::foldersDesktopSubtitle));
    m_importDesktop->setText(localization.text(L10nKey::foldersDesktopImport));
    m_importDesktop->setAccessibleName(localization.text(L10nKey::foldersImportDesktop));
    refreshActiveDock();
    updateNotes();
}

void GeneralSettingsView::refreshActiveDock() {
    const QString name = m_environment.activeDockName ? m_environment.activeDockName() : QString();
    const QString line = name.isEmpty() ? QString() : m_environment.localization.format(L10nKey::dockInUse, {name});
    m_dockRow->setSubtitle(line);
    // The picker is heard with the dock in use, as its row shows them together.
    m_dock->setAccessibleName(line.isEmpty() ? m_dockRow->title() : m_dockRow->title() + QStringLiteral(". ") + line);
    m_dockExtension->refresh();
}

void GeneralSettingsView::showEvent(QShowEvent* event) {
    refreshActiveDock();
    // The desktop is asked each time the page shows: its folders may have come meanwhile.
    m_desktopFoldersRow->setVisible(m_environment.exchange.hasDesktopAppFolders());
    QWidget::showEvent(event);
}
