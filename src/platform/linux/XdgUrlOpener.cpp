#include "XdgUrlOpener.h"

#include "platform/Scheduler.h"

#include <QProcess>

#include <memory>

XdgUrlOpener::XdgUrlOpener(Scheduler& scheduler, QString program)
    : m_scheduler(scheduler)
    , m_program(std::move(program)) {}

void XdgUrlOpener::open(const QUrl& url, std::function<void(bool opened)> done) {
    auto* process = new QProcess(this);
    // `done` is told once, by whichever comes first: the end of xdg-open or the end of patience.
    auto answer = std::make_shared<std::function<void(bool)>>(std::move(done));
    const auto tell = [answer](bool opened) {
        if (!*answer)
            return;
        const auto callback = std::move(*answer);
        *answer = nullptr;
        callback(opened);
    };
    auto patience = m_scheduler.schedule(patienceSeconds, [tell] { tell(true); });
    connect(process, &QProcess::finished, this, [process, tell, patience](int exitCode, QProcess::ExitStatus status) {
        patience->cancel();
        tell(status == QProcess::NormalExit && exitCode == 0);
        process->deleteLater();
    });
    connect(process, &QProcess::errorOccurred, this, [process, tell, patience](QProcess::ProcessError error) {
        // A program that never started ends in no finished().
        if (error != QProcess::FailedToStart)
            return;
        patience->cancel();
        tell(false);
        process->deleteLater();
    });
    process->setProgram(m_program);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
}
