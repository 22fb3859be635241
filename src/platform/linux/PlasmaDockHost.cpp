#include "platform/linux/PlasmaDockHost.h"

#include "platform/DockHostIds.h"
#include "platform/DockMetrics.h"
#include "platform/LifetimeBound.h"
#include "platform/Scheduler.h"
#include "platform/linux/InotifyFileEvents.h"
#include "platform/linux/KWinCursor.h"
#include "platform/linux/LauncherUris.h"
#include "platform/linux/MainQueueScheduler.h"
#include "platform/linux/PlasmaNames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaMethod>

namespace {

// The shell answers from its main loop; a shell that hangs must not hang the application for long.
constexpr int kCallTimeout = 3000;
// The shell writes its file through a temporary one and a rename: one look after both.
constexpr double kSettleDelay = 0.3;
// Without a watch (no folder yet, or no watches left), how often the file is looked at.
constexpr double kRetryDelay = 5.0;
// The smallest icon a panel is taken to draw, however thin it is.
constexpr int kSmallestIcon = 16;

std::optional<DockHost::Edge> edgeOf(const QString& location) {
    if (location == QLatin1String("bottom"))
        return DockHost::Edge::Bottom;
    if (location == QLatin1String("top"))
        return DockHost::Edge::Top;
    if (location == QLatin1String("left"))
        return DockHost::Edge::Left;
    if (location == QLatin1String("right"))
        return DockHost::Edge::Right;
    return std::nullopt;
}

QString jsonText(const QJsonObject& object) {
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// The strip of its screen where a panel stands, twice as deep as the panel so that a floating
// panel's gap and a click on its margin still count.
QRect panelArea(const QRect& screen, DockHost::Edge edge, int thickness) {
    const int depth = 2 * thickness;
    switch (edge) {
    case DockHost::Edge::Bottom:
        return QRect(screen.left(), screen.bottom() + 1 - depth, screen.width(), depth);
    case DockHost::Edge::Top:
        return QRect(screen.left(), screen.top(), screen.width(), depth);
    case DockHost::Edge::Left:
        return QRect(screen.left(), screen.top(), depth, screen.height());
    case DockHost::Edge::Right:
        return QRect(screen.right() + 1 - depth, screen.top(), depth, screen.height());
    }
    return {};
}

} // namespace

PlasmaDockHost::PlasmaDockHost(QDBusConnection bus, QString entriesDirectory, QString configDirectory,
                               FileEvents& fileEvents, Scheduler& scheduler, QObject* parent)
    : DockHost(parent)
    , m_bus(std::move(bus))
    , m_entriesDirectory(QDir::cleanPath(entriesDirectory))
    , m_configDirectory(QDir::cleanPath(configDirectory))
    , m_fileEvents(fileEvents)
    , m_scheduler(scheduler)
    , m_watcher(new QDBusServiceWatcher(PlasmaNames::service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this))
    , m_cursor(new KWinCursor(m_bus, 500, this))
    , m_timeout(kCallTimeout) {
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) { ownerChanged(newOwner); });
    if (QDBusConnectionInterface* daemon = m_bus.interface())
        m_running = daemon->isServiceRegistered(PlasmaNames::service).value();
    m_shellFileStamps = shellFileStamps();
}

std::unique_ptr<PlasmaDockHost> PlasmaDockHost::create(QDBusConnection bus, QString entriesDirectory) {
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString configDirectory = !configHome.isEmpty() && QDir::isAbsolutePath(configHome)
                                        ? configHome
                                        : QDir::homePath() + QStringLiteral("/.config");
    auto fileEvents = std::make_unique<InotifyFileEvents>();
    auto scheduler = std::make_unique<MainQueueScheduler>();
    auto host = std::make_unique<PlasmaDockHost>(std::move(bus), std::move(entriesDirectory), configDirectory,
                                                 *fileEvents, *scheduler);
    host->m_ownFileEvents = std::move(fileEvents);
    host->m_ownScheduler = std::move(scheduler);
    return host;
}

PlasmaDockHost::~PlasmaDockHost() {
    // The watch and pending work go before what they came from.
    m_watch.reset();
    if (m_pendingCheck)
        m_pendingCheck->cancel();
}

QString PlasmaDockHost::id() const {
    return DockHostIds::kdePlasma;
}

