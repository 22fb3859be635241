#include "CommandLine.h"

#include <QDir>

namespace CommandLine {

namespace {

Call makeCall(QString method, QVariantList arguments, Output output) {
    Call call;
    call.method = std::move(method);
    call.arguments = std::move(arguments);
    call.output = output;
    return call;
}

// An APP or BACKUP that is a path is made absolute; a desktop-entry id or a file name is passed on.
QString absoluteIfPath(const QString& argument, const QDir& workingDirectory) {
    if (!argument.contains(QLatin1Char('/')))
        return argument;
    return QDir::cleanPath(workingDirectory.absoluteFilePath(argument));
}

QStringList absoluteIfPaths(const QStringList& arguments, const QDir& workingDirectory) {
    QStringList result;
    for (const QString& argument : arguments)
        result.append(absoluteIfPath(argument, workingDirectory));
    return result;
}

UsageError wrongCount(const QString& command) {
    return {QStringLiteral("wrong number of arguments for \"%1\"").arg(command)};
}

std::variant<Call, Help, UsageError> parseAdd(const QStringList& rest, const QDir& directory) {
    QString name;
    QString symbol;
    QStringList apps;
    bool hasName = false;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QString& argument = rest.at(i);
        if (argument == QLatin1String("--symbol") || argument == QLatin1String("--app")) {
            if (i + 1 >= rest.size())
                return UsageError{argument + QStringLiteral(" needs a value")};
            const QString value = rest.at(++i);
            if (argument == QLatin1String("--symbol"))
                symbol = value;
            else
                apps.append(absoluteIfPath(value, directory));
        } else if (argument.startsWith(QLatin1String("--"))) {
            return UsageError{QStringLiteral("unknown option \"%1\" for \"add\"").arg(argument)};
        } else if (!hasName) {
            name = argument;
            hasName = true;
        } else {
            return wrongCount(QStringLiteral("add"));
        }
    }
    if (!hasName)
        return wrongCount(QStringLiteral("add"));
    return makeCall(QStringLiteral("Add"), {name, symbol, apps}, Output::Line);
}

} // namespace

std::variant<Call, Help, UsageError> parse(const QStringList& arguments, const QString& workingDirectory) {
    if (arguments.isEmpty())
        return UsageError{QStringLiteral("no command given")};
    const QDir directory(workingDirectory);
    const QString command = arguments.first();
    const QStringList rest = arguments.mid(1);
    const auto count = [&rest](qsizetype n) { return rest.size() == n; };

    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help"))
        return Help{};
    if (command == QLatin1String("list")) {
        if (count(0))
            return makeCall(QStringLiteral("List"), {}, Output::FolderList);
        if (count(1) && rest.first() == QLatin1String("--json"))
            return makeCall(QStringLiteral("List"), {}, Output::Json);
        return wrongCount(command);
    }
    if (command == QLatin1String("add"))
        return parseAdd(rest, directory);
    if (command == QLatin1String("remove") || command == QLatin1String("open") ||
        command == QLatin1String("launch-all")) {
        if (!count(1))
            return wrongCount(command);
        const QString method = command == QLatin1String("remove") ? QStringLiteral("Remove")
                               : command == QLatin1String("open") ? QStringLiteral("Open")
                                                                  : QStringLiteral("LaunchAll");
        Call call = makeCall(method, {rest.first()}, Output::Nothing);
        call.longRunning = command == QLatin1String("launch-all");
        return call;
    }
    if (command == QLatin1String("rename")) {
        if (!count(2))
            return wrongCount(command);
        return makeCall(QStringLiteral("Rename"), {rest.at(0), rest.at(1)}, Output::Nothing);
    }
    if (command == QLatin1String("add-app")) {
        if (rest.size() < 2)
            return wrongCount(command);
        return makeCall(QStringLiteral("AddApps"), {rest.first(), absoluteIfPaths(rest.mid(1), directory)},
                        Output::Line);
    }
    if (command == QLatin1String("remove-app")) {
        if (!count(2))
            return wrongCount(command);
        return makeCall(QStringLiteral("RemoveApp"), {rest.at(0), absoluteIfPath(rest.at(1), directory)},
                        Output::Nothing);
    }
    if (command == QLatin1String("dock")) {
        if (!count(2))
            return wrongCount(command);
        if (rest.at(1) != QLatin1String("on") && rest.at(1) != QLatin1String("off"))
            return UsageError{QStringLiteral("\"dock\" takes on or off, not \"%1\"").arg(rest.at(1))};
        return makeCall(QStringLiteral("SetInDock"), {rest.at(0), rest.at(1) == QLatin1String("on")}, Output::Nothing);
    }
    if (command == QLatin1String("export")) {
        if (rest.size() > 1)
            return wrongCount(command);
        Call call = makeCall(QStringLiteral("Export"), {}, Output::Document);
        if (count(1) && rest.first() != QLatin1String("-"))
            call.file = directory.absoluteFilePath(rest.first());
        return call;
    }
    if (command == QLatin1String("import")) {
        if (!count(1))
            return wrongCount(command);
        if (rest.first() == QLatin1String("--gnome-app-folders"))
            return makeCall(QStringLiteral("ImportDesktopAppFolders"), {}, Output::Line);
        Call call = makeCall(QStringLiteral("Import"), {}, Output::Line);
        call.readFile = rest.first() == QLatin1String("-") ? rest.first() : directory.absoluteFilePath(rest.first());
        return call;
    }
    if (command == QLatin1String("backups")) {
        if (!count(0))
            return wrongCount(command);
        return makeCall(QStringLiteral("Backups"), {}, Output::BackupList);
    }
    if (command == QLatin1String("restore")) {
        if (!count(1))
            return wrongCount(command);
        return makeCall(QStringLiteral("Restore"), {absoluteIfPath(rest.first(), directory)}, Output::Nothing);
    }
    return UsageError{QStringLiteral("unknown command \"%1\"").arg(command)};
}

QString usage() {
    return QStringLiteral(
        "Usage: trellinctl COMMAND [ARGUMENTS]\n"
        "Scripts Trellin's folders through the running Trellin (started without its window when none runs).\n"
        "\n"
        "  list [--json]                          the folders, their ids and applications\n"
        "  add NAME [--symbol S] [--app APP]...   a new folder; prints its id\n"
        "  remove FOLDER                          deletes a folder (undo it in Trellin's window)\n"
        "  rename FOLDER NAME\n"
        "  add-app FOLDER APP...\n"
        "  remove-app FOLDER APP\n"
        "  dock FOLDER on|off                     puts the folder's tile into the Dock or takes it out\n"
        "  open FOLDER                            opens the folder's popup, as a click on its tile\n"
        "  launch-all FOLDER                      opens every application of the folder\n"
        "  export [FILE]                          the folders document, to FILE or standard output\n"
        "  import FILE                            merges a folders document (- for standard input)\n"
        "  import --gnome-app-folders             merges GNOME's app-grid folders\n"
        "  backups                                the kept copies of the folders file, newest first\n"
        "  restore BACKUP                         puts a kept copy back (the current list is kept first)\n"
        "\n"
        "FOLDER is a folder's name or id. APP is an application bundle path, a desktop-entry id\n"
        "(org.gnome.TextEditor.desktop) or a desktop-entry file.\n"
        "Exit status: 0 on success, 1 when the command failed, 2 for a wrong command line.\n");
}

} // namespace CommandLine
