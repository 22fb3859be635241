// A reopen of a running helper to the popup's first painted frame, with 24 applications whose
// icons are real files: cold (the first opening of the process: panel made, icons decoded) and
// warm (later openings). The helper's own classes on the session bus; the reopen comes from a
// second connection, as the Dock sends it. Beside them, a bare toolkit window of the popup's size
// made and shown as often, and the icon files read whole. Prints milliseconds.
// Usage: bench_popup_open [folder kept from one run to the next]
#include "BenchHome.h"
#include "model/DockHeight.h"
#include "platform/FileIconCache.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/PropertyList.h"
#include "platform/linux/DBusDistributedNotifications.h"
#include "platform/linux/LinuxApplication.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/MainQueueScheduler.h"
#include "platform/linux/QtScreens.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/X11WindowLevels.h"
#include "platform/linux/XInputEventMonitor.h"
#include "popup/FolderPopupView.h"
#include "popup/PopupPanelController.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

constexpr int kApps = 24;
constexpr int kWarmRuns = 15;
const QString kService = QStringLiteral("app.trellin.Trellin.Helper.GBENCH");

// 24 bundles, each with an icon of its own to decode; made where they are not there yet.
AppFolder folderOfBundles(const QString& root) {
    AppFolder folder(QUuid::createUuid(), QStringLiteral("Bench"), QStringLiteral("folder.fill"), 0);
    for (int i = 0; i < kApps; ++i) {
        const QString bundle = QStringLiteral("%1/App%2.app").arg(root).arg(i);
        folder.apps.append({QUuid::createUuid(), QStringLiteral("App %1").arg(i), QStringLiteral("bench.App"),
                            AppItem::fileURLForPath(bundle, true)});
        if (QFileInfo::exists(bundle))
            continue;
        QDir().mkpath(bundle + QStringLiteral("/Contents/Resources"));
        QImage icon(512, 512, QImage::Format_ARGB32);
        icon.fill(QColor::fromHsv(i * 15, 200, 230));
        icon.save(bundle + QStringLiteral("/Contents/Resources/AppIcon.png"));
        PropertyList::writeFileAtomically(bundle + QStringLiteral("/Contents/Info.plist"),
                                          QVariantMap{{QStringLiteral("CFBundleIconFile"), QStringLiteral("AppIcon")}},
                                          PropertyList::Format::Xml);
    }
    return folder;
}

// Calls `painted` once the watched window's first frame is painted.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(std::function<void()> painted)
        : m_painted(std::move(painted)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_painted) {
            // Once the paint is done, as for the popup.
            QTimer::singleShot(0, std::exchange(m_painted, nullptr));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_painted;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchHome bench;
    QApplication application(argc, argv);
    bench.start();
    QTemporaryDir& home = bench.home;
    DBusDistributedNotifications& distributed = *bench.distributed;
    AppSettings& settings = *bench.settings;
    Localization& localization = *bench.localization;
    SystemClock clock;
    MainQueueScheduler scheduler;
    LinuxWorkspace workspace;
    // Given a folder, the applications and the icons kept on disk are the ones an earlier run left
    // there: the first opening is then a later helper's, whose icons an earlier one decoded.
    const QStringList arguments = QCoreApplication::arguments();
    const QString world = arguments.size() > 1 ? arguments.at(1) : home.path();
    FileIconCache icons({}, world + QStringLiteral("/Icons"));
    QtScreens screens;
    XInputEventMonitor events;
    X11WindowLevels levels;
    DockHeight dockHeight;
    PopupPanelController controller({
        .clock = clock,
        .scheduler = scheduler,
        .distributedNotifications = distributed,
        .screens = screens,
        .eventMonitor = events,
        .windowLevels = levels,
        .dockHeight = dockHeight,
        .dockSizes =
            [] {
                return PopupPlacement::DockSizes{48.0, std::nullopt, false};
            },
        .currentGroupID = [] { return std::optional<QString>(QStringLiteral("BENCH")); },
        .environment = {.settings = settings,
                        .localization = localization,
                        .workspace = workspace,
                        .scheduler = scheduler,
                        .icons = icons,
                        .translucentWindows = screens.showsTranslucentWindows()},
    });
    const AppFolder folder = folderOfBundles(world + QStringLiteral("/Apps"));

    LinuxApplication helper;
    if (helper.claimInstance(kService, false) != InstanceClaim::Claimed) {
        std::fprintf(stderr, "PopupOpenBench: needs a session bus\n");
        return 1;
    }
    QElapsedTimer timer;
    QList<double> times;
    // Waits run in a real event loop, as the helper's do: a closed popup's content is deleted
    // later, and only an event loop deletes it.
    QEventLoop waiting;
    const auto wait = [&waiting](int milliseconds) {
        QTimer::singleShot(milliseconds, &waiting, &QEventLoop::quit);
        waiting.exec();
    };
    QObject::connect(&helper, &LinuxApplication::reopenRequested, [&] {
        controller.presentPopup(folder);
        if (FolderPopupView* view = controller.popupPanel()->contentView())
            QObject::connect(view, &FolderPopupView::firstFramePainted, [&] {
                times.append(timer.nsecsElapsed() / 1e6);
                waiting.quit();
            });
    });

    QDBusConnection dock = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("bench-dock"));
    const auto reopenAndWait = [&] {
        timer.start();
        dock.asyncCall(QDBusMessage::createMethodCall(kService, QStringLiteral("/app/trellin/Application"),
                                                      QStringLiteral("app.trellin.Application"),
                                                      QStringLiteral("Reopen")));
        wait(5000);
        controller.closePopup();
        // Past the reopen refusal after a close.
        wait(200);
    };
    for (int run = 0; run <= kWarmRuns; ++run)
        reopenAndWait();
    // The yardstick: a bare toolkit window of the popup's size, made and shown as often.
    QList<double> bare;
    const QSize popupSize = controller.popupPanel()->size();
    for (int run = 0; run < kWarmRuns; ++run) {
        QWidget window;
        window.resize(popupSize);
        PaintWatch watch([&] { waiting.quit(); });
        window.installEventFilter(&watch);
        timer.start();
        window.show();
        wait(5000);
        bare.append(timer.nsecsElapsed() / 1e6);
        window.close();
        wait(50);
    }
    std::sort(bare.begin(), bare.end());
    // Beneath any first opening: reading the 24 icon files whole, by the toolkit alone.
    timer.start();
    for (int i = 0; i < kApps; ++i)
        QImage(QStringLiteral("%1/Apps/App%2.app/Contents/Resources/AppIcon.png").arg(world).arg(i), "png");
    const double reading = timer.nsecsElapsed() / 1e6;
    if (times.size() != kWarmRuns + 1) {
        std::fprintf(stderr, "PopupOpenBench: the popup did not paint\n");
        return 1;
    }
    QList<double> warm = times.mid(1);
    std::sort(warm.begin(), warm.end());
    std::printf("reopen -> popup first frame, %d apps (%s): cold %.1f ms, warm median %.1f ms; a bare window of its "
                "size made and shown: median %.1f ms\n",
                kApps, qPrintable(QGuiApplication::platformName()), times.first(), warm.at(warm.size() / 2),
                bare.at(bare.size() / 2));
    // For the table of scripts/run-benchmarks.
    std::printf("figure popup_cold_ms %.1f\nfigure popup_warm_ms %.1f\nfigure bare_window_ms %.1f\nfigure "
                "icon_reading_ms %.1f\n",
                times.first(), warm.at(warm.size() / 2), bare.at(bare.size() / 2), reading);
    return 0;
}
