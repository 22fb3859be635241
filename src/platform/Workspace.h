#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Opening applications and seeing which are running.
class Workspace {
public:
    struct OpenConfiguration {
        bool activates = true;
        bool createsNewApplicationInstance = false;
        QStringList arguments;
    };

    struct RunningApplication {
        qint64 processIdentifier = 0;
        QString bundlePath; // empty when the process does not run from a bundle
    };

    // Called once, later, from the event loop: none on success, else what went wrong.
    using OpenCompletion = std::function<void(const std::optional<QString>& error)>;

    virtual ~Workspace() = default;

    virtual void openApplication(const QString& bundlePath, const OpenConfiguration& configuration,
                                 OpenCompletion completion) = 0;
    virtual QList<RunningApplication> runningApplications() const = 0;
    // A normal quit request, not a forced one; false when it could not be sent.
    virtual bool terminate(const RunningApplication& application) = 0;
};
