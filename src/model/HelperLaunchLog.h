#pragma once

#include <QHash>
#include <QUuid>

class Clock;

// When each folder's helper was last launched. The store and the helper manager write here as
// they launch helpers; Dock watching reads it to tell a helper that is still starting from one
// whose tile the user removed.
class HelperLaunchLog {
public:
    explicit HelperLaunchLog(const Clock& clock)
        : m_clock(clock) {}

    // Stamps the folder's launch with the current time.
    void recordLaunch(const QUuid& folderID);
    // Drops the folder's stamp, once its folder has left the Dock.
    void forget(const QUuid& folderID) { m_dates.remove(folderID); }
    // Folder id → seconds since 1970 of its latest launch.
    const QHash<QUuid, double>& recentHelperLaunchDates() const { return m_dates; }

private:
    const Clock& m_clock;
    QHash<QUuid, double> m_dates;
};
