#pragma once

#include "platform/Application.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QSocketNotifier;
class QWidget;

// The outcome of claiming the single-instance name on the session bus.
enum class InstanceClaim {
    Claimed,    // this process owns the name and receives reopens
    HandedOver, // the running instance was sent a reopen; this process should exit with status 0
    NoBus,      // no session bus, or the name cannot be had: go on as a single process
};

// The running application on Linux: activation policy, window ordering, the single-instance
// name with its reopen method (docs/dbus/app.trellin.Application.xml), and quitting on
// SIGTERM/SIGINT through the normal quit path.
class LinuxApplication : public QObject, public Application {
    Q_OBJECT
public:
    // A running instance blocked for longer (say, in a code-signing run) still gets the reopen
    // once it is back in its event loop; the new launch does not wait for that.
    static constexpr int reopenTimeoutMs = 3000;
    static inline const QString showPopupMethod = QStringLiteral("ShowPopup");
    // "-TRLaunchWithoutWindow YES" on the command line: the main application starts without its
    // window, as trellinctl starts it. Only this launch: the argument is never stored.
    static inline const QString launchWithoutWindowKey = QStringLiteral("TRLaunchWithoutWindow");

    explicit LinuxApplication(const QDBusConnection& bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~LinuxApplication() override;

    void setActivationPolicy(ActivationPolicy policy) override;
    ActivationPolicy activationPolicy() const override { return m_activationPolicy; }

    void orderOutFirstWindow() override;
    // Ids are never reused, so an id kept across a window's destruction cannot reach a new
    // window that happens to get the same address.
    WindowId keyWindow() const override;
    void orderFrontIfVisible(WindowId window) override;

    // Takes `serviceName` on the bus and answers reopens sent to it. When another process holds
    // it, that one is sent a reopen (HandedOver) unless `replaceRunning`, in which case the name
    // is taken from it (Claimed). An owner that cannot take a reopen loses the name to this one.
    InstanceClaim claimInstance(const QString& serviceName, bool replaceRunning);

    // The main application's name is its bundle identifier; a helper's adds its folder: for
    // 3F2504E0-4F89-11D3-9A0C-0305E82C3301, "<bundle id>.Helper.G3F2504E04F8911D39A0C0305E82C3301"
    // (a name element may not begin with a digit). A group id that is not a UUID counts as none.
    static QString instanceServiceName(const QString& bundleIdentifier, const QString& groupID);
    // Asks the instance owning `serviceName` (a folder's helper) to show its popup; `done` gets
    // none once it took the request, else what went wrong.
    static void requestPopup(const QDBusConnection& bus, const QString& serviceName,
                             std::function<void(const std::optional<QString>& error)> done);
    // "<bundle id>.Helper", under which every helper's name stands.
    static QString helperServiceNamespace(const QString& bundleIdentifier);

    // Ends the application whatever is open: every event loop returns, nested ones included,
    // aboutToQuit handlers run and exec() returns 0. No window has a say: Qt's own quit gives up
    // at the first window that ignores its close, and the main window only hides on close.
    void terminate();

    // SIGTERM and SIGINT terminate the application like the Quit command. The previous
    // dispositions come back when this object is destroyed.
    void installTerminationSignalHandlers();

Q_SIGNALS:
    void activationPolicyChanged();
    // Another launch of this instance; emitted from the event loop, after the caller got its reply.
    void reopenRequested();
    // A helper is asked to open its folder's popup, not by a click on its tile; emitted likewise.
    void popupRequested();

private:
    bool exportApplicationObject();

    QDBusConnection m_bus;
    ActivationPolicy m_activationPolicy = ActivationPolicy::Regular;
    mutable QHash<WindowId, QPointer<QWidget>> m_windows;
    mutable WindowId m_lastWindowId = 0;
    bool m_objectExported = false;
    QSocketNotifier* m_terminationNotifier = nullptr;
};
