#include "PlankHost.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QTest>
#include <QUrl>

namespace {

const QString kService = QStringLiteral("net.launchpad.plank");
const QString kPath = QStringLiteral("/net/launchpad/plank/dock1");
const QString kItems = QStringLiteral("net.launchpad.plank.Items");
const QString kDockSettings = QStringLiteral("net.launchpad.plank.dock.settings:/net/launchpad/plank/docks/dock1/");

QDBusMessage itemsCall(const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kItems, method);
    message.setArguments(arguments);
    return message;
}

} // namespace

bool PlankHost::start() {
    // Plank and bamfdaemon launch and look up programs with the environment the bus activates
    // services with: it must name this desktop.
    if (!m_desktop.run(QStringLiteral("dbus-update-activation-environment"),
                       {"DISPLAY", "HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_RUNTIME_DIR",
                        "GSETTINGS_BACKEND", "TRELLIN_FIXTURE_LOG", "QT_QPA_PLATFORM"}))
        return false;
    // Always shown, so it reserves its edge and a click finds it.
    if (!m_desktop.run(QStringLiteral("gsettings"), {"set", kDockSettings, "hide-mode", "none"}))
        return false;
    m_desktop.start(QStringLiteral("/usr/libexec/bamf/bamfdaemon"));
    if (!m_desktop.waitForService(QStringLiteral("org.ayatana.bamf")))
        return false;
    m_desktop.start(QStringLiteral("plank"));
    return m_desktop.waitForService(kService) &&
           QTest::qWaitFor([&] { return persistentApplications().has_value(); }, 10000);
}

QString PlankHost::uri(const QString& desktopEntryPath) {
    return QUrl::fromLocalFile(desktopEntryPath).toString();
}

QString PlankHost::uriOfEntry(const QString& entryId) const {
    return uri(m_desktop.applicationsFolder() + u'/' + entryId);
}

std::optional<QStringList> PlankHost::persistentApplications() const {
    const QDBusReply<QStringList> reply = m_desktop.bus().call(itemsCall(QStringLiteral("GetPersistentApplications")));
    if (!reply.isValid())
        return std::nullopt;
    return reply.value();
}

std::optional<QStringList> PlankHost::transientApplications() const {
    const QDBusReply<QStringList> reply = m_desktop.bus().call(itemsCall(QStringLiteral("GetTransientApplications")));
    if (!reply.isValid())
        return std::nullopt;
    return reply.value();
}

bool PlankHost::isPinned(const QString& entryId) const {
    const std::optional<QStringList> pinned = persistentApplications();
    return pinned && pinned->contains(uriOfEntry(entryId));
}

bool PlankHost::add(const QString& entryId) {
    const QDBusReply<bool> reply = m_desktop.bus().call(itemsCall(QStringLiteral("Add"), {uriOfEntry(entryId)}));
    return reply.isValid() && reply.value();
}

bool PlankHost::remove(const QString& entryId) {
    const QDBusReply<bool> reply = m_desktop.bus().call(itemsCall(QStringLiteral("Remove"), {uriOfEntry(entryId)}));
    return reply.isValid() && reply.value();
}

std::optional<PlankHost::Hover> PlankHost::hoverPosition(const QString& entryId) const {
    const QDBusMessage reply =
        m_desktop.bus().call(itemsCall(QStringLiteral("GetHoverPosition"), {uriOfEntry(entryId)}));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 4 ||
        !reply.arguments().at(3).toBool())
        return std::nullopt;
    const QVariantList values = reply.arguments();
    return Hover{{values.at(0).toInt(), values.at(1).toInt()}, Edge(values.at(2).toInt())};
}

namespace {

QPoint inward(const PlankHost::Hover& hover) {
    constexpr int distance = 30;
    switch (hover.edge) {
    case PlankHost::Edge::Left:
        return hover.point - QPoint(distance, 0);
    case PlankHost::Edge::Right:
        return hover.point + QPoint(distance, 0);
    case PlankHost::Edge::Top:
        return hover.point - QPoint(0, distance);
    case PlankHost::Edge::Bottom:
        break;
    }
    return hover.point + QPoint(0, distance);
}

} // namespace

std::optional<QPoint> PlankHost::tileCentre(const QString& entryId) const {
    // Plank lays its tiles out again only when it redraws, which the pointer on the dock makes it
    // do: the place is known once it stays the same with the pointer there.
    std::optional<QPoint> settled;
    const bool isSettled = QTest::qWaitFor(
        [&] {
            const std::optional<Hover> before = hoverPosition(entryId);
            if (!before)
                return false;
            const QPoint point = inward(*before);
            m_desktop.run(QStringLiteral("xdotool"),
                          {"mousemove", QString::number(point.x()), QString::number(point.y())});
            QTest::qWait(250);
            const std::optional<Hover> after = hoverPosition(entryId);
            if (after && after->point == before->point && after->edge == before->edge)
                settled = point;
            return settled.has_value();
        },
        10000);
    return isSettled ? settled : std::nullopt;
}

bool PlankHost::point(const QString& entryId) const {
    const std::optional<QPoint> point = tileCentre(entryId);
    return point && m_desktop.run(QStringLiteral("xdotool"),
                                  {"mousemove", QString::number(point->x()), QString::number(point->y())});
}

bool PlankHost::click(const QString& entryId) const {
    return point(entryId) && m_desktop.run(QStringLiteral("xdotool"), {"click", "1"});
}