QString PlasmaDockHost::displayName() const {
    return DockHostIds::displayName(DockHostIds::kdePlasma);
}

bool PlasmaDockHost::isRunning() const {
    return m_running;
}

void PlasmaDockHost::setTimeout(int milliseconds) {
    m_timeout = milliseconds;
    delete m_cursor;
    m_cursor = new KWinCursor(m_bus, milliseconds, this);
}

void PlasmaDockHost::ownerChanged(const QString& newOwner) {
    m_running = !newOwner.isEmpty();
    m_watched.reset();
    Q_EMIT changed();
}

QString PlasmaDockHost::launcherOf(const QString& entryId) const {
    if (!LauncherUris::isPlainName(entryId))
        return {};
    return PlasmaNames::applicationsScheme + entryId;
}

QString PlasmaDockHost::entryIdOf(const QString& launcher) const {
    if (launcher.startsWith(PlasmaNames::applicationsScheme)) {
        const QString id = launcher.mid(PlasmaNames::applicationsScheme.size());
        return id.isEmpty() || id.contains(QLatin1Char('/')) ? launcher : id;
    }
    return LauncherUris::entryIdOfFileUri(launcher, m_entriesDirectory);
}

std::optional<QJsonValue> PlasmaDockHost::evaluate(const QString& script, QString* failure) const {
    if (!m_running) {
        if (failure)
            *failure = QStringLiteral("KDE Plasma does not run");
        return std::nullopt;
    }
    QDBusMessage request = QDBusMessage::createMethodCall(PlasmaNames::service, PlasmaNames::path,
                                                          PlasmaNames::interface, PlasmaNames::evaluateScript);
    request << script;
    const QDBusMessage reply = m_bus.call(request, QDBus::Block, m_timeout);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
        if (failure)
            *failure = QStringLiteral("KDE Plasma did not run its script: %1").arg(reply.errorMessage());
        return std::nullopt;
    }
    QJsonParseError error{};
    const QJsonDocument answer = QJsonDocument::fromJson(reply.arguments().constFirst().toString().toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || answer.isNull()) {
        if (failure)
            *failure = QStringLiteral("KDE Plasma's script gave no answer that can be read");
        return std::nullopt;
    }
    return answer.isArray() ? QJsonValue(answer.array()) : QJsonValue(answer.object());
}

PlasmaDockHost::Panels PlasmaDockHost::panelsFrom(const QJsonValue& answer) {
    Panels panels;
    const QJsonArray array = answer.toArray();
    for (const QJsonValue& value : array) {
        const QJsonObject object = value.toObject();
        Panel panel;
        panel.id = object.value(QStringLiteral("id")).toInt(-1);
        panel.screen = object.value(QStringLiteral("screen")).toInt(-1);
        panel.edge = edgeOf(object.value(QStringLiteral("location")).toString());
        panel.thickness = object.value(QStringLiteral("thickness")).toInt();
        const QJsonArray rect = object.value(QStringLiteral("screenRect")).toArray();
        if (rect.size() == 4)
            panel.screenRect = QRect(rect[0].toInt(), rect[1].toInt(), rect[2].toInt(), rect[3].toInt());
        const QJsonArray managers = object.value(QStringLiteral("taskManagers")).toArray();
        for (const QJsonValue& managerValue : managers) {
            const QJsonObject manager = managerValue.toObject();
            const QJsonValue launchers = manager.value(QStringLiteral("launchers"));
            if (!manager.value(QStringLiteral("id")).isDouble() || !launchers.isArray())
                continue;
            TaskManager taskManager{manager.value(QStringLiteral("id")).toInt(), {}};
            for (const QJsonValue& launcher : launchers.toArray()) {
                if (launcher.isString() && !launcher.toString().isEmpty())
                    taskManager.launchers << launcher.toString();
            }
            panel.taskManagers << taskManager;
        }
        if (panel.id >= 0)
            panels << panel;
    }
    return panels;
}

std::optional<PlasmaDockHost::Panels> PlasmaDockHost::readPanels() const {
    const std::optional<QJsonValue> answer = evaluate(PlasmaNames::readScript);
    if (!answer || !answer->isArray())
        return std::nullopt;
    return panelsFrom(*answer);
}

