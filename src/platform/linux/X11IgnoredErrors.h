#pragma once

#include <X11/Xlib.h>

// While it lives, X errors on the display are ignored: a window may be gone between being found
// and being asked about, and the default handler would end the process for that. The errors are
// flushed before the previous handler comes back.
class X11IgnoredErrors {
public:
    explicit X11IgnoredErrors(Display* display)
        : m_display(display)
        , m_previous(XSetErrorHandler([](Display*, XErrorEvent*) { return 0; })) {}
    ~X11IgnoredErrors() {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }
    X11IgnoredErrors(const X11IgnoredErrors&) = delete;
    X11IgnoredErrors& operator=(const X11IgnoredErrors&) = delete;

private:
    Display* m_display;
    XErrorHandler m_previous;
};
