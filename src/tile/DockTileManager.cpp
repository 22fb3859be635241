#include "DockTileManager.h"

#include "model/FolderStore.h"
#include "platform/DockTile.h"
#include "platform/FreedMemory.h"
#include "platform/LifetimeBound.h"
#include "platform/Scheduler.h"
#include "settings/AppSettings.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The badge's black plate is the tile's rounded square: inset 44/512 of the width.
constexpr double kBadgeInset = 0.0859375;
constexpr double kBadgeCornerFraction = 0.225;
constexpr double kBadgeSymbolFraction = 0.65;

QString badgeSymbol(const QString& text) {
    if (text == QStringLiteral("OFF"))
        return QStringLiteral("nosign");
    if (text == QStringLiteral("DELETE"))
        return QStringLiteral("xmark.circle");
    return QStringLiteral("checkmark.circle");
}

} // namespace

DockTileManager::DockTileManager(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services)) {
    // Every background takes its colours from the theme (glass most of all), and the tile shown
    // is a picture drawn earlier: a new theme draws it again.
    connect(&m_services.settings, &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::AppTheme)
            refreshTile();
    });
}

DockTileManager::~DockTileManager() = default;

TileImage DockTileManager::folderTileImage(const AppFolder& folder) const {
    // An empty picture once this manager is gone.
    return boundTo(this, [this, folder](int pixels) {
        TileDrawingContext context = m_services.resources;
        context.iconPadding = m_services.settings.tileIconPadding();
        context.lightTheme = m_services.settings.resolvedTheme() == AppThemeMode::Light;
        return TilePainter::render(folder.tileStyle, context, folder, pixels);
    });
}

void DockTileManager::presentFolderTile(const AppFolder& folder) {
    const TileImage image = folderTileImage(folder);
    presentTileImage(image);
    scheduleBundleIconUpdate(image);
}

void DockTileManager::refreshTile() {
    if (const std::optional<QUuid> id = m_services.currentFolderID ? m_services.currentFolderID() : std::nullopt) {
        for (const AppFolder& folder : m_services.store.folders()) {
            if (folder.id == *id) {
                presentFolderTile(folder);
                return;
            }
        }
    }
    // The tile never goes blank once it has shown a picture.
    if (m_lastIcon) {
        const TileImage last = m_lastIcon;
        presentTileImage(last);
        scheduleBundleIconUpdate(last);
    }
}

void DockTileManager::presentTileImage(const TileImage& image) {
    m_lastIcon = image;
    m_services.scheduler.schedule(this, 0,
                                  [this] { m_services.dockTile.setContent(tileContent(m_services.dockTile.size())); });
}

QImage DockTileManager::tileContent(const QSize& size) const {
    QImage content(size, QImage::Format_ARGB32_Premultiplied);
    content.fill(Qt::transparent);
    QPainter painter(&content);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const double width = size.width();
    const double height = size.height();
    if (!m_activeBadge) {
        if (m_lastIcon) {
            // Scaled proportionally into the tile, centred.
            const int side = qMin(size.width(), size.height());
            const QImage image = m_lastIcon(side);
            painter.drawImage(QPointF((width - side) / 2, (height - side) / 2), image);
        }
        return content;
    }
    const double inset = width * kBadgeInset;
    const QRectF plate(inset, inset, width - 2 * inset, height - 2 * inset);
    const double radius = (width - 2 * inset) * kBadgeCornerFraction;
    QPainterPath path;
    path.addRoundedRect(plate, radius, radius);
    painter.fillPath(path, Qt::black);

    const double side = height * kBadgeSymbolFraction;
    const bool dark = m_services.settings.resolvedTheme() == AppThemeMode::Dark;
    const Rgba tint = systemColor(m_activeBadge->color, dark ? Appearance::Dark : Appearance::Light);
    const QColor color = QColor::fromRgbF(float(tint.red), float(tint.green), float(tint.blue), float(tint.alpha));
    if (m_services.resources.symbol) {
        if (const auto symbol = m_services.resources.symbol(badgeSymbol(m_activeBadge->text), side, true, color))
            painter.drawImage(QRectF((width - side) / 2, (height - side) / 2, side, side), *symbol);
    }
    return content;
}

void DockTileManager::scheduleBundleIconUpdate(const TileImage& image) {
    if (m_updateWorkItem)
        m_updateWorkItem->cancel();
    m_updateWorkItem = m_services.scheduler.schedule(this, kIconWriteDelay, [this, image] {
        if (!m_services.setCustomIcon)
            return;
        m_services.setCustomIcon(image(kIconPixels), m_services.bundlePath);
        // The full-size picture and its PNG are gone by now; a helper idles for hours after this.
        FreedMemory::giveBack();
    });
}

void DockTileManager::showBadge(const QString& text, SystemColor color, double duration) {
    m_activeBadge = Badge{text, color};
    if (m_badgeTimer)
        m_badgeTimer->cancel();
    m_badgeTimer = m_services.scheduler.schedule(this, duration, [this] {
        m_activeBadge.reset();
        refreshTile();
    });
    refreshTile();
}