std::optional<QStringList> PlasmaDockHost::entriesOf(const Panels& panels) const {
    bool anyTaskManager = false;
    QStringList entries;
    for (const Panel& panel : panels) {
        for (const TaskManager& manager : panel.taskManagers) {
            anyTaskManager = true;
            for (const QString& launcher : manager.launchers) {
                const QString entry = entryIdOf(launcher);
                if (!entries.contains(entry))
                    entries << entry;
            }
        }
    }
    if (!anyTaskManager)
        return std::nullopt;
    return entries;
}

std::optional<QStringList> PlasmaDockHost::pinnedEntries() const {
    const std::optional<Panels> panels = readPanels();
    return panels ? entriesOf(*panels) : std::nullopt;
}

std::optional<std::pair<const PlasmaDockHost::Panel*, const PlasmaDockHost::TaskManager*>>
PlasmaDockHost::pinTarget(const Panels& panels) {
    // Plasma numbers the primary screen 0.
    for (const Panel& panel : panels) {
        if (panel.screen == 0 && !panel.taskManagers.isEmpty())
            return std::pair{&panel, &panel.taskManagers.constFirst()};
    }
    for (const Panel& panel : panels) {
        if (!panel.taskManagers.isEmpty())
            return std::pair{&panel, &panel.taskManagers.constFirst()};
    }
    return std::nullopt;
}

bool PlasmaDockHost::holds(const Panel& panel, const QString& entryId) const {
    for (const TaskManager& manager : panel.taskManagers) {
        for (const QString& launcher : manager.launchers) {
            if (entryIdOf(launcher) == entryId)
                return true;
        }
    }
    return false;
}

std::optional<QString> PlasmaDockHost::why(const QString& entryId) const {
    if (launcherOf(entryId).isEmpty())
        return QStringLiteral("\"%1\" is no launcher's file name").arg(entryId);
    if (!m_running)
        return QStringLiteral("KDE Plasma does not run");
    return std::nullopt;
}

std::optional<QString> PlasmaDockHost::pin(const QString& entryId) {
    if (const std::optional<QString> reason = why(entryId))
        return reason;
    const std::optional<Panels> panels = readPanels();
    if (!panels)
        return QStringLiteral("KDE Plasma's task managers cannot be read");
    for (const Panel& panel : *panels) {
        if (holds(panel, entryId))
            return std::nullopt;
    }
    const auto target = pinTarget(*panels);
    if (!target)
        return QStringLiteral("KDE Plasma has no task manager in a panel");
    QString failure;
    const std::optional<QJsonValue> answer =
        evaluate(PlasmaNames::pinScript.arg(jsonText({{QStringLiteral("panel"), target->first->id},
                                                      {QStringLiteral("widget"), target->second->widget},
                                                      {QStringLiteral("launcher"), launcherOf(entryId)}})),
                 &failure);
    if (!answer)
        return failure;
    const QJsonValue found = answer->toObject().value(QStringLiteral("found"));
    if (!found.isBool())
        return QStringLiteral("KDE Plasma's script gave no answer that can be read");
    if (!found.toBool())
        return QStringLiteral("KDE Plasma's task manager went away while %1 was being pinned").arg(entryId);
    return std::nullopt;
}

std::optional<QString> PlasmaDockHost::unpin(const QString& entryId) {
    if (const std::optional<QString> reason = why(entryId))
        return reason;
    const std::optional<Panels> panels = readPanels();
    if (!panels)
        return QStringLiteral("KDE Plasma's task managers cannot be read");
    // Taken out by the spellings the shell lists, which may not be ours.
    QJsonArray launchers;
    for (const Panel& panel : *panels) {
        for (const TaskManager& manager : panel.taskManagers) {
            for (const QString& launcher : manager.launchers) {
                if (entryIdOf(launcher) == entryId && !launchers.contains(launcher))
                    launchers.append(launcher);
            }
        }
    }
    if (launchers.isEmpty())
        return std::nullopt;
    QString failure;
    const std::optional<QJsonValue> answer =
        evaluate(PlasmaNames::unpinScript.arg(jsonText({{QStringLiteral("launchers"), launchers}})), &failure);
    if (!answer)
        return failure;
    if (!answer->toObject().value(QStringLiteral("removed")).isDouble())
        return QStringLiteral("KDE Plasma's script gave no answer that can be read");
    return std::nullopt;
}

