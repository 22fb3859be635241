#pragma once

#include "platform/Console.h"

#include <QStringList>

// Collects the lines written to standard output while it lives.
class ConsoleCapture {
public:
    ConsoleCapture() {
        Console::setSink([this](const QString& line) { lines.append(line); });
    }
    ~ConsoleCapture() { Console::setSink({}); }
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

    QStringList lines;
};
