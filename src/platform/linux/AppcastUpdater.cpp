#include "AppcastUpdater.h"

#include "platform/Scheduler.h"
#include "platform/UpdatePresenter.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString feedKey = QStringLiteral("SUFeedURL");

// The tool's names for what went wrong with the feed.
UpdateCheckResult::Problem problemNamed(const QString& name) {
    using Problem = UpdateCheckResult::Problem;
    static const QHash<QString, Problem> problems{
        {QStringLiteral("address"), Problem::FeedAddress},     {QStringLiteral("unreadable"), Problem::FeedUnreadable},
        {QStringLiteral("tooLarge"), Problem::FeedTooLarge},   {QStringLiteral("timedOut"), Problem::FeedTimedOut},
        {QStringLiteral("notAppcast"), Problem::NotAnAppcast},
    };
    return problems.value(name, Problem::None);
}

UpdateCheckResult::FeedFault feedFaultNamed(const QString& name) {
    using FeedFault = UpdateCheckResult::FeedFault;
    if (name == QStringLiteral("notRss"))
        return FeedFault::NotRss;
    if (name == QStringLiteral("noChannel"))
        return FeedFault::NoChannel;
    if (name == QStringLiteral("malformed"))
        return FeedFault::Malformed;
    return FeedFault::Unknown;
}

QString infoString(const QVariantMap& info, const char* key) {
    const QVariant value = info.value(QString::fromLatin1(key));
    return value.typeId() == QMetaType::QString ? value.toString().trimmed() : QString();
}

} // namespace

AppcastUpdater::AppcastUpdater(Dependencies dependencies)
    : m_dependencies(std::move(dependencies)) {
    if (m_dependencies.toolPath.isEmpty())
        m_dependencies.toolPath =
            QDir(m_dependencies.mainBundle.contentsPath()).filePath(QStringLiteral("MacOS/trellin-update-check"));
}

AppcastUpdater::~AppcastUpdater() {
    if (m_timeout)
        m_timeout->cancel();
    if (m_process) {
        // No result is wanted any more: the tool is stopped without reporting.
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

void AppcastUpdater::start() {
    if (m_started)
        return;
    m_started = true;
    check(false);
}

void AppcastUpdater::checkForUpdates() {
    check(true);
}

QString AppcastUpdater::feedURL() const {
    if (const std::optional<QString> url = m_dependencies.defaults.stringForKey(feedKey);
        url && !url->trimmed().isEmpty())
        return url->trimmed();
    return infoString(m_dependencies.mainBundle.infoDictionary(), "SUFeedURL");
}

UpdateCheckResult AppcastUpdater::failure(Problem problem, const QString& reason, const QString& detail) const {
    const QVariantMap info = m_dependencies.mainBundle.infoDictionary();
    UpdateCheckResult result;
    result.status = UpdateCheckResult::Status::Failed;
    result.currentVersion = infoString(info, "CFBundleVersion");
    result.currentShortVersion = infoString(info, "CFBundleShortVersionString");
    result.problem = problem;
    result.detail = detail;
    result.reason = reason;
    return result;
}

void AppcastUpdater::check(bool userInitiated) {
    // A check asked for while one runs joins it; the user's wish to see the outcome carries over.
    m_userInitiated = m_userInitiated || userInitiated;
    if (m_process)
        return;
    const QString feed = feedURL();
    if (feed.isEmpty()) {
        finish(failure(Problem::NoFeed, QStringLiteral("This copy of Trellin names no update feed.")));
        return;
    }
    const QVariantMap info = m_dependencies.mainBundle.infoDictionary();
    const QString shortVersion = infoString(info, "CFBundleShortVersionString");
    QString version = infoString(info, "CFBundleVersion");
    if (version.isEmpty())
        version = shortVersion;
    if (version.isEmpty()) {
        finish(failure(Problem::NoVersion, QStringLiteral("This copy of Trellin states no version to compare.")));
        return;
    }
    if (!QFileInfo(m_dependencies.toolPath).isExecutable()) {
        finish(failure(Problem::CheckerUnavailable,
                       QStringLiteral("The update checker is missing from this copy of Trellin.")));
        return;
    }

    m_timedOut = false;
    m_process = std::make_unique<QProcess>();
    m_process->setProgram(m_dependencies.toolPath);
    m_process->setArguments({QStringLiteral("--feed"), feed, QStringLiteral("--version"), version,
                             QStringLiteral("--short-version"), shortVersion});
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process.get(), &QProcess::finished, this, &AppcastUpdater::processFinished);
    connect(m_process.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // Other errors end in finished(); a tool that never started does not.
        if (error == QProcess::FailedToStart) {
            const QString detail = m_process->errorString();
            takeProcess();
            finish(failure(Problem::CheckerUnavailable,
                           QStringLiteral("The update checker could not be started: ") + detail, detail));
        }
    });
    m_timeout = m_dependencies.scheduler.schedule(toolTimeoutSeconds, [this] {
        if (m_process) {
            m_timedOut = true;
            m_process->kill();
        }
    });
    m_process->start();
}

