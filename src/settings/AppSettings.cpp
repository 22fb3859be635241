#include "AppSettings.h"

#include "model/FolderCodec.h"
#include "platform/Console.h"
#include "platform/DistributedNotifications.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/LoginItem.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "platform/VariantKinds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QPointer>

#include <algorithm>
#include <limits>

namespace {

QPointer<AppSettings>& sharedSettings() {
    static QPointer<AppSettings> settings;
    return settings;
}

const QString kOnboardingKey = QStringLiteral("hasCompletedOnboarding");
constexpr double kDistantPast = -std::numeric_limits<double>::max();

qint64 clampColumns(qint64 columns) {
    return std::clamp<qint64>(columns, 3, 6);
}

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
    m_isUpdating = true; // creation runs no change action
    readStoredFields(true);
    m_isUpdating = false;
}

AppSettings* AppSettings::shared() {
    return sharedSettings();
}

void AppSettings::setShared(AppSettings* settings) {
    sharedSettings() = settings;
}

QString AppSettings::key(Field field) {
    // The key is the field's name with a lower-case first letter.
    QString name = QString::fromLatin1(QMetaEnum::fromType<Field>().valueToKey(int(field)));
    name[0] = name[0].toLower();
    return name;
}

void AppSettings::readStoredFields(bool includingOnboarding) {
    const UserDefaults& d = m_services.defaults;
    const auto has = [&](Field f) { return d.hasObject(key(f)); };
    const auto readBool = [&](Field f, bool fallback) { return has(f) ? d.boolForKey(key(f)) : fallback; };
    const auto readDouble = [&](Field f, double fallback) { return has(f) ? d.doubleForKey(key(f)) : fallback; };
    const auto readString = [&](Field f) { return d.stringForKey(key(f)).value_or(QString()); };
    const auto readEnum = [&](Field f, const auto& cases, auto fallback) {
        return caseIn(cases, readString(f)).value_or(fallback);
    };

    setLaunchAtLogin(readBool(Field::LaunchAtLogin, false));
    setLanguage(readString(Field::Language) == QStringLiteral("uk") ? AppLanguage::Ukrainian : AppLanguage::English);
    setShowMenuBar(readBool(Field::ShowMenuBar, false));
    setAppTheme(readString(Field::AppTheme) == QStringLiteral("light") ? AppThemeMode::Light : AppThemeMode::Dark);
    if (includingOnboarding)
        setHasCompletedOnboarding(readOnboardingFlag());
    setTileOpacity(readDouble(Field::TileOpacity, 1.0));
    setTileCornerRadius(readDouble(Field::TileCornerRadius, 12.0));
    setTileBackgroundStyle(readEnum(Field::TileBackgroundStyle, kTileBackgroundCases, TileBackground::Frosted));
    setTileBackgroundMode(readEnum(Field::TileBackgroundMode, kTileBackgroundModeCases, TileBackgroundMode::Solid));
    setTileBorderEnabled(readBool(Field::TileBorderEnabled, true));
    setTileBorderWidth(readDouble(Field::TileBorderWidth, 1.0));
    setTileBorderOpacity(readDouble(Field::TileBorderOpacity, 0.3));
    setTileIconPadding(readDouble(Field::TileIconPadding, 4.0));
    setPopupShowTitle(readBool(Field::PopupShowTitle, true));
    setPopupColumns(clampColumns(has(Field::PopupColumns) ? d.integerForKey(key(Field::PopupColumns)) : 3));
    setPopupIconSize(readDouble(Field::PopupIconSize, 52.0));
    setPopupShowAppName(readBool(Field::PopupShowAppName, true));
    setPopupPosition(readString(Field::PopupPosition) == QStringLiteral("center") ? PopupPosition::Center
                                                                                  : PopupPosition::AboveDock);
    setPopupBlurStyle(readEnum(Field::PopupBlurStyle, kPopupBlurCases, PopupBlur::Thin));
    setPopupOpacity(readDouble(Field::PopupOpacity, 0.95));
    setPopupAnimationStyle(readString(Field::PopupAnimationStyle) == QStringLiteral("none") ? PopupAnimation::None
                                                                                            : PopupAnimation::Spring);
    setSingleClickOpensPopup(readBool(Field::SingleClickOpensPopup, true));
}

