#pragma once

#include "platform/UrlOpener.h"

#include <QObject>
#include <QString>

class Scheduler;

// Opens pages with xdg-open, the desktop's own choice of browser. xdg-open ends with a failure
// when no browser is set up; with a browser it ends at once, or, on desktops where it waits for
// the browser it started, runs on: still running after `patienceSeconds`, the page counts as
// opened.
class XdgUrlOpener final : public QObject, public UrlOpener {
    Q_OBJECT
public:
    static constexpr double patienceSeconds = 5;

    // `program`: the xdg-open to run (found on the PATH when it names no folder).
    explicit XdgUrlOpener(Scheduler& scheduler, QString program = QStringLiteral("xdg-open"));

    void open(const QUrl& url, std::function<void(bool opened)> done) override;

private:
    Scheduler& m_scheduler;
    QString m_program;
};
