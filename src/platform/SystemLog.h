#pragma once

#include <QString>

// The system log: one line per call, no levels.
class SystemLog {
public:
    virtual ~SystemLog() = default;
    virtual void write(const QString& line) = 0;
};
