// The smallest Qt Widgets process: the yardstick for a helper's memory, and, given
// "--first-frame-since <milliseconds since the epoch>", for a process's start to its first
// painted frame: it prints "figure bare_start_ms <ms>" then and quits. Given "--text", its window
// shows a line of text, so the fonts a popup's text needs are loaded as well.
#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class FirstFrame final : public QObject {
public:
    explicit FirstFrame(qint64 since)
        : m_since(since) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_reported) {
            m_reported = true;
            // Measured once the paint is done, as the other figures are.
            QTimer::singleShot(0, [this] {
                std::printf("figure bare_start_ms %lld\n", QDateTime::currentMSecsSinceEpoch() - m_since);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    qint64 m_since;
    bool m_reported = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(64, 64);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype flag = arguments.indexOf(QStringLiteral("--first-frame-since"));
    FirstFrame firstFrame(flag > 0 && flag + 1 < arguments.size() ? arguments.at(flag + 1).toLongLong() : 0);
    if (flag > 0)
        window.installEventFilter(&firstFrame);
    if (arguments.contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Trellin"), &window))->show();
    window.show();
    return QApplication::exec();
}