void AppSettings::reloadFromDefaults() {
    m_isUpdating = true;
    Q_EMIT changed(Field::IsUpdating);
    readStoredFields(false);
    m_isUpdating = false;
    Q_EMIT changed(Field::IsUpdating);
}

template <typename T> void AppSettings::assign(T& member, const T& value, Field field) {
    const bool differs = !(member == value);
    member = value;
    if (differs)
        Q_EMIT changed(field);
    if (!m_isUpdating)
        runChangeAction(field);
}

void AppSettings::write(Field field, const QVariant& value) {
    m_services.defaults.setObject(key(field), value);
}

void AppSettings::post(const char* name) {
    m_services.notifications.post(QLatin1String(name));
}

void AppSettings::runChangeAction(Field field) {
    switch (field) {
    case Field::IsUpdating:
    case Field::PopupArrowOffset:
        return;
    case Field::LaunchAtLogin:
        write(field, m_launchAtLogin);
        updateLaunchAtLogin();
        return;
    case Field::Language:
        write(field, rawValue(m_language));
        m_services.defaults.setObject(QStringLiteral("AppleLanguages"), QVariantList{rawValue(m_language)});
        post("languageChanged");
        return;
    case Field::ShowMenuBar:
        write(field, m_showMenuBar);
        post("showMenuBarChanged");
        return;
    case Field::AppTheme:
        write(field, rawValue(m_appTheme));
        post("themeChanged");
        m_services.distributedNotifications.post(QStringLiteral("TRThemeChanged"));
        return;
    case Field::HasCompletedOnboarding:
        write(field, m_hasCompletedOnboarding);
        writeOnboardingFlagToContainer(m_hasCompletedOnboarding);
        return;
    case Field::TileOpacity:
        write(field, m_tileOpacity);
        break;
    case Field::TileCornerRadius:
        write(field, m_tileCornerRadius);
        break;
    case Field::TileBackgroundStyle:
        write(field, rawValue(m_tileBackgroundStyle));
        break;
    case Field::TileBackgroundMode:
        write(field, rawValue(m_tileBackgroundMode));
        break;
    case Field::TileBorderEnabled:
        write(field, m_tileBorderEnabled);
        break;
    case Field::TileBorderWidth:
        write(field, m_tileBorderWidth);
        break;
    case Field::TileBorderOpacity:
        write(field, m_tileBorderOpacity);
        break;
    case Field::TileIconPadding:
        write(field, m_tileIconPadding);
        break;
    case Field::PopupColumns: {
        const qint64 clamped = clampColumns(m_popupColumns);
        write(field, clamped);
        if (clamped != m_popupColumns)
            setPopupColumns(clamped); // runs this action again, which then posts
        else
            post("popupSettingsChanged");
        return;
    }
    case Field::PopupShowTitle:
        write(field, m_popupShowTitle);
        post("popupSettingsChanged");
        return;
    case Field::PopupIconSize:
        write(field, m_popupIconSize);
        post("popupSettingsChanged");
        return;
    case Field::PopupShowAppName:
        write(field, m_popupShowAppName);
        post("popupSettingsChanged");
        return;
    case Field::PopupPosition:
        write(field, rawValue(m_popupPosition));
        post("popupSettingsChanged");
        return;
    case Field::PopupBlurStyle:
        write(field, rawValue(m_popupBlurStyle));
        post("popupSettingsChanged");
        return;
    case Field::PopupOpacity:
        write(field, m_popupOpacity);
        post("popupSettingsChanged");
        return;
    case Field::PopupAnimationStyle:
        write(field, rawValue(m_popupAnimationStyle));
        post("popupSettingsChanged");
        return;
    case Field::SingleClickOpensPopup:
        write(field, m_singleClickOpensPopup);
        return;
    }
    // The tile fields fall through to here.
    post("tileAppearanceChanged");
}

