#include "LinuxSystemTray.h"

#include "X11TraySelection.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

const QString watcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");
// A watcher that does not answer within this time is taken as no tray.
constexpr int answerTimeout = 1000;

bool hostRegisteredIn(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return reply.arguments().first().value<QDBusVariant>().variant().toBool();
}

} // namespace

LinuxSystemTray::LinuxSystemTray(unsigned sources, const QDBusConnection& bus, QObject* parent)
    : SystemTray(parent)
    , m_bus(bus)
    , m_serviceWatcher((sources & StatusNotifierHosts) ? watcherService : QString(), bus,
                       QDBusServiceWatcher::WatchForOwnerChange) {
    if ((sources & StatusNotifierHosts) && m_bus.isConnected()) {
        m_bus.connect(watcherService, watcherPath, watcherInterface, QStringLiteral("StatusNotifierHostRegistered"),
                      this, SLOT(hostRegistered()));
        m_bus.connect(watcherService, watcherPath, watcherInterface, QStringLiteral("StatusNotifierHostUnregistered"),
                      this, SLOT(hostUnregistered()));
        connect(&m_serviceWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& newOwner) {
                    if (newOwner.isEmpty())
                        setHostRegistered(false);
                    else
                        askWatcher(false);
                });
        if (m_bus.interface() && m_bus.interface()->isServiceRegistered(watcherService))
            askWatcher(true);
    }
    if (sources & XEmbedTrays) {
        m_xembed = new X11TraySelection(this);
        connect(m_xembed, &X11TraySelection::ownerChanged, this, &LinuxSystemTray::update);
    }
    m_available = m_hostRegistered || (m_xembed && m_xembed->isOwned());
}

LinuxSystemTray::~LinuxSystemTray() = default;

void LinuxSystemTray::hostRegistered() {
    setHostRegistered(true);
}

void LinuxSystemTray::hostUnregistered() {
    // Another host may still be there.
    askWatcher(false);
}

void LinuxSystemTray::askWatcher(bool wait) {
    QDBusMessage question = QDBusMessage::createMethodCall(
        watcherService, watcherPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    question << watcherInterface << QStringLiteral("IsStatusNotifierHostRegistered");
    const unsigned number = ++m_question;
    if (wait) {
        setHostRegistered(hostRegisteredIn(m_bus.call(question, QDBus::Block, answerTimeout)));
        return;
    }
    auto* pending = new QDBusPendingCallWatcher(m_bus.asyncCall(question, answerTimeout), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, number](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        if (number == m_question)
            setHostRegistered(hostRegisteredIn(call->reply()));
    });
}

void LinuxSystemTray::setHostRegistered(bool registered) {
    // A signal or an owner change overtakes any question still under way.
    ++m_question;
    m_hostRegistered = registered;
    update();
}

void LinuxSystemTray::update() {
    const bool available = m_hostRegistered || (m_xembed && m_xembed->isOwned());
    if (available == m_available)
        return;
    m_available = available;
    Q_EMIT availabilityChanged();
}
