#include "DockWindow.h"

#include "DockLabel.h"
#include "DockStrings.h"
#include "DockTiles.h"

#include "platform/FileIconCache.h"
#include "platform/linux/X11DockWindow.h"

#include <QApplication>
#include <QBitmap>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

// The bar's colour: a dark glass where the desktop composites windows, else its opaque equal.
const QColor kBarTranslucent(40, 40, 46, 200);
const QColor kBarOpaque(44, 44, 50);
const QColor kBarStroke(255, 255, 255, 40);
const QColor kDivider(255, 255, 255, 90);
const QColor kIndicator(235, 235, 240);

X11DockWindow::Edge edgeOf(DockOrientation orientation) {
    switch (orientation) {
    case DockOrientation::Left:
        return X11DockWindow::Edge::Left;
    case DockOrientation::Right:
        return X11DockWindow::Edge::Right;
    case DockOrientation::Bottom:
        break;
    }
    return X11DockWindow::Edge::Bottom;
}

QPainterPath barPath(const QRect& bar, int tileSize) {
    QPainterPath path;
    const qreal radius = std::max(6, tileSize / 4);
    path.addRoundedRect(QRectF(bar).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    return path;
}

} // namespace

DockWindow::DockWindow(DockTiles& tiles, FileIconCache& icons, bool translucent)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint)
    , m_tiles(tiles)
    , m_icons(icons)
    , m_translucent(translucent)
    , m_label(new DockLabel(this)) {
    setWindowTitle(QStringLiteral("trellin-dock"));
    setAccessibleName(DockStrings::dockName());
    setAttribute(Qt::WA_TranslucentBackground, m_translucent);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    connect(&m_tiles, &DockTiles::changed, this, &DockWindow::relayout);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::geometryChanged, this, [this] {
            relayout();
            reserveEdge();
        });
    }
    // The type must be on the window before the manager maps it.
    X11DockWindow::setDockType(winId());
    relayout();
}

void DockWindow::setConfiguration(const DockConfiguration& configuration) {
    const bool edgeChanged =
        configuration.orientation != m_configuration.orientation || configuration.tileSize != m_configuration.tileSize;
    m_configuration = configuration;
    m_pointer.reset();
    relayout();
    if (edgeChanged)
        reserveEdge();
}

// What tiles are drawn at by those who publish them: the configured size, so a tile shrunk to fit
// or magnified past it stays sharp.
int DockWindow::tilePixels() const {
    return int(std::lround(m_configuration.tileSize * devicePixelRatioF()));
}

void DockWindow::relayout() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    m_items = m_tiles.items();
    const int pinned = int(std::count_if(m_items.cbegin(), m_items.cend(), [](const DockItem& i) { return i.pinned; }));
    m_layout = DockLayout::compute({
        .orientation = m_configuration.orientation,
        .tileSize = m_configuration.tileSize,
        .largeSize = m_configuration.largeSize,
        .magnification = m_configuration.magnification,
        .screen = screen->geometry(),
        .pinnedCount = pinned,
        .runningCount = int(m_items.size()) - pinned,
        .pointer = m_pointer,
    });
    if (geometry() != m_layout.window)
        setGeometry(m_layout.window);
    // A full Dock is thinner: the strip it keeps follows its tiles.
    if (m_layout.reservedThickness != m_reservedThickness && isVisible())
        reserveEdge();
    if (m_labelled >= m_items.size())
        showLabel(-1);
    else if (m_labelled >= 0)
        showLabel(m_labelled);

    // Only the bar and the tiles' pictures take clicks and show; the rest of the window lets the
    // desktop through, composited or not.
    QBitmap barShape(m_layout.window.size());
    barShape.fill(Qt::color0);
    {
        QPainter painter(&barShape);
        painter.fillPath(barPath(m_layout.bar, m_layout.tileSize), Qt::color1);
    }
    QRegion mask(barShape);
    for (int i = 0; i < m_items.size() && i < m_layout.tiles.size(); ++i) {
        const QRect tile = m_layout.tiles.at(i);
        const QImage picture = imageOf(m_items.at(i), tile.width()).scaled(tile.size(), Qt::IgnoreAspectRatio);
        mask += QRegion(QBitmap::fromImage(picture.createAlphaMask())).translated(tile.topLeft());
    }
    setMask(mask);
    update();
}

void DockWindow::reserveEdge() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    m_reservedThickness = m_layout.reservedThickness;
    X11DockWindow::reserveEdge(winId(), edgeOf(m_configuration.orientation), m_layout.reservedThickness,
                               screen->geometry(), screen->virtualGeometry());
}

void DockWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    reserveEdge();
}

QImage DockWindow::imageOf(const DockItem& item, int pixels) {
    if (!item.content.isNull())
        return item.content;
    // Icons are decoded once at the magnified size, so a growing tile stays sharp.
    const int largest =
        int(std::lround(std::max(m_configuration.largeSize, m_configuration.tileSize) * devicePixelRatioF()));
    return m_icons.icon(item.path, std::max(pixels, largest));
}

void DockWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QPainterPath bar = barPath(m_layout.bar, m_layout.tileSize);
    painter.fillPath(bar, m_translucent ? kBarTranslucent : kBarOpaque);
    painter.setPen(QPen(kBarStroke, 1));
    painter.drawPath(bar);

    if (m_layout.divider) {
        painter.setPen(QPen(kDivider, 1));
        const QRect line = *m_layout.divider;
        if (m_configuration.orientation == DockOrientation::Bottom)
            painter.drawLine(line.center().x(), line.top(), line.center().x(), line.bottom());
        else
            painter.drawLine(line.left(), line.center().y(), line.right(), line.center().y());
    }

    for (int i = 0; i < m_items.size() && i < m_layout.tiles.size(); ++i) {
        if (m_dragging && i == m_pressed)
            continue;
        const QRect tile = m_layout.tiles.at(i);
        const DockItem& item = m_items.at(i);
        // Without compositing nothing of the desktop shows behind a tile that grew past the bar:
        // its translucent pixels lie on the bar's colour there as well.
        if (!m_translucent)
            painter.fillRect(tile, kBarOpaque);
        painter.drawImage(tile, imageOf(item, int(std::lround(tile.width() * devicePixelRatioF()))));
        if (item.running) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(kIndicator);
            const int radius = std::max(2, m_layout.tileSize / 24);
            painter.drawEllipse(m_layout.indicatorCentre(i, m_configuration.orientation), radius, radius);
        }
    }
}

int DockWindow::alongEdge(QPoint global) const {
    return m_configuration.orientation == DockOrientation::Bottom ? global.x() : global.y();
}

void DockWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (m_pressed >= 0 && (event->buttons() & Qt::LeftButton)) {
        if (!m_dragging && m_items.value(m_pressed).pinned &&
            (global - m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragging = true;
            showLabel(-1);
        }
        if (m_dragging) {
            moveDragImage(global);
            update();
            return;
        }
    }
    if (m_configuration.magnification) {
        m_pointer = alongEdge(global);
        relayout();
    }
    if (m_pressed < 0)
        showLabel(m_layout.tileAt(event->position().toPoint()));
}

void DockWindow::leaveEvent(QEvent*) {
    showLabel(-1);
    if (m_pointer && !m_dragging) {
        m_pointer.reset();
        relayout();
    }
}

void DockWindow::showLabel(int index) {
    m_labelled = index >= 0 && index < m_items.size() && index < m_layout.tiles.size() ? index : -1;
    if (m_labelled < 0) {
        m_label->hide();
        return;
    }
    if (m_label->text() != m_items.at(m_labelled).label)
        m_label->setText(m_items.at(m_labelled).label);
    m_label->setGeometry(m_layout.labelFor(m_labelled, m_label->sizeHint(), m_configuration.orientation));
    m_label->show();
}

void DockWindow::mousePressEvent(QMouseEvent* event) {
    showLabel(-1);
    const int index = m_layout.tileAt(event->position().toPoint());
    if (index < 0 || index >= m_items.size())
        return;
    if (event->button() == Qt::RightButton) {
        showMenu(m_items.at(index), event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_pressed = index;
        m_pressPoint = event->globalPosition().toPoint();
    }
}

void DockWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_pressed < 0)
        return;
    const int pressed = m_pressed;
    m_pressed = -1;
    if (m_dragging) {
        m_dragging = false;
        endDrag(pressed, event->globalPosition().toPoint());
        update();
        return;
    }
    if (m_layout.tileAt(event->position().toPoint()) == pressed && pressed < m_items.size())
        Q_EMIT tileClicked(m_items.at(pressed).path);
}

void DockWindow::moveDragImage(QPoint global) {
    if (!m_dragImage) {
        // A window of its own, owned by the Dock: it follows the pointer anywhere on the screen.
        m_dragImage = new QLabel(this, Qt::ToolTip | Qt::FramelessWindowHint);
        m_dragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_dragImage->setAttribute(Qt::WA_TranslucentBackground, m_translucent);
    }
    const int side = m_layout.tileSize;
    QPixmap picture =
        QPixmap::fromImage(imageOf(m_items.at(m_pressed), tilePixels()))
            .scaled(QSize(side, side) * devicePixelRatioF(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(devicePixelRatioF());
    m_dragImage->setPixmap(picture);
    m_dragImage->resize(side, side);
    if (!m_translucent)
        m_dragImage->setMask(picture.mask().isNull() ? QRegion(0, 0, side, side) : QRegion(picture.mask()));
    m_dragImage->move(global - QPoint(side / 2, side / 2));
    m_dragImage->show();
}

void DockWindow::endDrag(int index, QPoint global) {
    if (m_dragImage)
        m_dragImage->hide();
    // Let go away from the bar: the tile leaves the Dock, as the Dock's own drag-off does.
    const QRect bar = m_layout.bar.translated(m_layout.window.topLeft());
    const int distance = m_layout.tileSize;
    if (!bar.adjusted(-distance, -distance, distance, distance).contains(global) && index < m_items.size())
        Q_EMIT removeRequested(m_items.at(index).path);
}

void DockWindow::showMenu(const DockItem& item, QPoint global) {
    QMenu menu(this);
    menu.setAccessibleName(item.label);
    QAction* header = menu.addAction(item.label);
    header->setEnabled(false);
    menu.addSeparator();
    const QString path = item.path;
    if (item.pinned)
        connect(menu.addAction(DockStrings::removeFromDock()), &QAction::triggered, this,
                [this, path] { Q_EMIT removeRequested(path); });
    else
        connect(menu.addAction(DockStrings::keepInDock()), &QAction::triggered, this,
                [this, path] { Q_EMIT keepRequested(path); });
    if (item.running) {
        menu.addSeparator();
        connect(menu.addAction(DockStrings::quit()), &QAction::triggered, this,
                [this, path] { Q_EMIT quitRequested(path); });
    }
    menu.exec(global);
    if (m_pointer) {
        m_pointer.reset();
        relayout();
    }
}

QList<DockTileRecord> DockWindow::tileRecords() const {
    QList<DockTileRecord> records;
    for (int i = 0; i < m_items.size() && i < m_layout.tiles.size(); ++i) {
        const DockItem& item = m_items.at(i);
        records.append({item.path, item.label, item.pinned, item.running,
                        m_layout.tiles.at(i).translated(m_layout.window.topLeft())});
    }
    return records;
}