std::optional<DockHost::Geometry> PlasmaDockHost::geometry() const {
    const std::optional<Panels> panels = readPanels();
    return panels ? geometryOf(*panels) : std::nullopt;
}

std::optional<DockHost::Geometry> PlasmaDockHost::geometryOf(const Panels& panels) {
    const auto target = pinTarget(panels);
    if (!target || !target->first->edge || target->first->thickness <= 0)
        return std::nullopt;
    return Geometry{*target->first->edge,
                    std::max(kSmallestIcon, target->first->thickness - DockMetrics::thicknessAboveTiles)};
}

std::optional<DockHost::TilePosition> PlasmaDockHost::tilePosition(const QString& entryId) const {
    if (why(entryId))
        return std::nullopt;
    // The shell is asked while KWin runs its script: a click waits for the slower of the two only.
    QDBusMessage request = QDBusMessage::createMethodCall(PlasmaNames::service, PlasmaNames::path,
                                                          PlasmaNames::interface, PlasmaNames::evaluateScript);
    request << PlasmaNames::readScript;
    QDBusPendingCall reading = m_bus.asyncCall(request, m_timeout);
    const std::optional<QPoint> cursor = m_cursor->position();
    reading.waitForFinished();
    const QDBusPendingReply<QString> reply = reading;
    if (!cursor || !reply.isValid())
        return std::nullopt;
    const QJsonDocument answer = QJsonDocument::fromJson(reply.value().toUtf8());
    if (!answer.isArray())
        return std::nullopt;
    // A launcher may be in more than one panel: the one under the pointer was clicked.
    for (const Panel& panel : panelsFrom(answer.array())) {
        if (!panel.edge || !holds(panel, entryId))
            continue;
        if (panelArea(panel.screenRect, *panel.edge, panel.thickness).contains(*cursor))
            return TilePosition{*cursor, *panel.edge};
    }
    return std::nullopt;
}

void PlasmaDockHost::connectNotify(const QMetaMethod& signal) {
    if (signal == QMetaMethod::fromSignal(&DockHost::changed))
        watchApplets();
}

void PlasmaDockHost::watchApplets() {
    if (m_watch)
        return;
    // The folder, not the file: the shell replaces the file by rename, and may not have made it yet.
    m_watch = m_fileEvents.watch(m_configDirectory, FileEvents::Write | FileEvents::Delete | FileEvents::Rename,
                                 boundTo(this, [this](FileEvents::Events fired) {
                                     if (fired & (FileEvents::Delete | FileEvents::Rename)) {
                                         m_watch.reset();
                                         watchApplets();
                                     }
                                     appletsMayHaveChanged();
                                 }));
    if (m_watch)
        return;
    m_scheduler.schedule(this, kRetryDelay, [this] {
        checkApplets();
        watchApplets();
    });
}

void PlasmaDockHost::appletsMayHaveChanged() {
    if (m_pendingCheck && !m_pendingCheck->isCancelled())
        return;
    m_pendingCheck = m_scheduler.schedule(this, kSettleDelay, [this] {
        m_pendingCheck.reset();
        checkApplets();
    });
}

QList<FileStamp> PlasmaDockHost::shellFileStamps() const {
    return {FileStamp::of(m_configDirectory + QLatin1Char('/') + PlasmaNames::appletsFile),
            FileStamp::of(m_configDirectory + QLatin1Char('/') + PlasmaNames::shellFile)};
}

void PlasmaDockHost::checkApplets() {
    const QList<FileStamp> stamps = shellFileStamps();
    if (stamps == m_shellFileStamps)
        return;
    m_shellFileStamps = stamps;
    if (!m_running)
        return;
    const std::optional<Panels> panels = readPanels();
    if (!panels) {
        // Unanswered (the shell busy, say): asked again later, rather than a change going unseen.
        m_shellFileStamps.clear();
        m_scheduler.schedule(this, kRetryDelay, [this] { checkApplets(); });
        return;
    }
    const auto seen = std::pair{entriesOf(*panels), geometryOf(*panels)};
    if (seen == m_watched)
        return;
    m_watched = seen;
    Q_EMIT changed();
}
