#include "AppGridItem.h"

#include "AppReorder.h"

#include "discovery/FolderExchange.h"
#include "platform/FileIconCache.h"
#include "platform/LifetimeBound.h"
#include "platform/Scheduler.h"
#include "platform/Symbols.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/FocusRing.h"
#include "widgets/FolderGlyph.h"
#include "widgets/GlyphButton.h"
#include "widgets/Shapes.h"
#include "widgets/Theme.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

GlyphButtonStyle badgeStyle() {
    GlyphButtonStyle style;
    style.pointSize = 7;
    style.bold = true;
    style.color = Qt::white;
    style.frame = QSizeF(AppGridItem::badgeSize, AppGridItem::badgeSize);
    style.circle = QColor(0, 0, 0, 150);
    // The dark circle alone vanishes on a dark card.
    style.circleEdge = QColor(255, 255, 255, 220);
    style.pressedOpacity = 0.6;
    return style;
}

// How long a finished drag keeps its tile marked, so the last move settles first.
constexpr double dragEndDelay = 0.1;

} // namespace

AppGridItem::AppGridItem(const MainWindowEnvironment& environment, const AppItem& app, bool isEditing, QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_app(app)
    , m_isEditing(isEditing)
    , m_isMissing(!FolderExchange::isInstalled(app))
    , m_badge(new GlyphButton(badgeStyle(), QStringLiteral("xmark"), this)) {
    setFixedSize(tileSize, tileSize);
    setAccessibleName(app.name);
    m_badge->move(0, 0);
    connect(m_badge, &QAbstractButton::clicked, this, [this] { Q_EMIT deleteRequested(m_app.id); });
    retranslate();
    setEditing(isEditing);
}

AppGridItem::~AppGridItem() {
    if (m_iconLoad)
        m_iconLoad->cancel();
}

void AppGridItem::setEditing(bool editing) {
    m_isEditing = editing;
    m_badge->setVisible(editing);
    // Only an editing card reorders, so only its tiles take drops.
    setAcceptDrops(editing);
    if (!editing)
        m_isDragged = false;
    update();
}

void AppGridItem::setDragged(bool dragged) {
    if (m_isDragged == dragged)
        return;
    m_isDragged = dragged;
    update();
}

void AppGridItem::retranslate() {
    const Localization& texts = m_environment.localization;
    m_badge->setAccessibleName(texts.format(L10nKey::folderRemoveApp, {m_app.name}));
    const QString missing = m_isMissing ? texts.text(L10nKey::folderAppMissing) : QString();
    setToolTip(missing.isEmpty() ? m_app.name : m_app.name + QLatin1Char('\n') + missing);
    setAccessibleDescription(missing);
}

std::optional<QUuid> AppGridItem::draggedID(const QString& text) {
    const QUuid id = QUuid::fromString(text.trimmed());
    if (id.isNull())
        return std::nullopt;
    return id;
}

QSize AppGridItem::sizeHint() const {
    return {tileSize, tileSize};
}

void AppGridItem::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_icon || m_iconLoad)
        return;
    // Decoding waits for the next turn of the loop, so a card with many tiles opens at once.
    m_iconLoad = m_environment.scheduler.schedule(this, 0, [this] { loadIcon(); });
}

void AppGridItem::loadIcon() {
    const int pixels = int(std::ceil(iconSize * devicePixelRatioF()));
    const QImage image = m_environment.icons.icon(m_app.path(), pixels);
    if (!image.isNull())
        m_icon = image;
    update();
}

void AppGridItem::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_isDragged)
        painter.setOpacity(0.4);
    const QRectF bounds = rect();
    if (m_isHovered && !m_isDragged) {
        QColor hover = palette().color(QPalette::Text);
        hover.setAlphaF(0.08);
        painter.fillPath(Shapes::continuousRoundedRect(bounds, 10), hover);
    }
    const double inset = (tileSize - iconSize) / 2.0;
    const QRectF iconRect = bounds.adjusted(inset, inset, -inset, -inset);
    const double opacity = painter.opacity();
    if (m_isMissing)
        painter.setOpacity(opacity * 0.45);
    if (m_icon) {
        painter.drawImage(iconRect, *m_icon);
    } else if (const auto placeholder = Symbols::image(QStringLiteral("app.dashed"), 28, false,
                                                       palette().color(QPalette::PlaceholderText))) {
        const QRectF symbolRect(0, 0, placeholder->width(), placeholder->height());
        painter.drawImage(QRectF(iconRect.center() - symbolRect.center(), symbolRect.size()), *placeholder);
    }
    if (m_isMissing) {
        // The mark at the trailing bottom corner, on a disc of the window's colour so it reads over any icon.
        painter.setOpacity(opacity);
        const QRectF disc(bounds.right() - badgeSize - 1, bounds.bottom() - badgeSize - 1, badgeSize, badgeSize);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::Window));
        painter.drawEllipse(disc);
        const bool dark = Theme::schemeOf(*this) == ColorScheme::Dark;
        if (const auto mark = Symbols::image(QStringLiteral("exclamationmark.triangle.fill"), badgeSize - 5, false,
                                             dark ? QColor(255, 159, 10) : QColor(201, 102, 0))) {
            const QRectF markRect(0, 0, mark->width(), mark->height());
            painter.drawImage(QRectF(disc.center() - markRect.center(), markRect.size()), *mark);
        }
    }
}

