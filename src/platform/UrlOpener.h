#pragma once

#include <QUrl>

#include <functional>

// Hands web pages to the desktop's browser.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Opens `url`; `done` learns, on the main thread, whether a browser took it (false when the
    // desktop has none, or could not start it).
    virtual void open(const QUrl& url, std::function<void(bool opened)> done) = 0;
};
