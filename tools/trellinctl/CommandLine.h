#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>
#include <variant>

// trellinctl's arguments read into one call of the main application's folder interface.
namespace CommandLine {

// How the call's answer is shown.
enum class Output {
    Nothing,
    Line,       // the answer as it is (an id, an import's summary)
    FolderList, // the folders, for reading
    Json,       // the answer as it is, JSON
    Document,   // a folders document, to a file or standard output
    BackupList, // kept copies, for reading
};

struct Call {
    QString method;         // on app.trellin.Folders
    QVariantList arguments; // for the method
    Output output = Output::Nothing;
    QString file;     // export: the file to write; empty for standard output
    QString readFile; // import: the document to read first and pass as the last argument
    bool longRunning = false;
};

struct Help {};
// A command line that is none of the commands; `line` says why.
struct UsageError {
    QString line;
};

// `arguments` without the program name. `workingDirectory` makes relative paths absolute: the
// main application runs elsewhere.
std::variant<Call, Help, UsageError> parse(const QStringList& arguments, const QString& workingDirectory);

QString usage();

} // namespace CommandLine
