#include "AppSettings.h"

#include "SettingFields.h"
#include "model/FolderCodec.h"
#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/DesktopColorScheme.h"
#include "platform/DistributedNotifications.h"
#include "platform/FileSystem.h"
#include "platform/LifetimeBound.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/LoginItem.h"
#include "platform/PropertyList.h"
#include "platform/Throttle.h"
#include "platform/UserDefaults.h"
#include "platform/VariantKinds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {

// A number stored as a bool or any numeric type; none for everything else.
std::optional<bool> numberTruth(const QVariant& value) {
    if (!VariantKinds::isNumber(value.typeId()))
        return std::nullopt;
    return value.toDouble() != 0;
}

} // namespace

AppSettings::AppSettings(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services)) {
    // Creation only reads: no change action runs, so nothing is written or posted.
    m_values.reserve(settingFields().size());
    for (const SettingField& field : settingFields()) {
        if (!field.key)
            m_values.push_back(field.defaultValue);
        else if (field.onboardingSources)
            m_values.push_back(readOnboardingFlag());
        else
            m_values.push_back(readStored(field.field));
    }
    m_writes.resize(settingFields().size());
    for (const SettingField& field : settingFields()) {
        if (field.key && std::holds_alternative<double>(field.defaultValue))
            m_writes[std::size_t(field.field)] = std::make_unique<Throttle>(
                m_services.scheduler, writeInterval, [this, f = field.field] { runChangeAction(f); });
    }
    if (m_services.desktopColorScheme)
        m_services.desktopColorScheme->observe(boundTo(this, [this] {
            if (appTheme() == AppThemeMode::System)
                Q_EMIT changed(Field::AppTheme);
        }));
}

AppSettings::~AppSettings() {
    // Quitting in the middle of a drag still keeps where the slider was let go.
    for (const SettingField& field : settingFields()) {
        if (isWriteWaiting(field.field))
            m_services.defaults.setObject(QLatin1String(field.key), toStored(m_values[std::size_t(field.field)]));
    }
}

bool AppSettings::isWriteWaiting(Field field) const {
    const std::unique_ptr<Throttle>& writes = m_writes[std::size_t(field)];
    return writes && writes->isPending();
}

AppSettings::Value AppSettings::readStored(Field field) const {
    if (field == Field::LaunchAtLogin)
        return m_services.loginItem.isRegistered();
    const SettingField& row = settingField(field);
    return row.read(m_services.defaults.object(QLatin1String(row.key)));
}

QString AppSettings::key(Field field) {
    return QString::fromLatin1(settingField(field).key);
}

bool AppSettings::reloadFromDefaults() {
    assign(Field::IsUpdating, true);
    bool changedAny = false;
    for (const SettingField& field : settingFields()) {
        if (field.key && !field.onboardingSources && !isWriteWaiting(field.field))
            changedAny |= assign(field.field, readStored(field.field));
    }
    assign(Field::IsUpdating, false);
    return changedAny;
}

namespace {

// A stored NaN is unequal to itself, yet it is the same value when read again: compared plainly it
// would be announced as a change at every reload.
bool sameValue(const AppSettings::Value& a, const AppSettings::Value& b) {
    const double* x = std::get_if<double>(&a);
    const double* y = std::get_if<double>(&b);
    if (x && y && std::isnan(*x) && std::isnan(*y))
        return true;
    return a == b;
}

} // namespace

bool AppSettings::assign(Field field, Value value) {
    Value& held = m_values[std::size_t(field)];
    Q_ASSERT(held.index() == value.index());
    const bool differs = !sameValue(held, value);
    held = std::move(value);
    if (differs)
        Q_EMIT changed(field);
    if (isUpdating())
        return differs;
    if (const std::unique_ptr<Throttle>& writes = m_writes[std::size_t(field)])
        writes->request();
    else
        runChangeAction(field);
    return differs;
}

void AppSettings::runChangeAction(Field field) {
    const SettingField& row = settingField(field);
    if (!row.key)
        return;
    UserDefaults& defaults = m_services.defaults;
    const Value value = m_values[std::size_t(field)];
    const Value inRange = row.clamped(value);
    defaults.setObject(QLatin1String(row.key), toStored(inRange));
    if (!sameValue(inRange, value)) {
        assign(field, inRange); // runs this action again, which then announces the value
        return;
    }
    switch (row.extra) {
    case SettingField::Extra::None:
        break;
    case SettingField::Extra::UpdateLoginItem:
        updateLaunchAtLogin();
        break;
    case SettingField::Extra::MirrorAppleLanguages:
        defaults.setObject(QStringLiteral("AppleLanguages"), QVariantList{toStored(value)});
        break;
    case SettingField::Extra::MirrorToContainer:
        writeOnboardingFlagToContainer(std::get<bool>(value));
        break;
    }
    if (!row.notice.isEmpty())
        m_services.notifications.post(row.notice);
    if (!row.broadcast.isEmpty())
        m_services.distributedNotifications.post(row.broadcast);
}