void AppSettings::setLaunchAtLogin(bool value) {
    assign(m_launchAtLogin, value, Field::LaunchAtLogin);
}
void AppSettings::setLanguage(AppLanguage value) {
    assign(m_language, value, Field::Language);
}
void AppSettings::setShowMenuBar(bool value) {
    assign(m_showMenuBar, value, Field::ShowMenuBar);
}
void AppSettings::setAppTheme(AppThemeMode value) {
    assign(m_appTheme, value, Field::AppTheme);
}
void AppSettings::setHasCompletedOnboarding(bool value) {
    assign(m_hasCompletedOnboarding, value, Field::HasCompletedOnboarding);
}
void AppSettings::setTileOpacity(double value) {
    assign(m_tileOpacity, value, Field::TileOpacity);
}
void AppSettings::setTileCornerRadius(double value) {
    assign(m_tileCornerRadius, value, Field::TileCornerRadius);
}
void AppSettings::setTileBackgroundStyle(TileBackground value) {
    assign(m_tileBackgroundStyle, value, Field::TileBackgroundStyle);
}
void AppSettings::setTileBackgroundMode(TileBackgroundMode value) {
    assign(m_tileBackgroundMode, value, Field::TileBackgroundMode);
}
void AppSettings::setTileBorderEnabled(bool value) {
    assign(m_tileBorderEnabled, value, Field::TileBorderEnabled);
}
void AppSettings::setTileBorderWidth(double value) {
    assign(m_tileBorderWidth, value, Field::TileBorderWidth);
}
void AppSettings::setTileBorderOpacity(double value) {
    assign(m_tileBorderOpacity, value, Field::TileBorderOpacity);
}
void AppSettings::setTileIconPadding(double value) {
    assign(m_tileIconPadding, value, Field::TileIconPadding);
}
void AppSettings::setPopupShowTitle(bool value) {
    assign(m_popupShowTitle, value, Field::PopupShowTitle);
}
void AppSettings::setPopupColumns(qint64 value) {
    assign(m_popupColumns, value, Field::PopupColumns);
}
void AppSettings::setPopupIconSize(double value) {
    assign(m_popupIconSize, value, Field::PopupIconSize);
}
void AppSettings::setPopupShowAppName(bool value) {
    assign(m_popupShowAppName, value, Field::PopupShowAppName);
}
void AppSettings::setPopupPosition(PopupPosition value) {
    assign(m_popupPosition, value, Field::PopupPosition);
}
void AppSettings::setPopupBlurStyle(PopupBlur value) {
    assign(m_popupBlurStyle, value, Field::PopupBlurStyle);
}
void AppSettings::setPopupOpacity(double value) {
    assign(m_popupOpacity, value, Field::PopupOpacity);
}
void AppSettings::setPopupAnimationStyle(PopupAnimation value) {
    assign(m_popupAnimationStyle, value, Field::PopupAnimationStyle);
}
void AppSettings::setSingleClickOpensPopup(bool value) {
    assign(m_singleClickOpensPopup, value, Field::SingleClickOpensPopup);
}
void AppSettings::setPopupArrowOffset(double value) {
    assign(m_popupArrowOffset, value, Field::PopupArrowOffset);
}

void AppSettings::updateLaunchAtLogin() {
    QString error;
    const bool done =
        m_launchAtLogin ? m_services.loginItem.registerMainApp(&error) : m_services.loginItem.unregisterMainApp(&error);
    if (!done)
        Console::printLine(QStringLiteral("Failed to update launch at login: ") + error);
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
    const std::optional<bool> value = numberTruth(document->root.toMap().value(kOnboardingKey));
    if (!value)
        return std::nullopt;
    const QDateTime modified = QFileInfo(path).lastModified();
    return OnboardingFlagSnapshot{*value, modified.isValid() ? modified.toMSecsSinceEpoch() / 1000.0 : kDistantPast};
}

bool AppSettings::readOnboardingFlag() const {
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
    if (m_services.defaults.hasObject(kOnboardingKey))
        return m_services.defaults.boolForKey(kOnboardingKey);
    if (!m_services.bundleIdentifier.isEmpty()) {
        if (const auto domain = m_services.defaults.persistentDomain(m_services.bundleIdentifier)) {
            if (const std::optional<bool> value = numberTruth(domain->value(kOnboardingKey)))
                return *value;
        }
    }
    QFile folders(m_services.foldersFilePath);
    if (!folders.open(QIODevice::ReadOnly))
        return false;
    const auto decoded = FolderCodec::decode(folders.readAll(), 0);
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
    dictionary.insert(kOnboardingKey, value);
    QDir().mkpath(QFileInfo(path).path());
    PropertyList::writeFileAtomically(path, dictionary, PropertyList::Format::Xml);
}
