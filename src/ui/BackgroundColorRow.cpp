#include "BackgroundColorRow.h"

#include "TileColorHex.h"
#include "model/TileColors.h"
#include "widgets/FocusRing.h"

#include <QConicalGradient>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int circleBox = 26;
constexpr double circleDiameter = 18;
constexpr int circleSpacing = 3;
constexpr int caseCount = int(kTileBackgroundCases.size());

} // namespace

ColorCircle::ColorCircle(const QColor& color, bool isSelected, std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent)
    , m_color(color)
    , m_isSelected(isSelected)
    , m_action(std::move(action)) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
}

void ColorCircle::setColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void ColorCircle::setSelected(bool selected) {
    if (selected == m_isSelected)
        return;
    m_isSelected = selected;
    update();
}

void ColorCircle::setRainbow(bool rainbow) {
    m_rainbow = rainbow;
    update();
}

void ColorCircle::setFrosted(bool frosted) {
    m_frosted = frosted;
    update();
}

QSize ColorCircle::sizeHint() const {
    return {circleBox, circleBox};
}

void ColorCircle::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ColorCircle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // A disabled choice still shows its colour, faded as the kit fades its other controls.
    painter.setOpacity(isEnabled() ? 1.0 : 0.4);
    const QPointF centre = QRectF(rect()).center();
    const double radius = circleDiameter / 2;
    const QRectF disc(centre.x() - radius, centre.y() - radius, circleDiameter, circleDiameter);
    if (m_rainbow) {
        QConicalGradient wheel(centre, 90);
        for (int i = 0; i <= 6; ++i)
            wheel.setColorAt(i / 6.0, QColor::fromHsvF(float(i % 6) / 6.0f, 0.85f, 1.0f));
        painter.setPen(Qt::NoPen);
        painter.setBrush(wheel);
        painter.drawEllipse(disc);
        if (m_color.isValid()) {
            painter.setBrush(m_color);
            painter.setPen(QPen(Qt::white, 1.5));
            painter.drawEllipse(centre, radius * 0.5, radius * 0.5);
        }
    } else {
        if (m_frosted) {
            // Light through frost: bright at the top left, cooler and greyer towards the bottom right.
            QLinearGradient sheen(disc.topLeft(), disc.bottomRight());
            sheen.setColorAt(0, m_color.lighter(112));
            sheen.setColorAt(0.45, m_color);
            sheen.setColorAt(1, QColor::fromRgbF(0.62f, 0.68f, 0.76f));
            painter.setBrush(sheen);
        } else {
            painter.setBrush(m_color);
        }
        // A hairline keeps a pale preset visible on a pale card.
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.drawEllipse(disc.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    if (m_isSelected) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().color(QPalette::Text), 1.5));
        painter.drawEllipse(centre, radius + 2.5, radius + 2.5);
    }
    if (FocusRing::shows(*this)) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(FocusRing::color(palette()), 1.5));
        painter.drawEllipse(centre, radius + 3.75, radius + 3.75);
    }
}

BackgroundColorRow::BackgroundColorRow(QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(circleSpacing);
    for (const auto& [background, raw] : kTileBackgroundCases) {
        const bool custom = background == TileBackground::Custom;
        auto* circle = new ColorCircle(
            QColor(), false,
            [this, background = background, custom] {
                if (custom)
                    Q_EMIT customRequested();
                else
                    Q_EMIT presetChosen(background);
            },
            this);
        circle->setObjectName(QString::fromLatin1(raw));
        circle->setRainbow(custom);
        circle->setFrosted(background == TileBackground::Frosted);
        layout->addWidget(circle);
        m_circles.append(circle);
    }
    recolor();
}

void BackgroundColorRow::setCurrent(TileBackground background, const QColor& customColor) {
    for (int i = 0; i < caseCount; ++i)
        m_circles.at(i)->setSelected(kTileBackgroundCases.at(std::size_t(i)).first == background);
    customCircle()->setColor(background == TileBackground::Custom ? customColor : QColor());
}

void BackgroundColorRow::setAppearanceLight(bool light) {
    if (light == m_light)
        return;
    m_light = light;
    recolor();
}

void BackgroundColorRow::setNames(const QStringList& names) {
    for (int i = 0; i < caseCount && i < names.size(); ++i) {
        m_circles.at(i)->setAccessibleName(names.at(i));
        m_circles.at(i)->setToolTip(names.at(i));
    }
}

QSize BackgroundColorRow::sizeHint() const {
    return {caseCount * circleBox + (caseCount - 1) * circleSpacing, circleBox};
}

void BackgroundColorRow::recolor() {
    for (int i = 0; i + 1 < caseCount; ++i) {
        TileStyleSettings style;
        style.backgroundStyle = kTileBackgroundCases.at(std::size_t(i)).first;
        style.opacity = 1.0;
        Rgba color = baseColor(style, m_light ? Appearance::Light : Appearance::Dark);
        color.alpha = 1.0; // the circle shows the hue, not the tile's see-through
        m_circles.at(i)->setColor(TileColorHex::toQColor(color));
    }
}
