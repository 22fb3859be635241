#include "DBusDistributedNotifications.h"
#include "platform/Protocol.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusSignature>
#include <QDBusVariant>
#include <QDebug>

namespace {

const QString& kPath = Protocol::Bus::notificationsPath;
const QString& kInterface = Protocol::Bus::notificationsInterface;
const QString kMember = QStringLiteral("Notification");
const QString kSignature = QStringLiteral("ssa{sv}");

QVariant toWire(const QVariant& value);

QVariantMap mapToWire(const QVariantMap& map) {
    QVariantMap wire;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const QVariant value = toWire(it.value());
        if (value.isValid())
            wire.insert(it.key(), value);
        else
            qWarning("Distributed notification: user info key \"%s\" of type %s cannot be sent; left out",
                     qUtf8Printable(it.key()), it.value().typeName() ? it.value().typeName() : "(invalid)");
    }
    return wire;
}

// A value D-Bus can marshal, or an invalid one. Marshalling a type QtDBus does not know makes
// the whole message fail to send, so such values are dropped here instead.
QVariant toWire(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QStringList:
        return value;
    case QMetaType::Long:
        return QVariant::fromValue(qint64(value.value<long>()));
    case QMetaType::ULong:
        return QVariant::fromValue(quint64(value.value<unsigned long>()));
    case QMetaType::Float:
        return QVariant::fromValue(double(value.toFloat()));
    case QMetaType::QVariantList: {
        QVariantList wire;
        for (const QVariant& element : value.toList()) {
            const QVariant item = toWire(element);
            if (item.isValid())
                wire.append(item);
            else
                qWarning("Distributed notification: a list element of type %s cannot be sent; left out",
                         element.typeName() ? element.typeName() : "(invalid)");
        }
        return wire;
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash:
        return mapToWire(value.toMap());
    default:
        return {};
    }
}

QVariant plainValue(const QVariant& value);

QVariant plainArgument(const QDBusArgument& argument) {
    switch (argument.currentType()) {
    case QDBusArgument::MapType: {
        QVariantMap map;
        argument.beginMap();
        while (!argument.atEnd()) {
            argument.beginMapEntry();
            const QVariant key = plainValue(argument.asVariant());
            const QVariant value = plainValue(argument.asVariant());
            argument.endMapEntry();
            map.insert(key.toString(), value);
        }
        argument.endMap();
        return map;
    }
    case QDBusArgument::ArrayType: {
        QVariantList list;
        argument.beginArray();
        while (!argument.atEnd())
            list.append(plainValue(argument.asVariant()));
        argument.endArray();
        return list;
    }
    case QDBusArgument::StructureType: {
        QVariantList fields;
        argument.beginStructure();
        while (!argument.atEnd())
            fields.append(plainValue(argument.asVariant()));
        argument.endStructure();
        return fields;
    }
    default:
        return plainValue(argument.asVariant());
    }
}

// What observers get: QVariantMap, QVariantList, QString, QByteArray, bool, integers, double.
// D-Bus nesting is limited to 64 levels, which bounds the recursion.
QVariant plainValue(const QVariant& value) {
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<QDBusVariant>())
        return plainValue(value.value<QDBusVariant>().variant());
    if (type == QMetaType::fromType<QDBusArgument>())
        return plainArgument(value.value<QDBusArgument>());
    if (type == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (type == QMetaType::fromType<QDBusSignature>())
        return value.value<QDBusSignature>().signature();
    if (type == QMetaType::fromType<QStringList>()) {
        QVariantList list;
        for (const QString& string : value.toStringList())
            list.append(string);
        return list;
    }
    if (type == QMetaType::fromType<QVariantList>()) {
        QVariantList list;
        for (const QVariant& element : value.toList())
            list.append(plainValue(element));
        return list;
    }
    if (type == QMetaType::fromType<QVariantMap>()) {
        QVariantMap map = value.toMap();
        for (QVariant& element : map)
            element = plainValue(element);
        return map;
    }
    return value;
}

} // namespace

DBusDistributedNotifications::DBusDistributedNotifications(const QDBusConnection& connection, QObject* parent)
    : QObject(parent)
    , m_connection(connection) {}

DBusDistributedNotifications::~DBusDistributedNotifications() {
    for (auto it = m_handlers.cbegin(); it != m_handlers.cend(); ++it)
        m_connection.disconnect(m_onlyFrom.value(it.key()), kPath, kInterface, kMember, QStringList{it.key()},
                                kSignature, this, SLOT(deliver(QDBusMessage)));
}

void DBusDistributedNotifications::takeOnlyFrom(const QString& busName, const QStringList& names) {
    for (const QString& name : names)
        m_onlyFrom.insert(name, busName);
}

bool DBusDistributedNotifications::isConnected() const {
    return m_connection.isConnected();
}

void DBusDistributedNotifications::post(const QString& name, const QString& object, const QVariantMap& userInfo) {
    if (!m_connection.isConnected())
        return;
    QDBusMessage message = QDBusMessage::createSignal(kPath, kInterface, kMember);
    message << name << object << QVariant::fromValue(mapToWire(userInfo));
    if (!m_connection.send(message))
        qWarning("Distributed notification \"%s\" could not be sent: %s", qUtf8Printable(name),
                 qUtf8Printable(m_connection.lastError().message()));
}

void DBusDistributedNotifications::observe(const QString& name, NotificationHandler handler) {
    if (!m_connection.isConnected() || !handler)
        return;
    // One match rule per name, so the bus routes here only what is observed: a flood of another
    // name never reaches this process. A name without a poster of its own is taken from anyone.
    if (!m_handlers.contains(name) &&
        !m_connection.connect(m_onlyFrom.value(name), kPath, kInterface, kMember, QStringList{name}, kSignature, this,
                              SLOT(deliver(QDBusMessage)))) {
        qWarning("Distributed notifications \"%s\" cannot be observed: %s", qUtf8Printable(name),
                 qUtf8Printable(m_connection.lastError().message()));
        return;
    }
    m_handlers[name].append(std::move(handler));
}

bool DBusDistributedNotifications::isOwnPost(const Notification& notification) const {
    return !notification.sender.isEmpty() && notification.sender == m_connection.baseService();
}

bool DBusDistributedNotifications::isPostedByOwnerOf(const QString& busName, const Notification& notification) const {
    if (notification.sender.isEmpty() || !m_connection.isConnected() || !m_connection.interface())
        return false;
    // Answered by the bus daemon itself, not by the owner, so it cannot hang on a busy peer.
    const QDBusReply<QString> owner = m_connection.interface()->serviceOwner(busName);
    return owner.isValid() && owner.value() == notification.sender;
}

void DBusDistributedNotifications::deliver(const QDBusMessage& message) {
    // Anyone on the bus can emit this signal; take only the documented shape.
    if (message.signature() != kSignature)
        return;
    const QVariantList arguments = message.arguments();
    if (arguments.size() != 3)
        return;

    Notification notification;
    notification.name = arguments.at(0).toString();
    const auto found = m_handlers.constFind(notification.name);
    if (found == m_handlers.cend())
        return;
    const QString object = arguments.at(1).toString();
    if (!object.isEmpty())
        notification.object = object;
    notification.userInfo = plainValue(arguments.at(2)).toMap();
    // Stamped by the bus daemon, so no poster can claim another's name.
    notification.sender = message.service();

    // A copy: a handler may observe more names, which can reallocate the table.
    const QList<NotificationHandler> handlers = found.value();
    for (const NotificationHandler& handler : handlers)
        handler(notification);
}
