#pragma once

#include "platform/FileEvents.h"

#include <QHash>
#include <QString>

// File events the test fires by hand. A watch opens only what exists on disk, as the real one.
class FakeFileEvents final : public FileEvents {
public:
    std::unique_ptr<Watch> watch(const QString& path, Events mask, Handler handler,
                                 Failure* failure = nullptr) override;

    // While set, every new watch fails as the system's limits make it fail; watches made before stay.
    bool exhausted = false;

    bool isWatched(const QString& path) const { return m_watches.contains(path); }
    // Delivers the events that the watch of `path` asked for; false when nothing watches it.
    bool fire(const QString& path, Events fired);

private:
    class FakeWatch;
    QMultiHash<QString, FakeWatch*> m_watches;
};
