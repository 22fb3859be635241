#pragma once

#include "platform/DockHost.h"

// A user's dock whose pins, running state and geometry the test sets; it says `changed` only when
// the test says so, as a real dock does after its own edits.
class FakeDockHost final : public DockHost {
    Q_OBJECT
public:
    using DockHost::DockHost;

    QString id() const override { return QStringLiteral("fake"); }
    QString displayName() const override { return QStringLiteral("Fake Dock"); }
    bool isRunning() const override { return running; }
    std::optional<QStringList> pinnedEntries() const override {
        return running ? std::optional<QStringList>(pins) : std::nullopt;
    }
    std::optional<QString> pin(const QString& entryId) override {
        if (!running)
            return QStringLiteral("not running");
        if (!pins.contains(entryId))
            pins.append(entryId);
        return std::nullopt;
    }
    std::optional<QString> unpin(const QString& entryId) override {
        if (!running)
            return QStringLiteral("not running");
        pins.removeAll(entryId);
        return std::nullopt;
    }
    std::optional<Geometry> geometry() const override { return running ? shape : std::nullopt; }
    std::optional<TilePosition> tilePosition(const QString&) const override { return std::nullopt; }

    // The user's own edit in the dock, or the dock coming and going.
    void say() { Q_EMIT changed(); }

    bool running = true;
    QStringList pins;
    std::optional<Geometry> shape = Geometry{};
};
