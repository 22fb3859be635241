#include "CustomColorPickerPopup.h"

#include "TileColorHex.h"
#include "widgets/FocusRing.h"
#include "widgets/Shapes.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr double squareCornerRadius = 6;
constexpr int gap = 6;
// How far one arrow key moves a component.
constexpr double keyStep = 0.02;

double clamp01(double value) {
    return std::clamp(value, 0.0, 1.0);
}

void paintKnob(QPainter& painter, const QPointF& centre, const QColor& fill) {
    painter.setBrush(fill);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawEllipse(centre, 6, 6);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
    painter.drawEllipse(centre, 7.5, 7.5);
}

// Saturation grows to the right, brightness upwards.
class PickerSquare final : public QWidget {
public:
    explicit PickerSquare(CustomColorPickerPopup* popup)
        : QWidget(popup)
        , m_popup(popup) {
        setFixedSize(CustomColorPickerPopup::squareSize, CustomColorPickerPopup::squareSize);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area = rect();
        const QPainterPath outline = Shapes::continuousRoundedRect(area, squareCornerRadius);
        painter.fillPath(outline, QColor::fromHsvF(float(m_popup->hue()), 1, 1));
        QLinearGradient toWhite(area.topLeft(), area.topRight());
        toWhite.setColorAt(0, Qt::white);
        toWhite.setColorAt(1, QColor(255, 255, 255, 0));
        painter.fillPath(outline, toWhite);
        QLinearGradient toBlack(area.topLeft(), area.bottomLeft());
        toBlack.setColorAt(0, QColor(0, 0, 0, 0));
        toBlack.setColorAt(1, Qt::black);
        painter.fillPath(outline, toBlack);
        const QPointF knob(m_popup->saturation() * width(), (1 - m_popup->brightness()) * height());
        paintKnob(painter, knob, m_popup->selectedColor());
        if (hasFocus())
            FocusRing::paint(painter, Shapes::continuousRoundedRect(area.adjusted(1, 1, -1, -1), squareCornerRadius));
    }
    void mousePressEvent(QMouseEvent* event) override { follow(event); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & Qt::LeftButton)
            follow(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        double saturation = m_popup->saturation();
        double brightness = m_popup->brightness();
        switch (event->key()) {
        case Qt::Key_Left:
            saturation -= keyStep;
            break;
        case Qt::Key_Right:
            saturation += keyStep;
            break;
        case Qt::Key_Up:
            brightness += keyStep;
            break;
        case Qt::Key_Down:
            brightness -= keyStep;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
        }
        m_popup->dragSquare(saturation * width(), brightness * height());
    }

private:
    void follow(QMouseEvent* event) {
        const QPointF position = event->position();
        m_popup->dragSquare(position.x(), height() - position.y());
    }
    CustomColorPickerPopup* m_popup;
};

class HueBar final : public QWidget {
public:
    explicit HueBar(CustomColorPickerPopup* popup)
        : QWidget(popup)
        , m_popup(popup) {
        setFixedSize(CustomColorPickerPopup::contentWidth, CustomColorPickerPopup::hueBarHeight);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area = rect();
        QLinearGradient hues(area.topLeft(), area.topRight());
        for (int i = 0; i <= 6; ++i)
            hues.setColorAt(i / 6.0, QColor::fromHsvF(float(i % 6) / 6.0f, 1, 1));
        const QPainterPath outline = Shapes::continuousRoundedRect(area, area.height() / 2);
        painter.fillPath(outline, hues);
        const double x = std::clamp(m_popup->hue() * width(), 7.5, width() - 7.5);
        paintKnob(painter, QPointF(x, area.center().y()), QColor::fromHsvF(float(m_popup->hue()), 1, 1));
        if (hasFocus())
            FocusRing::paint(painter, Shapes::continuousRoundedRect(area.adjusted(1, 1, -1, -1), area.height() / 2));
    }
    void mousePressEvent(QMouseEvent* event) override { m_popup->dragHue(event->position().x()); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & Qt::LeftButton)
            m_popup->dragHue(event->position().x());
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
            const double step = event->key() == Qt::Key_Left ? -keyStep : keyStep;
            m_popup->dragHue((m_popup->hue() + step) * width());
            return;
        }
        QWidget::keyPressEvent(event);
    }

private:
    CustomColorPickerPopup* m_popup;
};

