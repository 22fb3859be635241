#include "TrafficLights.h"

#include "platform/Symbols.h"
#include "widgets/FocusRing.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPainter>

namespace {

QColor colorOf(TrafficLightKind kind) {
    switch (kind) {
    case TrafficLightKind::Close:
        return QColor::fromRgbF(1.0f, 0.3725f, 0.3412f);
    case TrafficLightKind::Minimize:
        return QColor::fromRgbF(1.0f, 0.7412f, 0.1804f);
    case TrafficLightKind::Zoom:
        break;
    }
    return QColor::fromRgbF(0.1529f, 0.7882f, 0.2471f);
}

// The zoom glyph: two small triangles pointing apart along the diagonal, in an 8-point square.
void paintZoomGlyph(QPainter& painter, const QPointF& centre, const QColor& color) {
    const QRectF box(centre.x() - 4, centre.y() - 4, 8, 8);
    QPainterPath glyph;
    glyph.moveTo(box.left() + 1, box.top() + 1);
    glyph.lineTo(box.left() + 5.5, box.top() + 1);
    glyph.lineTo(box.left() + 1, box.top() + 5.5);
    glyph.closeSubpath();
    glyph.moveTo(box.right() - 1, box.bottom() - 1);
    glyph.lineTo(box.right() - 5.5, box.bottom() - 1);
    glyph.lineTo(box.right() - 1, box.bottom() - 5.5);
    glyph.closeSubpath();
    painter.fillPath(glyph, color);
}

class TrafficLightButton final : public QAbstractButton {
public:
    TrafficLightButton(TrafficLightKind kind, const TrafficLights* group, QWidget* parent)
        : QAbstractButton(parent)
        , m_kind(kind)
        , m_group(group) {
        setFocusPolicy(Qt::TabFocus);
        setFixedSize(int(TrafficLights::diameter), int(TrafficLights::diameter));
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            animateClick();
            return;
        }
        QAbstractButton::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        QPainterPath circle;
        circle.addEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.fillPath(circle, isDown() ? colorOf(m_kind).darker(115) : colorOf(m_kind));
        painter.setPen(QPen(QColor(0, 0, 0, 30), 0.5));
        painter.drawPath(circle);
        if (m_group->isHovered() || hasFocus()) {
            QColor glyph(Qt::black);
            glyph.setAlphaF(0.72f);
            if (m_kind == TrafficLightKind::Zoom) {
                paintZoomGlyph(painter, QRectF(rect()).center(), glyph);
            } else {
                const double scale = devicePixelRatioF();
                const QString name =
                    m_kind == TrafficLightKind::Close ? QStringLiteral("xmark") : QStringLiteral("minus");
                if (const std::optional<QImage> image = Symbols::image(name, 7.2 * scale * 1.25, true, glyph)) {
                    const double side = image->width() / scale;
                    painter.drawImage(QRectF((width() - side) / 2, (height() - side) / 2, side, side), *image);
                }
            }
        }
        if (FocusRing::shows(*this))
            FocusRing::paint(painter, circle);
    }

private:
    TrafficLightKind m_kind;
    const TrafficLights* m_group;
};

} // namespace

TrafficLights::TrafficLights(QWidget* parent)
    : QWidget(parent) {
    for (const TrafficLightKind kind : {TrafficLightKind::Close, TrafficLightKind::Minimize, TrafficLightKind::Zoom}) {
        auto* button = new TrafficLightButton(kind, this, this);
        const int index = int(kind);
        button->move(int(index * (diameter + spacing)), 0);
        m_buttons[std::size_t(index)] = button;
    }
    connect(button(TrafficLightKind::Close), &QAbstractButton::clicked, this, &TrafficLights::closeClicked);
    connect(button(TrafficLightKind::Minimize), &QAbstractButton::clicked, this, &TrafficLights::minimizeClicked);
    // Zoom has no action of its own here.
    button(TrafficLightKind::Zoom)->setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setFixedSize(sizeHint());
}

void TrafficLights::setAccessibleNames(const QString& close, const QString& minimize, const QString& zoom) {
    button(TrafficLightKind::Close)->setAccessibleName(close);
    button(TrafficLightKind::Minimize)->setAccessibleName(minimize);
    button(TrafficLightKind::Zoom)->setAccessibleName(zoom);
}

QSize TrafficLights::sizeHint() const {
    return {int(3 * diameter + 2 * spacing), int(diameter)};
}

void TrafficLights::enterEvent(QEnterEvent*) {
    m_hovered = true;
    for (QAbstractButton* b : m_buttons)
        b->update();
}

void TrafficLights::leaveEvent(QEvent*) {
    m_hovered = false;
    for (QAbstractButton* b : m_buttons)
        b->update();
}
