#include "Console.h"

#include <cstdio>

namespace {
std::function<void(const QString&)>& sink() {
    static std::function<void(const QString&)> current;
    return current;
}
} // namespace

void Console::printLine(const QString& line) {
    if (sink()) {
        sink()(line);
        return;
    }
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Console::setSink(std::function<void(const QString&)> newSink) {
    sink() = std::move(newSink);
}
