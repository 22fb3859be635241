#include "PanelWindow.h"

#include "Shadow.h"
#include "Shapes.h"
#include "Theme.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace {

ShadowStyle shadowStyle(bool dark) {
    // A dark window needs a deeper shadow to stand off a dark desktop.
    return {QColor(0, 0, 0, dark ? 110 : 52), 14.0, {0, 6.0}};
}

} // namespace

PanelWindow::PanelWindow(QWidget* parent, Qt::WindowFlags kind)
    : QWidget(parent, kind | Qt::FramelessWindowHint) {
    // A window of its own, yet drawn in the theme of the window that opened it.
    setAttribute(Qt::WA_WindowPropagation);
    applyTranslucency();
}

bool PanelWindow::isTranslucent() const {
    if (m_translucent)
        return *m_translucent;
    const QWidget* opener = parentWidget() ? parentWidget()->window() : nullptr;
    return opener && opener->testAttribute(Qt::WA_TranslucentBackground);
}

void PanelWindow::setTranslucent(bool translucent) {
    m_translucent = translucent;
    applyTranslucency();
}

void PanelWindow::applyTranslucency() {
    setAttribute(Qt::WA_TranslucentBackground, isTranslucent());
    const int margin = shadowMargin();
    setContentsMargins(margin, margin, margin, margin);
    // The panel keeps its size; the window around it gains or loses the shadow's room.
    if (m_panelSize)
        setPanelSize(*m_panelSize);
    updateShape();
}

void PanelWindow::setCornerRadius(double radius) {
    m_cornerRadius = radius;
    updateShape();
    update();
}

void PanelWindow::setContentDrawsPanel(bool drawsPanel) {
    m_contentDrawsPanel = drawsPanel;
    update();
}

int PanelWindow::shadowMargin() const {
    if (!isTranslucent())
        return 0;
    const ShadowStyle style = shadowStyle(false);
    return int(std::ceil(Shadow::margin(style) + std::abs(style.offset.y())));
}

QRect PanelWindow::panelRect() const {
    const int margin = shadowMargin();
    return rect().adjusted(margin, margin, -margin, -margin);
}

void PanelWindow::setPanelSize(QSize size) {
    m_panelSize = size;
    const int margin = shadowMargin();
    setFixedSize(size + QSize(2 * margin, 2 * margin));
}

void PanelWindow::popUp(const QWidget* anchor, int gap, AnchoredPopup::Edge edge) {
    const QRect panel = panelRect();
    move(AnchoredPopup::position(panel.size(), screen(), anchor, gap, edge) - panel.topLeft());
    show();
}

void PanelWindow::showCentred(const QScreen* screen) {
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect panel = panelRect();
    if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(panel.width() / 2, panel.height() / 2) - panel.topLeft());
    }
    show();
}

QPainterPath PanelWindow::outline() const {
    return Shapes::continuousRoundedRect(QRectF(panelRect()), m_cornerRadius);
}

void PanelWindow::updateShape() {
    if (isTranslucent()) {
        clearMask();
        return;
    }
    // Whole pixels only: the mask keeps every pixel the panel's outline covers.
    setMask(QRegion(outline().toFillPolygon().toPolygon()));
}

void PanelWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateShape();
}

void PanelWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ParentChange)
        applyTranslucency();
}

void PanelWindow::mousePressEvent(QMouseEvent* event) {
    // The shadow is not the panel: a click there is a click beside it.
    if (windowType() == Qt::Popup && !outline().contains(event->position())) {
        close();
        return;
    }
    QWidget::mousePressEvent(event);
}

void PanelWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect panel = panelRect();
    if (isTranslucent()) {
        const bool dark = Theme::schemeOf(*this) == ColorScheme::Dark;
        const QPainterPath shape = outline();
        if (m_shadow.isNull() || m_shadowSize != panel.size() || m_shadowDark != dark) {
            m_shadow = Shadow::render(shape, shadowStyle(dark));
            m_shadowSize = panel.size();
            m_shadowDark = dark;
        }
        Shadow::paint(painter, shape, m_shadow, shadowStyle(dark));
    } else {
        // The corners the mask keeps take the panel's colour, not the window's.
        painter.fillRect(rect(), palette().color(QPalette::Base));
    }
    if (!m_contentDrawsPanel)
        Theme::paintPanel(painter, QRectF(panel), m_cornerRadius, palette());
}