void AppGridItem::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        update();
}

void AppGridItem::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    m_isHovered = true;
    update();
}

void AppGridItem::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_isHovered = false;
    update();
}

void AppGridItem::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_isEditing)
        m_pressPosition = event->position().toPoint();
    event->accept();
}

void AppGridItem::mouseMoveEvent(QMouseEvent* event) {
    if (!m_isEditing || !m_pressPosition || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - *m_pressPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressPosition.reset();
    startDrag();
}

void AppGridItem::startDrag() {
    const QUuid id = m_app.id;
    Q_EMIT dragStarted(id);
    auto* mime = new QMimeData;
    mime->setText(id.toString(QUuid::WithoutBraces));
    // The drag runs its own event loop, in which a drop may rebuild the grid and delete this item.
    const auto finished = boundTo(this, [this, id] { Q_EMIT dragFinished(id); });
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    if (m_icon)
        drag->setPixmap(
            QPixmap::fromImage(m_icon->scaled(iconSize, iconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    finished();
}

void AppGridItem::dragEnterEvent(QDragEnterEvent* event) {
    if (!m_isEditing || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    Q_EMIT dropEntered(m_app.id, draggedID(event->mimeData()->text()));
}

void AppGridItem::dragMoveEvent(QDragMoveEvent* event) {
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void AppGridItem::dropEvent(QDropEvent* event) {
    event->setDropAction(Qt::MoveAction);
    event->accept();
    Q_EMIT dropPerformed(m_app.id);
}

AppGridLayout::AppGridLayout(QWidget* parent)
    : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
}

AppGridLayout::~AppGridLayout() {
    qDeleteAll(m_items);
}

void AppGridLayout::setWidgets(const QList<QWidget*>& widgets) {
    qDeleteAll(m_items);
    m_items.clear();
    for (QWidget* widget : widgets) {
        addChildWidget(widget);
        m_items.append(new QWidgetItem(widget));
    }
    invalidate();
}

void AppGridLayout::addItem(QLayoutItem* item) {
    m_items.append(item);
}

QLayoutItem* AppGridLayout::itemAt(int index) const {
    return m_items.value(index);
}

QLayoutItem* AppGridLayout::takeAt(int index) {
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

int AppGridLayout::heightForWidth(int width) const {
    return arrange(QRect(0, 0, width, 0), false);
}

QSize AppGridLayout::sizeHint() const {
    return {AppGridItem::tileSize, heightForWidth(AppGridItem::tileSize * 6 + spacing * 5)};
}

QSize AppGridLayout::minimumSize() const {
    return {AppGridItem::tileSize, m_items.isEmpty() ? 0 : AppGridItem::tileSize};
}

void AppGridLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int AppGridLayout::columnsFor(int width) {
    const int step = AppGridItem::tileSize + spacing;
    return std::max(1, (width + spacing) / step);
}

int AppGridLayout::arrange(const QRect& rect, bool apply) const {
    if (m_items.isEmpty())
        return 0;
    const int step = AppGridItem::tileSize + spacing;
    const int columns = columnsFor(rect.width());
    for (qsizetype i = 0; apply && i < m_items.size(); ++i) {
        const int row = int(i) / columns;
        const int column = int(i) % columns;
        m_items[i]->setGeometry(
            QRect(rect.x() + column * step, rect.y() + row * step, AppGridItem::tileSize, AppGridItem::tileSize));
    }
    const int rows = int((m_items.size() + columns - 1) / columns);
    return rows * step - spacing;
}

FolderGlyphButton::FolderGlyphButton(double pointSize, QWidget* parent)
    : QAbstractButton(parent)
    , m_pointSize(pointSize) {
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(28, 28);
    setCursor(Qt::PointingHandCursor);
}

void FolderGlyphButton::setSymbol(const QString& symbol) {
    m_symbol = symbol;
    update();
}

void FolderGlyphButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = Shapes::continuousRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 7);
    QColor fill = palette().color(QPalette::AlternateBase);
    painter.fillPath(outline, isDown() ? fill.darker(115) : fill);
    FolderGlyph::paint(painter, QRectF(rect()), m_symbol, palette().color(QPalette::Text), m_pointSize);
    if (hasFocus())
        FocusRing::paint(painter, outline);
}

void FolderGlyphButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

AppGrid::AppGrid(const MainWindowEnvironment& environment, QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_layout(new AppGridLayout(this)) {}

AppGrid::~AppGrid() {
    if (m_dragEnd)
        m_dragEnd->cancel();
}

void AppGrid::setApps(const QList<AppItem>& apps, bool isEditing) {
    m_isEditing = isEditing;
    QList<AppGridItem*> unused = m_tiles;
    QList<AppGridItem*> tiles;
    for (const AppItem& app : apps) {
        const auto found =
            std::find_if(unused.begin(), unused.end(), [&app](AppGridItem* tile) { return tile->app() == app; });
        AppGridItem* tile = nullptr;
        if (found != unused.end()) {
            tile = *found;
            unused.erase(found);
        } else {
            tile = new AppGridItem(m_environment, app, isEditing, this);
            connect(tile, &AppGridItem::deleteRequested, this, &AppGrid::deleteRequested);
            connect(tile, &AppGridItem::dragStarted, this, [this](const QUuid& id) { setDraggingAppID(id); });
            connect(tile, &AppGridItem::dragFinished, this, &AppGrid::endDragSoon);
            connect(tile, &AppGridItem::dropEntered, this, &AppGrid::enterDrop);
            connect(tile, &AppGridItem::dropPerformed, this, &AppGrid::endDragSoon);
            tile->deleteBadge()->installEventFilter(this);
        }
        tile->setEditing(isEditing);
        tiles.append(tile);
    }
    for (AppGridItem* tile : unused) {
        // Later, not now: this may run inside the drag of that very tile.
        tile->hide();
        tile->deleteLater();
    }
    m_tiles = tiles;
    m_layout->setWidgets(QList<QWidget*>(tiles.begin(), tiles.end()));
    for (AppGridItem* tile : tiles)
        tile->show();
    const bool draggedStillHere = std::any_of(tiles.begin(), tiles.end(), [this](AppGridItem* tile) {
        return m_draggingAppID && tile->app().id == *m_draggingAppID;
    });
    setDraggingAppID(isEditing && draggedStillHere ? m_draggingAppID : std::nullopt);
    describePlaces();
}

void AppGrid::describePlaces() {
    const Localization& localization = m_environment.localization;
    for (qsizetype i = 0; i < m_tiles.size(); ++i) {
        const QString place = m_isEditing
                                  ? localization.format(L10nKey::folderAppPosition, {int(i + 1), int(m_tiles.size())})
                                  : QString();
        if (m_tiles[i]->deleteBadge()->accessibleDescription() != place)
            m_tiles[i]->deleteBadge()->setAccessibleDescription(place);
    }
}

bool AppGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && m_isEditing) {
        for (AppGridItem* tile : std::as_const(m_tiles)) {
            if (tile->deleteBadge() == watched)
                return badgeKeyPressed(tile, static_cast<QKeyEvent*>(event));
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool AppGrid::badgeKeyPressed(AppGridItem* tile, QKeyEvent* event) {
    const qsizetype index = m_tiles.indexOf(tile);
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier && (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)) {
        Q_EMIT deleteRequested(tile->app().id);
        // The focus goes on to the application that took its place, else the one before.
        if (!m_tiles.isEmpty() && !m_tiles.contains(tile))
            m_tiles.at(std::min(index, m_tiles.size() - 1))->deleteBadge()->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (modifiers != Qt::ControlModifier)
        return false;
    const std::optional<qsizetype> target =
        AppReorder::keyboardTarget(event->key(), index, m_tiles.size(), columnCount());
    if (!target) {
        // An arrow at the edge moves nothing, and goes nowhere else either.
        const int key = event->key();
        return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
               key == Qt::Key_Home || key == Qt::Key_End;
    }
    Q_EMIT moveToRequested(tile->app().id, int(*target));
    // The tile itself moved, so the focus stays with the application it belongs to.
    tile->deleteBadge()->setFocus(Qt::TabFocusReason);
    return true;
}

void AppGrid::setDraggingAppID(const std::optional<QUuid>& draggingAppID) {
    if (draggingAppID && m_dragEnd) {
        m_dragEnd->cancel();
        m_dragEnd.reset();
    }
    m_draggingAppID = draggingAppID;
    for (AppGridItem* tile : m_tiles)
        tile->setDragged(draggingAppID && tile->app().id == *draggingAppID);
}

void AppGrid::retranslate() {
    for (AppGridItem* tile : m_tiles)
        tile->retranslate();
    describePlaces();
}

void AppGrid::enterDrop(const QUuid& targetID, const std::optional<QUuid>& offeredID) {
    if (!m_isEditing)
        return;
    if (!m_draggingAppID) {
        setDraggingAppID(offeredID);
        return;
    }
    if (*m_draggingAppID != targetID)
        Q_EMIT moveRequested(*m_draggingAppID, targetID);
}

void AppGrid::endDragSoon() {
    if (m_dragEnd)
        m_dragEnd->cancel();
    m_dragEnd = m_environment.scheduler.schedule(this, dragEndDelay, [this] { setDraggingAppID(std::nullopt); });
}
