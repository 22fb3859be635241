#include "SyslogSystemLog.h"

#include <syslog.h>

SyslogSystemLog::SyslogSystemLog() {
    // The pid tells the main application's entries from those of the helpers, which share the ident.
    openlog("Trellin", LOG_PID, LOG_USER);
}

void SyslogSystemLog::write(const QString& line) {
    // Never the text as the format: paths and error descriptions may contain '%'.
    syslog(LOG_NOTICE, "%s", line.toUtf8().constData());
}
