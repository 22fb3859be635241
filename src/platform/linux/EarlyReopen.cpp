#include "platform/linux/EarlyReopen.h"
#include "platform/Protocol.h"

#include "platform/linux/LinuxApplication.h"

#include <dbus/dbus.h>

#include <cstring>
#include <memory>

namespace {

struct ConnectionCloser {
    void operator()(DBusConnection* connection) const {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
};
struct MessageUnref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};

// Errors after which the reopen waits in the owner's queue: the owner is alive, only busy.
bool ownerIsBusy(const char* errorName) {
    return std::strcmp(errorName, DBUS_ERROR_NO_REPLY) == 0 || std::strcmp(errorName, DBUS_ERROR_TIMEOUT) == 0;
}

// A private connection: the shared one would stay open beside the toolkit's bus module, which
// keeps connections of its own, and this one is closed before the process goes on.
DBusConnection* openBus(const QString& address, DBusError* error) {
    if (address.isEmpty())
        return dbus_bus_get_private(DBUS_BUS_SESSION, error);
    DBusConnection* bus = dbus_connection_open_private(address.toUtf8().constData(), error);
    if (bus && !dbus_bus_register(bus, error)) {
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
        return nullptr;
    }
    return bus;
}

} // namespace

EarlyReopen::Outcome EarlyReopen::reopenRunningInstance(const QString& serviceName, const QString& busAddress) {
    const QByteArray service = serviceName.toUtf8();
    const QByteArray path = Protocol::Bus::applicationPath.toUtf8();
    const QByteArray interface = Protocol::Bus::applicationInterface.toUtf8();
    if (!dbus_validate_bus_name(service.constData(), nullptr))
        return Outcome::NotHandedOver;

    DBusError error;
    dbus_error_init(&error);
    const std::unique_ptr<DBusConnection, ConnectionCloser> bus(openBus(busAddress, &error));
    if (!bus) {
        dbus_error_free(&error);
        return Outcome::NotHandedOver;
    }
    dbus_connection_set_exit_on_disconnect(bus.get(), FALSE);

    const std::unique_ptr<DBusMessage, MessageUnref> call(
        dbus_message_new_method_call(service.constData(), path.constData(), interface.constData(), "Reopen"));
    if (!call)
        return Outcome::NotHandedOver;
    // A name nobody owns is "not running", never a reason for the bus to start something.
    dbus_message_set_auto_start(call.get(), FALSE);

    const std::unique_ptr<DBusMessage, MessageUnref> reply(
        dbus_connection_send_with_reply_and_block(bus.get(), call.get(), LinuxApplication::reopenTimeoutMs, &error));
    if (reply)
        return Outcome::HandedOver;
    const bool busy = dbus_error_is_set(&error) && ownerIsBusy(error.name);
    dbus_error_free(&error);
    return busy ? Outcome::HandedOver : Outcome::NotHandedOver;
}
