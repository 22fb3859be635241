// trellinctl: Trellin's folders from a command line, through the running main application.
#include "CommandLine.h"
#include "RunningTrellin.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;
// A folders document larger than this is no document of ours: refused before it is read whole.
constexpr qint64 kDocumentLimit = 64 * 1024 * 1024;

int fail(const QString& line) {
    QTextStream(stderr) << "trellinctl: " << line << '\n';
    return kFailed;
}

void print(const QString& text) {
    QTextStream out(stdout);
    out << text;
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        out << '\n';
}

QString folderListText(const QString& json) {
    QString text;
    for (const QJsonValue& value : QJsonDocument::fromJson(json.toUtf8()).array()) {
        const QJsonObject folder = value.toObject();
        const QJsonArray apps = folder.value(QLatin1String("apps")).toArray();
        text += QStringLiteral("%1\t%2\t%3\t%4 app(s)\n")
                    .arg(folder.value(QLatin1String("name")).toString(), folder.value(QLatin1String("id")).toString(),
                         folder.value(QLatin1String("inDock")).toBool() ? QStringLiteral("in Dock")
                                                                        : QStringLiteral("not in Dock"))
                    .arg(apps.size());
        for (const QJsonValue& appValue : apps) {
            const QJsonObject app = appValue.toObject();
            text +=
                QStringLiteral("  %1\t%2%3\n")
                    .arg(app.value(QLatin1String("name")).toString(), app.value(QLatin1String("path")).toString(),
                         app.value(QLatin1String("installed")).toBool() ? QString() : QStringLiteral("\t(missing)"));
        }
    }
    return text;
}

QString backupListText(const QString& json) {
    QString text;
    for (const QJsonValue& value : QJsonDocument::fromJson(json.toUtf8()).array())
        text += value.toObject().value(QLatin1String("file")).toString() + QLatin1Char('\t') +
                value.toObject().value(QLatin1String("time")).toString() + QLatin1Char('\n');
    return text;
}

// The document to import, or none with `error`.
std::optional<QByteArray> readDocument(const QString& path, QString* error) {
    QFile file;
    const bool standardInput = path == QLatin1String("-");
    const bool opened = standardInput ? file.open(stdin, QIODevice::ReadOnly) : [&] {
        file.setFileName(path);
        if (!QFileInfo(path).isFile()) {
            *error = QStringLiteral("cannot read %1: not a file").arg(path);
            return false;
        }
        return file.open(QIODevice::ReadOnly);
    }();
    if (!opened) {
        if (error->isEmpty())
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kDocumentLimit + 1);
    if (bytes.size() > kDocumentLimit) {
        *error = QStringLiteral("%1 is too large to be a folders document")
                     .arg(standardInput ? QStringLiteral("the input") : path);
        return std::nullopt;
    }
    return bytes;
}

// Written whole or not at all: a failed export leaves an existing file as it was.
int writeDocument(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return 0;
}

int show(const CommandLine::Call& call, const QString& answer) {
    switch (call.output) {
    case CommandLine::Output::Nothing:
        return 0;
    case CommandLine::Output::Line:
    case CommandLine::Output::Json:
        print(answer);
        return 0;
    case CommandLine::Output::FolderList:
        print(folderListText(answer));
        return 0;
    case CommandLine::Output::BackupList:
        print(backupListText(answer));
        return 0;
    case CommandLine::Output::Document:
        if (!call.file.isEmpty())
            return writeDocument(call.file, answer.toUtf8());
        std::fwrite(answer.toUtf8().constData(), 1, size_t(answer.toUtf8().size()), stdout);
        return 0;
    }
    return 0;
}

} // namespace

// Standard error holds the one line saying what went wrong; the toolkit's own warnings (a bus
// message still arriving while the program ends, a desktop variable not set) would add more.
void dropToolkitMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg)
        QTextStream(stderr) << "trellinctl: " << message << '\n';
}

int main(int argc, char** argv) {
    qInstallMessageHandler(dropToolkitMessages);
    QCoreApplication application(argc, argv);
    const auto parsed = CommandLine::parse(QCoreApplication::arguments().mid(1), QDir::currentPath());
    if (std::holds_alternative<CommandLine::Help>(parsed)) {
        QTextStream(stdout) << CommandLine::usage();
        return 0;
    }
    if (const auto* error = std::get_if<CommandLine::UsageError>(&parsed)) {
        QTextStream(stderr) << "trellinctl: " << error->line << '\n' << CommandLine::usage();
        return kUsage;
    }
    CommandLine::Call call = std::get<CommandLine::Call>(parsed);
    if (!call.readFile.isEmpty()) {
        QString error;
        const std::optional<QByteArray> document = readDocument(call.readFile, &error);
        if (!document)
            return fail(error);
        call.arguments.append(*document);
    }

    // The program beside this one in the bundle; the link on the PATH resolves to it.
    const QString executable = QCoreApplication::applicationDirPath() + QStringLiteral("/Trellin");
    const QDBusMessage reply = [&] {
        // A connection of its own, closed once answered.
        const QString connectionName = QStringLiteral("trellinctl");
        RunningTrellin trellin(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName),
                               QStringLiteral(TRELLIN_BUNDLE_ID), executable);
        QDBusMessage answer =
            trellin.call(call.method, call.arguments,
                         call.longRunning ? RunningTrellin::longCallTimeoutMs : RunningTrellin::callTimeoutMs);
        QDBusConnection::disconnectFromBus(connectionName);
        return answer;
    }();
    if (reply.type() != QDBusMessage::ReplyMessage)
        return fail(reply.errorMessage().simplified());
    const QVariantList values = reply.arguments();
    return show(call, values.isEmpty() ? QString() : values.first().toString());
}