class SwatchButton final : public QAbstractButton {
public:
    SwatchButton(CustomColorPickerPopup* popup, int index)
        : QAbstractButton(popup)
        , m_popup(popup)
        , m_index(index) {
        setFixedSize(CustomColorPickerPopup::swatchSize, CustomColorPickerPopup::swatchSize);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
        connect(this, &QAbstractButton::clicked, popup, [popup, index] { popup->chooseSwatch(index); });
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF centre = QRectF(rect()).center();
        const double radius = width() / 2.0;
        painter.setBrush(m_popup->swatches().at(m_index));
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.drawEllipse(centre, radius - 3, radius - 3);
        if (m_popup->isSwatchSelected(m_index)) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(palette().color(QPalette::Text), 1.5));
            painter.drawEllipse(centre, radius - 0.75, radius - 0.75);
        }
        if (hasFocus()) {
            QPainterPath ring;
            ring.addEllipse(centre, radius - 1, radius - 1);
            FocusRing::paint(painter, ring);
        }
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            click();
            return;
        }
        QAbstractButton::keyPressEvent(event);
    }

private:
    CustomColorPickerPopup* m_popup;
    int m_index;
};

} // namespace

CustomColorPickerPopup::CustomColorPickerPopup(const QColor& current, QList<QColor> swatches, const Names& names,
                                               QWidget* parent)
    : PanelWindow(parent)
    , m_swatches(std::move(swatches))
    , m_square(new PickerSquare(this))
    , m_hueBar(new HueBar(this)) {
    setAccessibleName(names.popup);
    m_square->setAccessibleName(names.square);
    m_hueBar->setAccessibleName(names.hueBar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(popupPadding, popupPadding, popupPadding, popupPadding);
    layout->setSpacing(10);
    layout->addWidget(m_square);
    layout->addWidget(m_hueBar);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(swatchSpacing);
    for (int i = 0; i < m_swatches.size(); ++i) {
        auto* button = new SwatchButton(this, i);
        const QString hex = TileColorHex::hexString(m_swatches.at(i));
        button->setAccessibleName(names.swatch ? names.swatch(hex) : hex);
        row->addWidget(button);
        m_swatchButtons.append(button);
    }
    row->addStretch();
    layout->addLayout(row);
    setPanelSize(layout->sizeHint());
    setFocusProxy(m_square);

    const Rgba rgb = TileColorHex::deviceRgb(current);
    const QColor start = QColor::fromRgbF(float(rgb.red), float(rgb.green), float(rgb.blue));
    m_selectedColor = start;
    const float hue = start.hsvHueF();
    // Greys have no hue of their own; red is where the bar starts.
    m_hue = hue < 0 ? 0.0 : double(hue);
    m_saturation = start.hsvSaturationF();
    m_brightness = start.valueF();
}

QList<QColor> CustomColorPickerPopup::defaultSwatches() {
    return {QColor(0xFF3B30), QColor(0xFF9500), QColor(0xFFCC00), QColor(0x34C759), QColor(0x00C7BE),
            QColor(0x007AFF), QColor(0xAF52DE), QColor(0xFF2D55), QColor(0x8E8E93)};
}

void CustomColorPickerPopup::dragSquare(double x, double yUp) {
    setComponents(m_hue, clamp01(x / m_square->width()), clamp01(yUp / m_square->height()));
}

void CustomColorPickerPopup::dragHue(double x) {
    setComponents(clamp01(x / m_hueBar->width()), m_saturation, m_brightness);
}

void CustomColorPickerPopup::chooseSwatch(int index) {
    if (index < 0 || index >= m_swatches.size())
        return;
    const QColor swatch = m_swatches.at(index).toRgb();
    const float hue = swatch.hsvHueF();
    m_hue = hue < 0 ? m_hue : double(hue);
    m_saturation = swatch.hsvSaturationF();
    m_brightness = swatch.valueF();
    publish(swatch);
}

bool CustomColorPickerPopup::isSwatchSelected(int index) const {
    return index >= 0 && index < m_swatches.size() && TileColorHex::isSameSwatch(m_swatches.at(index), m_selectedColor);
}

void CustomColorPickerPopup::setComponents(double hue, double saturation, double brightness) {
    m_hue = hue;
    m_saturation = saturation;
    m_brightness = brightness;
    publish(QColor::fromHsvF(float(hue), float(saturation), float(brightness), 1.0f).toRgb());
}

void CustomColorPickerPopup::publish(const QColor& color) {
    m_selectedColor = color;
    update();
    m_square->update();
    m_hueBar->update();
    for (QAbstractButton* button : m_swatchButtons)
        button->update();
    Q_EMIT colorChanged(color);
}

void CustomColorPickerPopup::popUp(QWidget* anchor) {
    PanelWindow::popUp(anchor, gap, AnchoredPopup::Edge::Trailing);
    m_square->setFocus(Qt::PopupFocusReason);
}

void CustomColorPickerPopup::keyPressEvent(QKeyEvent* event) {
    // Every change is already applied, so Return simply closes, as Escape does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
