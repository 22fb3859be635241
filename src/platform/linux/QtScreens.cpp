#include "QtScreens.h"

#include "X11Display.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <X11/Xlib.h>

namespace {

double primaryBottom() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry().y() + primary->geometry().height() : 0.0;
}

ScreenFrames framesOf(const QScreen& screen, double bottom) {
    return {ScreenCoordinates::toYUp(QRectF(screen.geometry()), bottom),
            ScreenCoordinates::toYUp(QRectF(screen.availableGeometry()), bottom)};
}

} // namespace

QList<ScreenFrames> QtScreens::screens() const {
    const double bottom = primaryBottom();
    QList<ScreenFrames> frames;
    // The primary screen first, as the system's own order has it.
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        frames.append(framesOf(*primary, bottom));
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            frames.append(framesOf(*screen, bottom));
    }
    return frames;
}

std::optional<ScreenFrames> QtScreens::mainScreen() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return std::nullopt;
    return framesOf(*primary, primaryBottom());
}

QPointF QtScreens::mouseLocation() const {
    return ScreenCoordinates::toYUp(QPointF(QCursor::pos()), primaryBottom());
}

bool QtScreens::showsTranslucentWindows() const {
    Display* display = X11Display::shared();
    if (!display)
        return QGuiApplication::platformName() != QLatin1String("xcb");
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display));
    const Atom selection = XInternAtom(display, name.constData(), False);
    return XGetSelectionOwner(display, selection) != None;
}

QRectF QtScreens::toYUp(const QRect& geometry) const {
    return ScreenCoordinates::toYUp(QRectF(geometry), primaryBottom());
}

QRect QtScreens::toWindowGeometry(const QRectF& frame) const {
    return ScreenCoordinates::toYDown(frame, primaryBottom()).toRect();
}
