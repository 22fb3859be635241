#pragma once

#include "platform/SystemLog.h"

// The system log through syslog(3): ident "Trellin", facility user, one notice per line.
class SyslogSystemLog : public SystemLog {
public:
    SyslogSystemLog();

    void write(const QString& line) override;
};
