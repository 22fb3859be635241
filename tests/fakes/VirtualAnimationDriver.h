#pragma once

#include <QAnimationDriver>
#include <QCoreApplication>

// The toolkit's animation clock, moved by the test in whole frames of a 60 Hz display; nothing
// animates between steps.
class VirtualAnimationDriver final : public QAnimationDriver {
public:
    VirtualAnimationDriver() { install(); }
    ~VirtualAnimationDriver() override { uninstall(); }

    void step(double seconds) {
        const int frames = int(seconds * 60 + 0.5);
        for (int i = 0; i < frames; ++i) {
            // Animations just started join the clock from the event loop.
            QCoreApplication::processEvents();
            m_elapsed += 1000 / 60;
            advance();
        }
        QCoreApplication::processEvents();
    }
    qint64 elapsed() const override { return m_elapsed; }

private:
    qint64 m_elapsed = 0;
};
