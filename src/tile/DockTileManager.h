#pragma once

#include "TilePainter.h"
#include "TilePresenter.h"
#include "model/TileColors.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class AppSettings;
class DockTile;
class FolderStore;
class Scheduler;
class WorkItem;

// A tile picture that draws itself at whatever size it is shown, reading the global settings
// at that moment.
using TileImage = std::function<QImage(int pixels)>;

// Draws a helper's Dock tile, shows it, writes it as the bundle's icon, and overlays short
// status badges.
class DockTileManager : public QObject, public TilePresenter {
    Q_OBJECT
public:
    struct Badge {
        QString text;
        SystemColor color;
    };

    struct Services {
        Scheduler& scheduler;
        FolderStore& store;
        AppSettings& settings;
        DockTile& dockTile;
        // The folder this helper serves (its TRGroupUUID), when it is a helper.
        std::function<std::optional<QUuid>()> currentFolderID;
        // Icons and symbols for drawing; the global settings are filled in at drawing time.
        TileDrawingContext resources;
        // Writes an image as the custom icon of a file; failures are not reported.
        std::function<bool(const QImage& image, const QString& path)> setCustomIcon;
        QString bundlePath;
    };

    static constexpr double kIconWriteDelay = 0.5;
    static constexpr int kIconPixels = 512;

    explicit DockTileManager(Services services, QObject* parent = nullptr);
    ~DockTileManager() override;

    // The folder's tile, drawn with the style captured now and the settings of drawing time.
    TileImage folderTileImage(const AppFolder& folder) const;

    void presentFolderTile(const AppFolder& folder) override;
    void refreshTile() override;
    void presentTileImage(const TileImage& image);
    void scheduleBundleIconUpdate(const TileImage& image);
    void showBadge(const QString& text, SystemColor color, double duration) override;

    const std::optional<Badge>& activeBadge() const { return m_activeBadge; }
    bool hasLastIcon() const { return bool(m_lastIcon); }

    // The Dock tile's content at a size: the image, or the badge in its place.
    QImage tileContent(const QSize& size) const;

private:
    Services m_services;
    std::shared_ptr<WorkItem> m_updateWorkItem;
    std::shared_ptr<WorkItem> m_badgeTimer;
    std::optional<Badge> m_activeBadge;
    TileImage m_lastIcon;
};
