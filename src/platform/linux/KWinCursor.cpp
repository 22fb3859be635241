#include "platform/linux/KWinCursor.h"

#include "platform/linux/PlasmaNames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>
#include <QTimer>
#include <QUuid>

#include <atomic>

namespace {

std::atomic<int> instances{0};

} // namespace

KWinCursor::KWinCursor(QDBusConnection bus, int timeoutMilliseconds, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_path(PlasmaNames::cursorReportPath + QLatin1Char('/') + QString::number(++instances))
    , m_timeout(timeoutMilliseconds) {}

KWinCursor::~KWinCursor() {
    if (m_waiting)
        m_waiting->quit();
    if (m_registered)
        m_bus.unregisterObject(m_path);
}

bool KWinCursor::registerReport() {
    if (!m_registered)
        m_registered = m_bus.registerObject(m_path, this, QDBusConnection::ExportAllSlots);
    return m_registered;
}

std::optional<int> KWinCursor::loadScript(const QString& file, const QString& pluginName) {
    QDBusMessage request =
        QDBusMessage::createMethodCall(PlasmaNames::kwinService, PlasmaNames::kwinScriptingPath,
                                       PlasmaNames::kwinScriptingInterface, QStringLiteral("loadScript"));
    request << file << pluginName;
    const QDBusReply<int> reply = m_bus.call(request, QDBus::Block, m_timeout);
    // KWin answers -1 for a name it has loaded already.
    if (!reply.isValid() || reply.value() < 0)
        return std::nullopt;
    return reply.value();
}

std::optional<QPoint> KWinCursor::position() {
    if (m_waiting || !m_bus.isConnected() || !registerReport())
        return std::nullopt;
    QDBusConnectionInterface* daemon = m_bus.interface();
    m_kwinOwner = daemon ? daemon->serviceOwner(PlasmaNames::kwinService).value() : QString();
    if (m_kwinOwner.isEmpty())
        return std::nullopt;

    m_token = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_answer.reset();
    const QJsonObject parameters{{QStringLiteral("service"), m_bus.baseService()},
                                 {QStringLiteral("path"), m_path},
                                 {QStringLiteral("interface"), PlasmaNames::cursorReportInterface},
                                 {QStringLiteral("method"), PlasmaNames::cursorReportMethod},
                                 {QStringLiteral("token"), m_token}};
    // KWin reads the script from a file, in its own time: the file stays until the answer is in.
    QTemporaryFile script(QDir::tempPath() + QStringLiteral("/trellin-cursor-XXXXXX.js"));
    if (!script.open())
        return std::nullopt;
    script.write(
        PlasmaNames::cursorScript.arg(QString::fromUtf8(QJsonDocument(parameters).toJson(QJsonDocument::Compact)))
            .toUtf8());
    script.flush();

    const QString pluginName = QStringLiteral("trellin-cursor-") + m_token;
    const std::optional<int> id = loadScript(script.fileName(), pluginName);
    if (!id)
        return std::nullopt;
    m_bus.asyncCall(QDBusMessage::createMethodCall(PlasmaNames::kwinService,
                                                   PlasmaNames::kwinScriptPathPrefix + QString::number(*id),
                                                   PlasmaNames::kwinScriptInterface, QStringLiteral("run")));
    QEventLoop loop;
    m_waiting = &loop;
    QTimer::singleShot(m_timeout, &loop, &QEventLoop::quit);
    if (!m_answer)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    m_waiting = nullptr;

    QDBusMessage unload =
        QDBusMessage::createMethodCall(PlasmaNames::kwinService, PlasmaNames::kwinScriptingPath,
                                       PlasmaNames::kwinScriptingInterface, QStringLiteral("unloadScript"));
    unload << pluginName;
    m_bus.asyncCall(unload);
    m_token.clear();
    return m_answer;
}

void KWinCursor::Report(const QString& answer) {
    if (!calledFromDBus() || message().service() != m_kwinOwner || m_token.isEmpty())
        return;
    const QJsonObject report = QJsonDocument::fromJson(answer.toUtf8()).object();
    const QJsonValue x = report.value(QStringLiteral("x")), y = report.value(QStringLiteral("y"));
    if (report.value(QStringLiteral("token")).toString() != m_token || !x.isDouble() || !y.isDouble())
        return;
    m_answer = QPoint(qRound(x.toDouble()), qRound(y.toDouble()));
    if (m_waiting)
        m_waiting->quit();
}