QProcess* AppcastUpdater::takeProcess() {
    if (m_timeout) {
        m_timeout->cancel();
        m_timeout.reset();
    }
    QProcess* process = m_process.release();
    process->disconnect(this);
    process->deleteLater();
    return process;
}

void AppcastUpdater::processFinished(int exitCode, QProcess::ExitStatus status) {
    QProcess* process = takeProcess();
    if (m_timedOut) {
        finish(failure(Problem::FeedTimedOut, QStringLiteral("The update check did not finish in time.")));
    } else if (status != QProcess::NormalExit) {
        finish(failure(Problem::CheckerFailed, QStringLiteral("The update checker stopped unexpectedly.")));
    } else if (exitCode != 0) {
        const QString detail = QString::fromUtf8(process->readAllStandardError()).section(u'\n', 0, 0).trimmed();
        finish(failure(Problem::CheckerFailed, QStringLiteral("The update checker could not run: ") + detail, detail));
    } else {
        UpdateCheckResult result = parseToolOutput(process->readAllStandardOutput());
        if (result.status == UpdateCheckResult::Status::Failed && result.currentVersion.isEmpty()) {
            const UpdateCheckResult withVersions = failure(result.problem, result.reason, result.detail);
            result.currentVersion = withVersions.currentVersion;
            result.currentShortVersion = withVersions.currentShortVersion;
        }
        finish(result);
    }
}

void AppcastUpdater::finish(const UpdateCheckResult& result) {
    const bool userInitiated = m_userInitiated;
    m_userInitiated = false;
    // The launch check stays silent unless there is something to install.
    if (userInitiated || result.status == UpdateCheckResult::Status::Newer)
        m_dependencies.presenter.present(result, userInitiated);
}

UpdateCheckResult AppcastUpdater::parseToolOutput(const QByteArray& output) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(output.trimmed(), &error);
    const QJsonObject object = document.object();
    const auto field = [&object](const char* name) { return object.value(QLatin1String(name)).toString(); };
    UpdateCheckResult result;
    result.currentVersion = field("currentVersion");
    result.currentShortVersion = field("currentShortVersion");
    const QString status = field("status");
    const QString unreadable = QStringLiteral("The update checker gave an answer that could not be read.");
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        result.problem = UpdateCheckResult::Problem::CheckerFailed;
        result.reason = unreadable;
    } else if (status == QStringLiteral("current")) {
        result.status = UpdateCheckResult::Status::Current;
    } else if (status == QStringLiteral("newer") && !field("version").isEmpty()) {
        result.status = UpdateCheckResult::Status::Newer;
        result.version = field("version");
        result.shortVersion = field("shortVersion");
        result.notes = field("notes");
        result.notesLink = field("notesLink");
        result.downloadURL = field("downloadURL");
    } else if (status == QStringLiteral("error") && !field("reason").isEmpty()) {
        result.problem = problemNamed(field("problem"));
        if (result.problem == UpdateCheckResult::Problem::NotAnAppcast) {
            result.feedFault = feedFaultNamed(field("fault"));
            const int line = object.value(QLatin1String("line")).toInt();
            // A line is only worth saying for a broken document, and only a real one.
            if (result.feedFault == UpdateCheckResult::FeedFault::Malformed && line > 0)
                result.feedLine = line;
            else if (result.feedFault == UpdateCheckResult::FeedFault::Malformed)
                result.feedFault = UpdateCheckResult::FeedFault::Unknown;
        }
        result.detail = field("detail");
        result.reason = field("reason");
    } else {
        result.problem = UpdateCheckResult::Problem::CheckerFailed;
        result.reason = unreadable;
    }
    return result;
}
