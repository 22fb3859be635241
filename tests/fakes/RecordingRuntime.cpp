#include "RecordingRuntime.h"

#include "model/FolderID.h"

void RecordingRuntime::presentFolderTile(const AppFolder& folder) {
    record(QStringLiteral("presentFolderTile ") + FolderID::canonical(folder.id));
}

void RecordingRuntime::showBadge(const QString& text, SystemColor color, double seconds) {
    const QString colorName = color == SystemColor::Green ? QStringLiteral("green")
                              : color == SystemColor::Red ? QStringLiteral("red")
                                                          : QStringLiteral("other");
    record(QStringLiteral("showBadge %1 %2 %3").arg(text, colorName).arg(seconds));
}

void RecordingRuntime::presentPopup(const AppFolder& folder) {
    record(QStringLiteral("presentPopup ") + FolderID::canonical(folder.id));
}

void RecordingRuntime::showPopupWithoutClick(const AppFolder& folder) {
    record(QStringLiteral("showPopupWithoutClick ") + FolderID::canonical(folder.id));
}

void RecordingRuntime::setPopupAppearance(AppThemeMode appearance) {
    record(QStringLiteral("setPopupAppearance ") + rawValue(appearance));
}

void RecordingRuntime::handleClosePopupsNotification(const Notification& n) {
    record(QStringLiteral("handleClosePopups ") + n.object.toString());
}

void RecordingRuntime::handleDockTilePinStateChanged(const Notification& n) {
    record(QStringLiteral("handleDockTilePinStateChanged ") + n.userInfo.value("folderID").toString());
}

void RecordingRuntime::showMainWindow(NavigationPage page) {
    record(page == NavigationPage::AllFolders ? QStringLiteral("showMainWindow allFolders")
                                              : QStringLiteral("showMainWindow general"));
}

void RecordingRuntime::setActivationPolicy(ActivationPolicy newPolicy) {
    policy = newPolicy;
    record(newPolicy == ActivationPolicy::Regular ? QStringLiteral("activationPolicy regular")
                                                  : QStringLiteral("activationPolicy accessory"));
}

void RecordingRuntime::orderFrontIfVisible(WindowId window) {
    record(QStringLiteral("orderFrontIfVisible %1").arg(window));
}
