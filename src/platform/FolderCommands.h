#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// What the command line asks of the main application's folders. FOLDER is a folder's name or id,
// APP an application bundle path, a desktop-entry id or a desktop-entry file. Every command checks
// all of its input before it changes anything, so a refusal leaves the folders as they were.
class FolderCommands {
public:
    enum class Failure {
        None,
        InvalidArgument, // the input names nothing sensible (an unknown symbol, an empty name)
        NotFound,        // no such folder, application or kept copy
        Ambiguous,       // a name that several folders carry
        Failed,          // the input was fine, the work was not (a file, a helper)
    };

    struct Outcome {
        Failure failure = Failure::None;
        // On success the command's output (JSON, an id, a document, a summary; may be empty);
        // on failure one English line saying what was wrong.
        QString text;

        bool succeeded() const { return failure == Failure::None; }
        static Outcome success(QString text = {}) { return {Failure::None, std::move(text)}; }
        static Outcome refused(Failure failure, QString line) { return {failure, std::move(line)}; }
    };
    using Done = std::function<void(const Outcome&)>;

    virtual ~FolderCommands() = default;

    virtual Outcome list() const = 0;                                                             // JSON array
    virtual Outcome add(const QString& name, const QString& symbol, const QStringList& apps) = 0; // its id
    virtual Outcome remove(const QString& folder) = 0;
    virtual Outcome rename(const QString& folder, const QString& name) = 0;
    virtual Outcome addApps(const QString& folder, const QStringList& apps) = 0;
    virtual Outcome removeApp(const QString& folder, const QString& app) = 0;
    virtual Outcome setInDock(const QString& folder, bool inDock) = 0;
    // Both finish later: `done` is called once.
    virtual void open(const QString& folder, Done done) = 0;
    virtual void launchAll(const QString& folder, Done done) = 0;
    virtual Outcome exportDocument() const = 0;
    virtual Outcome importDocument(const QByteArray& document) = 0;
    virtual Outcome importDesktopAppFolders() = 0;
    virtual Outcome backups() const = 0; // JSON array, newest first
    virtual Outcome restore(const QString& backup) = 0;
};
