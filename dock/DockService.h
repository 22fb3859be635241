#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QRect>

#include <functional>

class DockTiles;
class QDBusServiceWatcher;

// A tile as Tiles() reports it: "(ssbbiiii)".
struct DockTileRecord {
    QString path;
    QString label;
    bool pinned = false;
    bool running = false;
    QRect geometry; // global pixels
};
Q_DECLARE_METATYPE(DockTileRecord)
QDBusArgument& operator<<(QDBusArgument& argument, const DockTileRecord& record);
const QDBusArgument& operator>>(const QDBusArgument& argument, DockTileRecord& record);

// The Dock's object on the session bus (docs/dock-protocol.md): applications announce themselves
// and publish their tile content; an application is dropped when its bus connection ends.
class DockService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.trellin.Dock")
    Q_PROPERTY(int TileSize READ tileSize)
public:
    static constexpr qsizetype maximumContentBytes = 16 * 1024 * 1024;

    struct View {
        std::function<int()> tileSize;                // pixels
        std::function<QList<DockTileRecord>()> tiles; // as shown now
    };

    DockService(DockTiles& tiles, View view, const QDBusConnection& bus);

    // Exports the object, then takes the service name; false when another Dock has it.
    bool publish();

    int tileSize() const { return m_view.tileSize(); }

public Q_SLOTS:
    Q_SCRIPTABLE void SetTileContent(const QString& bundlePath, const QByteArray& png);
    Q_SCRIPTABLE void Register(const QString& bundlePath);
    Q_SCRIPTABLE void Unregister(const QString& bundlePath);
    Q_SCRIPTABLE QList<DockTileRecord> Tiles();

private:
    // The standardised path, or none after an error reply.
    std::optional<QString> checkedPath(const QString& bundlePath);
    void watch(const QString& owner);

    DockTiles& m_tiles;
    View m_view;
    QDBusConnection m_bus;
    QDBusServiceWatcher* m_owners;
};
