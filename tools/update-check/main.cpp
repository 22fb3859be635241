// trellin-update-check: reads an application's update feed and says, as one JSON object on
// standard output, whether the feed offers a newer version than the one running. It lives apart
// from the application so that the application's processes (one per folder) do not load the
// network stack.

#include "Appcast.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <optional>

namespace {

constexpr int timeoutMilliseconds = 15'000;
constexpr qint64 sizeLimit = 5 * 1024 * 1024;

const char* const usage = "Usage: trellin-update-check --feed URL --version BUILD_VERSION [--short-version VERSION]\n"
                          "URL is an https: or file: address of an appcast.\n";

struct Arguments {
    QString feed;
    QString version;
    QString shortVersion;
};

std::optional<Arguments> parseArguments(const QStringList& list) {
    Arguments arguments;
    for (qsizetype i = 1; i < list.size(); ++i) {
        const QString& name = list.at(i);
        QString* target = name == QStringLiteral("--feed")            ? &arguments.feed
                          : name == QStringLiteral("--version")       ? &arguments.version
                          : name == QStringLiteral("--short-version") ? &arguments.shortVersion
                                                                      : nullptr;
        if (!target || i + 1 >= list.size())
            return std::nullopt;
        *target = list.at(++i).trimmed();
    }
    if (arguments.feed.isEmpty() || arguments.version.isEmpty())
        return std::nullopt;
    return arguments;
}

void print(QJsonObject result, const Arguments& arguments) {
    result.insert(QStringLiteral("currentVersion"), arguments.version);
    result.insert(QStringLiteral("currentShortVersion"), arguments.shortVersion);
    std::fputs(QJsonDocument(result).toJson(QJsonDocument::Compact).append('\n').constData(), stdout);
    std::fflush(stdout);
}

// `problem` names the kind of failure for the application to word in its own language; `detail`
// is what the system said, when it said something.
QJsonObject failure(const char* problem, const QString& reason, const QString& detail = {}) {
    return {{QStringLiteral("status"), QStringLiteral("error")},
            {QStringLiteral("problem"), QLatin1String(problem)},
            {QStringLiteral("reason"), reason},
            {QStringLiteral("detail"), detail}};
}

QJsonObject resultOf(const QByteArray& document, const Arguments& arguments) {
    Appcast::ParseError error;
    const std::optional<Appcast::Feed> feed = Appcast::parse(document, &error);
    if (!feed) {
        // The kind of fault and its line let the application say it in its own language.
        QJsonObject result =
            failure("notAppcast", QStringLiteral("The update feed is not a valid appcast: ") + error.message + u'.',
                    error.message);
        using Fault = Appcast::ParseError::Fault;
        result.insert(QStringLiteral("fault"), error.fault == Fault::NotRss      ? QStringLiteral("notRss")
                                               : error.fault == Fault::NoChannel ? QStringLiteral("noChannel")
                                                                                 : QStringLiteral("malformed"));
        if (error.fault == Fault::Malformed)
            result.insert(QStringLiteral("line"), error.line);
        return result;
    }
    const Appcast::Outcome outcome = Appcast::check(*feed, arguments.version);
    if (outcome.status == Appcast::Outcome::Status::Current)
        return {{QStringLiteral("status"), QStringLiteral("current")}};
    const Appcast::Item& item = outcome.item;
    return {
        {QStringLiteral("status"), QStringLiteral("newer")},
        {QStringLiteral("title"), item.title},
        {QStringLiteral("version"), item.version},
        {QStringLiteral("shortVersion"), item.shortVersion},
        {QStringLiteral("notes"), item.notes},
        {QStringLiteral("notesLink"), item.notesLink},
        {QStringLiteral("downloadURL"), item.downloadURL},
    };
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const std::optional<Arguments> parsed = parseArguments(QCoreApplication::arguments());
    if (!parsed) {
        std::fputs(usage, stderr);
        return 2;
    }
    const Arguments arguments = *parsed;
    const QUrl url(arguments.feed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QStringLiteral("https") && scheme != QStringLiteral("file"))) {
        print(failure("address",
                      QStringLiteral("The update feed address is not an https: or file: address: ") + arguments.feed,
                      arguments.feed),
              arguments);
        return 0;
    }

    const QString tooLarge = QStringLiteral("The update feed is larger than %1 MB.").arg(sizeLimit / (1024 * 1024));
    // A local feed is read here, not through the network stack, which would open a named pipe or a
    // device and wait on it for ever.
    if (scheme == QStringLiteral("file")) {
        const FileSystem::ReadResult file = FileSystem::readFile(url.toLocalFile(), sizeLimit);
        if (file.bytes)
            print(resultOf(*file.bytes, arguments), arguments);
        else if (file.errorNumber == EFBIG)
            print(failure("tooLarge", tooLarge), arguments);
        else
            print(failure("unreadable", QStringLiteral("The update feed could not be read: ") + file.error, file.error),
                  arguments);
        return 0;
    }

    QNetworkAccessManager network;
    QNetworkRequest request(url);
    // Redirects are followed, but never from https: to a less safe address.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply* reply = network.get(request);
    QByteArray document;
    QString stopReason;
    const char* stopProblem = "";
    const auto stop = [&](const char* problem, const QString& reason) {
        if (stopReason.isEmpty()) {
            stopProblem = problem;
            stopReason = reason;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64, qint64 total) {
        if (total > sizeLimit)
            stop("tooLarge", tooLarge);
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        if (document.size() + reply->bytesAvailable() > sizeLimit)
            stop("tooLarge", tooLarge);
        else
            document += reply->readAll();
    });
    QTimer::singleShot(timeoutMilliseconds, reply, [&] {
        stop("timedOut",
             QStringLiteral("The update feed did not answer within %1 seconds.").arg(timeoutMilliseconds / 1000));
    });
    QObject::connect(reply, &QNetworkReply::finished, &application, [&] {
        if (!stopReason.isEmpty()) {
            print(failure(stopProblem, stopReason), arguments);
        } else if (reply->error() != QNetworkReply::NoError) {
            print(failure("unreadable", QStringLiteral("The update feed could not be read: ") + reply->errorString(),
                          reply->errorString()),
                  arguments);
        } else {
            document += reply->readAll();
            if (document.size() > sizeLimit)
                print(failure("tooLarge", tooLarge), arguments);
            else
                print(resultOf(document, arguments), arguments);
        }
        QCoreApplication::exit(0);
    });
    return QCoreApplication::exec();
}
