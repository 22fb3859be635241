#include "IconGrid.h"

#include "FolderIcons.h"
#include "widgets/FocusRing.h"
#include "widgets/FolderGlyph.h"
#include "widgets/Shapes.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr double cellRadius = 8;
constexpr double selectionLineWidth = 1.5;
// Room around the cells for the focus ring, which is drawn just outside a cell.
constexpr int margin = 4;

} // namespace

IconGridCell::IconGridCell(IconGrid* grid, QString icon, QWidget* parent)
    : QAbstractButton(parent)
    , m_grid(grid)
    , m_icon(std::move(icon)) {
    // The grid is the keyboard's stop; its cells are reached with the arrow keys.
    setFocusPolicy(Qt::NoFocus);
    setCheckable(true);
    setAutoExclusive(false);
    setAccessibleName(QString(m_icon).replace(QLatin1Char('.'), QLatin1Char(' ')));
    setFixedSize(IconGrid::cellSide, IconGrid::cellSide);
    connect(this, &QAbstractButton::clicked, this, [this] { m_grid->choose(m_grid->indexOf(m_icon)); });
}

QSize IconGridCell::sizeHint() const {
    return {IconGrid::cellSide, IconGrid::cellSide};
}

void IconGridCell::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void IconGridCell::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void IconGridCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF cell = QRectF(rect()).adjusted(1, 1, -1, -1);
    const QPainterPath outline = Shapes::continuousRoundedRect(cell, cellRadius);
    const bool selected = isChecked();
    const QColor accent = palette().color(QPalette::Highlight);
    if (selected) {
        QColor fill = accent;
        fill.setAlphaF(0.14f);
        painter.fillPath(outline, fill);
    } else if (m_hovered || isDown()) {
        painter.fillPath(outline, palette().color(QPalette::AlternateBase));
    }
    FolderGlyph::paint(painter, rect(), m_icon, selected ? accent : palette().color(QPalette::Text),
                       IconGrid::symbolPointSize);
    if (selected) {
        painter.setPen(QPen(accent, selectionLineWidth));
        painter.drawPath(outline);
    }
    if (m_grid->hasFocus() && m_grid->currentIcon() == m_icon)
        FocusRing::paint(painter, outline);
}

IconGrid::IconGrid(const QString& selectedIcon, QWidget* parent)
    : CellGrid(QSize(cellSide, cellSide), spacing, margin, parent) {
    setBackgroundRole(QPalette::Base);
    QWidget* content = widget();
    for (const QLatin1String icon : FolderIcons::availableIcons())
        m_cells.append(new IconGridCell(this, QString(icon), content));
    // The grid paints every pixel it covers, in the panel's fill: a see-through viewport would let
    // whatever was last drawn below it (the page under a dialog) stay in the parts no cell repaints.
    for (QWidget* layer : {viewport(), content}) {
        layer->setBackgroundRole(QPalette::Base);
        layer->setAutoFillBackground(true);
    }
    setSelectedIcon(selectedIcon);
    layOutCells();
}

int IconGrid::indexOf(const QString& icon) const {
    for (int i = 0; i < m_cells.size(); ++i) {
        if (m_cells[i]->icon() == icon)
            return i;
    }
    return -1;
}

QString IconGrid::currentIcon() const {
    return m_cells.value(currentIndex()) ? m_cells[currentIndex()]->icon() : QString();
}

void IconGrid::setSelectedIcon(const QString& icon) {
    m_selected = icon;
    const int index = indexOf(icon);
    for (IconGridCell* cell : std::as_const(m_cells))
        cell->setChecked(cell->icon() == icon);
    if (index >= 0)
        moveCurrent(index);
}

void IconGrid::choose(int index) {
    if (index < 0 || index >= m_cells.size())
        return;
    const QString icon = m_cells[index]->icon();
    setSelectedIcon(icon);
    Q_EMIT iconClicked(icon);
}

QList<QWidget*> IconGrid::placedCells() const {
    return {m_cells.cbegin(), m_cells.cend()};
}

void IconGrid::ringMoved(int previous) {
    if (m_cells.value(previous))
        m_cells[previous]->update();
    if (m_cells.value(currentIndex()))
        m_cells[currentIndex()]->update();
}

bool IconGrid::cellKeyPressed(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
        choose(currentIndex());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Return on the icon already chosen is left to the dialog around the grid (its default button).
        if (currentIcon() != m_selected) {
            choose(currentIndex());
            return true;
        }
        return false;
    default:
        return false;
    }
}