AppThemeMode AppSettings::resolvedTheme() const {
    const AppThemeMode theme = appTheme();
    if (theme != AppThemeMode::System)
        return theme;
    // A desktop that states no preference (or none to ask) gets the light look, as such desktops do.
    const DesktopColorScheme* desktop = m_services.desktopColorScheme;
    return desktop && desktop->appearance() == DesktopAppearance::Dark ? AppThemeMode::Dark : AppThemeMode::Light;
}

void AppSettings::updateLaunchAtLogin() {
    LoginItem& item = m_services.loginItem;
    std::optional<LoginItemFailure> failure = launchAtLogin() ? item.registerMainApp() : item.unregisterMainApp();
    const bool failureChanged = failure != m_launchAtLoginFailure;
    m_launchAtLoginFailure = std::move(failure);
    if (m_launchAtLoginFailure) {
        Console::printLine(QStringLiteral("Failed to update launch at login: ") + m_launchAtLoginFailure->description);
        // Keeping the asked-for value would show a switch that is on while nothing starts at login.
        const bool registered = item.isRegistered();
        Value& held = m_values[std::size_t(Field::LaunchAtLogin)];
        if (std::get<bool>(held) != registered) {
            held = registered;
            m_services.defaults.setObject(key(Field::LaunchAtLogin), registered);
            Q_EMIT changed(Field::LaunchAtLogin);
        }
    }
    if (failureChanged)
        Q_EMIT launchAtLoginFailureChanged();
}

QString AppSettings::ordinaryPreferencesPath() const {
    const QString& id = m_services.bundleIdentifier;
    return QDir(m_services.homeDirectory).filePath(QStringLiteral("Library/Preferences/") + id + ".plist");
}

QString AppSettings::containerPreferencesPath() const {
    const QString& id = m_services.bundleIdentifier;
    return QDir(m_services.homeDirectory)
        .filePath(QStringLiteral("Library/Containers/") + id + QStringLiteral("/Data/Library/Preferences/") + id +
                  QStringLiteral(".plist"));
}

std::optional<OnboardingFlagSnapshot> AppSettings::readOnboardingSnapshot(const QString& path) {
    const auto document = PropertyList::readFile(path);
    if (!document || document->root.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const std::optional<bool> value = numberTruth(document->root.toMap().value(key(Field::HasCompletedOnboarding)));
    if (!value)
        return std::nullopt;
    const QDateTime modified = QFileInfo(path).lastModified();
    return OnboardingFlagSnapshot{*value,
                                  modified.isValid() ? modified.toMSecsSinceEpoch() / 1000.0 : Clock::distantPast};
}

bool AppSettings::readOnboardingFlag() const {
    const QString flagKey = key(Field::HasCompletedOnboarding);
    if (!m_services.bundleIdentifier.isEmpty()) {
        std::optional<OnboardingFlagSnapshot> newest;
        for (const QString& path : {ordinaryPreferencesPath(), containerPreferencesPath()}) {
            const auto snapshot = readOnboardingSnapshot(path);
            // Equal dates keep the earlier file.
            if (snapshot && (!newest || newest->modifiedAt < snapshot->modifiedAt))
                newest = snapshot;
        }
        if (newest)
            return newest->value;
    }
    if (m_services.defaults.hasObject(flagKey))
        return m_services.defaults.boolForKey(flagKey);
    if (!m_services.bundleIdentifier.isEmpty()) {
        if (const auto domain = m_services.defaults.persistentDomain(m_services.bundleIdentifier)) {
            if (const std::optional<bool> value = numberTruth(domain->value(flagKey)))
                return *value;
        }
    }
    const std::optional<QByteArray> folders =
        FileSystem::readFile(m_services.foldersFilePath, FileSystem::kDocumentLimit).bytes;
    if (!folders)
        return false;
    const auto decoded = FolderCodec::decode(*folders, 0);
    return decoded && !decoded->isEmpty();
}

void AppSettings::writeOnboardingFlagToContainer(bool value) const {
    if (m_services.bundleIdentifier.isEmpty())
        return;
    const QString path = containerPreferencesPath();
    QVariantMap dictionary;
    if (const auto document = PropertyList::readFile(path);
        document && document->root.typeId() == QMetaType::QVariantMap)
        dictionary = document->root.toMap();
    dictionary.insert(key(Field::HasCompletedOnboarding), value);
    QDir().mkpath(QFileInfo(path).path());
    PropertyList::writeFileAtomically(path, dictionary, PropertyList::Format::Xml);
}
