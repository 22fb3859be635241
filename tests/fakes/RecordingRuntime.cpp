#include "RecordingRuntime.h"

#include "model/FolderID.h"

void RecordingRuntime::syncHelpers(const QList<AppFolder>& folders) {
    calls.append(QStringLiteral("syncHelpers %1").arg(folders.size()));
}

void RecordingRuntime::presentFolderTile(const AppFolder& folder) {
    calls.append(QStringLiteral("presentFolderTile ") + FolderID::canonical(folder.id));
}

void RecordingRuntime::showBadge(const QString& text, SystemColor color, double seconds) {
    const QString colorName = color == SystemColor::Green ? QStringLiteral("green")
                              : color == SystemColor::Red ? QStringLiteral("red")
                                                          : QStringLiteral("other");
    calls.append(QStringLiteral("showBadge %1 %2 %3").arg(text, colorName).arg(seconds));
}

void RecordingRuntime::presentPopup(const AppFolder& folder) {
    calls.append(QStringLiteral("presentPopup ") + FolderID::canonical(folder.id));
}

void RecordingRuntime::setPopupAppearance(AppThemeMode appearance) {
    calls.append(QStringLiteral("setPopupAppearance ") + rawValue(appearance));
}

void RecordingRuntime::handleClosePopupsNotification(const Notification& n) {
    calls.append(QStringLiteral("handleClosePopups ") + n.object.toString());
}

void RecordingRuntime::handleDockTilePinStateChanged(const Notification& n) {
    calls.append(QStringLiteral("handleDockTilePinStateChanged ") + n.userInfo.value("folderID").toString());
}

void RecordingRuntime::showMainWindow(MainWindowPage page) {
    calls.append(page == MainWindowPage::AllFolders ? QStringLiteral("showMainWindow allFolders")
                                                    : QStringLiteral("showMainWindow general"));
}

void RecordingRuntime::setActivationPolicy(ActivationPolicy newPolicy) {
    policy = newPolicy;
    calls.append(newPolicy == ActivationPolicy::Regular ? QStringLiteral("activationPolicy regular")
                                                        : QStringLiteral("activationPolicy accessory"));
}

void RecordingRuntime::orderFrontIfVisible(WindowId window) {
    calls.append(QStringLiteral("orderFrontIfVisible %1").arg(window));
}
