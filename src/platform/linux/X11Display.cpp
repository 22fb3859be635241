#include "X11Display.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

_XDisplay* X11Display::shared() {
    static Display* const display = []() -> Display* {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return nullptr;
        return XOpenDisplay(nullptr);
    }();
    return display;
}
