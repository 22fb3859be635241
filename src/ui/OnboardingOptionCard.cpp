#include "OnboardingOptionCard.h"

#include "platform/Symbols.h"
#include "widgets/FocusRing.h"
#include "widgets/Fonts.h"
#include "widgets/Shapes.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double ringRoom = FocusRing::room; // the focus ring is drawn outside the card's outline
constexpr double padding = 12;
constexpr double cornerRadius = 12;
constexpr double pictureHeight = 88;
constexpr double markSide = 18;
constexpr double captionPoints = 13;
constexpr double detailPoints = 11.5;

QColor blend(const QColor& from, const QColor& to, double t) {
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t),
                            float(from.alphaF() + (to.alphaF() - from.alphaF()) * t));
}

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(float(alpha));
    return color;
}

} // namespace

OnboardingOptionCard::OnboardingOptionCard(PopupPosition position, QWidget* parent)
    : QAbstractButton(parent)
    , m_position(position) {
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void OnboardingOptionCard::setTexts(const QString& caption, const QString& detail) {
    m_caption = caption;
    m_detail = detail;
    setText(caption);
    setAccessibleName(caption);
    setAccessibleDescription(detail);
    updateGeometry();
    update();
}

void OnboardingOptionCard::setEmphasis(double emphasis) {
    emphasis = std::clamp(emphasis, 0.0, 1.0);
    if (emphasis == m_emphasis)
        return;
    m_emphasis = emphasis;
    update();
}

QSize OnboardingOptionCard::sizeHint() const {
    const double detail = QFontMetricsF(Fonts::rounded(detailPoints, QFont::Normal)).lineSpacing() * 2;
    const double caption = std::max(markSide, QFontMetricsF(Fonts::rounded(captionPoints, QFont::Bold)).height());
    return {220, int(std::ceil(2 * (ringRoom + padding) + pictureHeight + 10 + caption + 3 + detail))};
}

QSize OnboardingOptionCard::minimumSizeHint() const {
    return {160, sizeHint().height()};
}

void OnboardingOptionCard::nextCheckState() {
    // A card is chosen, never un-chosen, by the user: the other card takes the choice away.
    setChecked(true);
}

void OnboardingOptionCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const QPalette& colors = palette();
    const QRectF card = QRectF(rect()).adjusted(ringRoom, ringRoom, -ringRoom, -ringRoom);
    const QPainterPath outline = Shapes::continuousRoundedRect(card, cornerRadius);
    painter.fillPath(outline, colors.color(QPalette::Base));
    if (isDown())
        painter.fillPath(outline, colors.color(QPalette::AlternateBase));
    const double edge = 1 + m_emphasis;
    painter.setPen(QPen(blend(colors.color(QPalette::Mid), colors.color(QPalette::Highlight), m_emphasis), edge));
    painter.drawPath(Shapes::continuousRoundedRect(card.adjusted(edge / 2, edge / 2, -edge / 2, -edge / 2),
                                                   cornerRadius - edge / 2));
    // Choice shows in the accent border and check mark, focus in the separate ring outside.
    if (FocusRing::shows(*this))
        FocusRing::paintAround(painter, outline, colors);

    const QRectF inner = card.adjusted(padding, padding, -padding, -padding);
    paintPicture(painter, QRectF(inner.left(), inner.top(), inner.width(), pictureHeight));

    const QFont captionFont = Fonts::rounded(captionPoints, QFont::Bold);
    const double captionHeight = std::max(markSide, QFontMetricsF(captionFont).height());
    const QRectF captionRow(inner.left(), inner.top() + pictureHeight + 10, inner.width(), captionHeight);
    const QRectF mark(captionRow.right() - markSide, captionRow.center().y() - markSide / 2, markSide, markSide);
    painter.setFont(captionFont);
    painter.setPen(colors.color(QPalette::Text));
    const QRectF captionText = captionRow.adjusted(0, 0, -markSide - 6, 0);
    painter.drawText(captionText, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(captionFont).elidedText(m_caption, Qt::ElideRight, captionText.width()));

    // An empty ring on the other card, the check mark fading in on the chosen one.
    painter.setOpacity(1 - m_emphasis);
    painter.setPen(QPen(withAlpha(colors.color(QPalette::PlaceholderText), 0.5), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(mark.adjusted(2, 2, -2, -2));
    painter.setOpacity(m_emphasis);
    const double scale = devicePixelRatioF();
    if (std::optional<QImage> check = Symbols::image(QStringLiteral("checkmark.circle.fill"), markSide * scale, false,
                                                     colors.color(QPalette::Highlight))) {
        check->setDevicePixelRatio(scale);
        painter.drawImage(mark.topLeft(), *check);
    }
    painter.setOpacity(1);

    painter.setFont(Fonts::rounded(detailPoints, QFont::Normal));
    painter.setPen(colors.color(QPalette::PlaceholderText));
    painter.drawText(QRectF(inner.left(), captionRow.bottom() + 3, inner.width(), inner.bottom() - captionRow.bottom()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_detail);
}

void OnboardingOptionCard::paintPicture(QPainter& painter, const QRectF& screen) const {
    const QPalette& colors = palette();
    const QColor accent = colors.color(QPalette::Highlight);
    const QPainterPath screenShape = Shapes::continuousRoundedRect(screen, 7);
    painter.fillPath(screenShape, colors.color(QPalette::AlternateBase));
    painter.fillPath(screenShape, withAlpha(accent, 0.07));
    painter.setPen(QPen(colors.color(QPalette::Mid), 1));
    painter.drawPath(screenShape);

    // The Dock along the bottom edge, its second tile the folder that was clicked.
    constexpr int tiles = 5;
    constexpr double tile = 8;
    constexpr double gap = 4;
    const double dockWidth = tiles * tile + (tiles + 1) * gap;
    const QRectF dock(screen.center().x() - dockWidth / 2, screen.bottom() - 6 - (tile + 2 * 3), dockWidth,
                      tile + 2 * 3);
    painter.fillPath(Shapes::continuousRoundedRect(dock, 5), withAlpha(colors.color(QPalette::PlaceholderText), 0.28));
    QRectF folderTile;
    for (int i = 0; i < tiles; ++i) {
        const QRectF square(dock.left() + gap + i * (tile + gap), dock.top() + 3, tile, tile);
        if (i == 1)
            folderTile = square;
        painter.fillPath(Shapes::continuousRoundedRect(square, 2.5),
                         i == 1 ? accent : withAlpha(colors.color(QPalette::Text), 0.35));
    }

    // The popup: above the folder's tile with an arrow down to it, or in the middle of the screen.
    const QSizeF popupSize(54, 34);
    QPointF topLeft;
    if (m_position == PopupPosition::AboveDock) {
        const double left = std::max(screen.left() + 6, folderTile.center().x() - popupSize.width() / 2);
        topLeft = {left, dock.top() - 7 - popupSize.height()};
    } else {
        topLeft = {screen.center().x() - popupSize.width() / 2,
                   screen.top() + (dock.top() - screen.top() - popupSize.height()) / 2};
    }
    const QRectF popup(topLeft, popupSize);
    QPainterPath popupShape = Shapes::continuousRoundedRect(popup, 6);
    if (m_position == PopupPosition::AboveDock) {
        QPainterPath arrow;
        const double x = folderTile.center().x();
        arrow.moveTo(x - 5, popup.bottom() - 0.5);
        arrow.lineTo(x, popup.bottom() + 5);
        arrow.lineTo(x + 5, popup.bottom() - 0.5);
        arrow.closeSubpath();
        popupShape = popupShape.united(arrow);
    }
    painter.fillPath(popupShape, colors.color(QPalette::Base));
    painter.setPen(QPen(accent, 1.2));
    painter.drawPath(popupShape);
    constexpr double dot = 6;
    const double gridWidth = 3 * dot + 2 * 5;
    const double gridHeight = 2 * dot + 5;
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            painter.fillPath(
                Shapes::continuousRoundedRect(QRectF(popup.center().x() - gridWidth / 2 + column * (dot + 5),
                                                     popup.center().y() - gridHeight / 2 + row * (dot + 5), dot, dot),
                                              2),
                withAlpha(accent, 0.55));
}
