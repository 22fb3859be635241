#pragma once

#include "platform/SystemLog.h"

#include <QStringList>

// Keeps the system log's lines for the test to read.
class CapturedSystemLog final : public SystemLog {
public:
    void write(const QString& line) override { lines.append(line); }
    QStringList lines;
};
