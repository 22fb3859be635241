#include "HelperLaunchLog.h"

#include "platform/Clock.h"

void HelperLaunchLog::recordLaunch(const QUuid& folderID) {
    m_dates.insert(folderID, m_clock.now());
}
