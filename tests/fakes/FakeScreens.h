#pragma once

#include "platform/Screens.h"

// Screens a test lays out, in y-up coordinates, with the primary one first.
class FakeScreens final : public Screens {
public:
    QList<ScreenFrames> screens() const override { return frames; }
    std::optional<ScreenFrames> mainScreen() const override {
        if (frames.isEmpty())
            return std::nullopt;
        return frames.first();
    }
    QPointF mouseLocation() const override { return mouse; }
    bool showsTranslucentWindows() const override { return translucent; }
    QRectF toYUp(const QRect& geometry) const override {
        return ScreenCoordinates::toYUp(QRectF(geometry), primaryBottom());
    }
    QRect toWindowGeometry(const QRectF& frame) const override {
        return ScreenCoordinates::toYDown(frame, primaryBottom()).toRect();
    }

    // A 1440 × 900 screen whose Dock takes `dockGap` points at the bottom.
    static ScreenFrames bottomDockScreen(double dockGap) {
        return {{0, 0, 1440, 900}, {0, dockGap, 1440, 900 - dockGap}};
    }

    QList<ScreenFrames> frames{bottomDockScreen(70)};
    QPointF mouse{720, 30};
    bool translucent = true;

private:
    double primaryBottom() const {
        return frames.isEmpty() ? 0 : frames.first().frame.y() + frames.first().frame.height();
    }
};
