#include "SegmentedTabs.h"

#include "FocusRing.h"
#include "Fonts.h"
#include "Shapes.h"
#include "SpringAnimation.h"
#include "platform/Symbols.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr double trackInset = 2;
constexpr double symbolGap = 2;

// One segment: its title (and symbol) over the parent's highlight.
class SegmentButton final : public QAbstractButton {
public:
    SegmentButton(const SegmentedTabs::Segment& segment, const SegmentedTabs::Style& style, QWidget* parent)
        : QAbstractButton(parent)
        , m_symbol(segment.symbol)
        , m_style(style) {
        setText(segment.title);
        setAccessibleName(segment.title);
        setCheckable(true);
        setAutoExclusive(true);
        setFocusPolicy(Qt::StrongFocus);
        QFont font = Fonts::rounded(style.titlePointSize, style.bold ? QFont::Bold : QFont::Medium);
        if (style.letterSpacing != 0)
            font.setLetterSpacing(QFont::AbsoluteSpacing, style.letterSpacing);
        setFont(font);
    }

    double naturalWidth() const {
        const double title = QFontMetricsF(font()).horizontalAdvance(text());
        return std::max(title, m_symbol.isEmpty() ? 0.0 : m_style.symbolPointSize) + 2 * m_style.padding;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            click();
            return;
        }
        QAbstractButton::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        const QColor ink = palette().color(isChecked() ? QPalette::Text : QPalette::PlaceholderText);
        QRectF textRect = rect();
        if (!m_symbol.isEmpty()) {
            const double scale = devicePixelRatioF();
            const double titleHeight = QFontMetricsF(font()).height();
            const double top = (height() - m_style.symbolPointSize - symbolGap - titleHeight) / 2;
            if (const std::optional<QImage> image =
                    Symbols::image(m_symbol, m_style.symbolPointSize * scale, false, ink)) {
                const double side = image->width() / scale;
                painter.drawImage(QRectF((width() - side) / 2, top, side, side), *image);
            }
            textRect = QRectF(0, top + m_style.symbolPointSize + symbolGap, width(), titleHeight);
        }
        painter.setPen(ink);
        painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text());
        if (FocusRing::shows(*this))
            FocusRing::paintInside(painter, Shapes::continuousRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6),
                                   palette());
    }

private:
    QString m_symbol;
    SegmentedTabs::Style m_style;
};

} // namespace

SegmentedTabs::SegmentedTabs(QList<Segment> segments, Style style, QWidget* parent)
    : QWidget(parent)
    , m_segments(std::move(segments))
    , m_style(style)
    , m_highlight(new SpringAnimation({}, 0, this)) {
    for (qsizetype i = 0; i < m_segments.size(); ++i) {
        auto* button = new SegmentButton(m_segments[i], m_style, this);
        button->setChecked(i == 0);
        connect(button, &QAbstractButton::clicked, this, [this, i] {
            if (i == m_current)
                return;
            setCurrentIndex(int(i), m_selectionSpring);
            Q_EMIT currentChanged(int(i));
        });
        m_buttons.append(button);
    }
    connect(m_highlight, &SpringAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layOut();
}

void SegmentedTabs::setCurrentIndex(int index, std::optional<Spring> spring) {
    if (index < 0 || index >= m_buttons.size())
        return;
    m_current = index;
    m_buttons[index]->setChecked(true);
    if (spring) {
        m_highlight->setSpring(*spring);
        m_highlight->animateTo(index);
    } else {
        m_highlight->setValue(index);
    }
    update();
}

void SegmentedTabs::setTitles(const QStringList& titles) {
    for (qsizetype i = 0; i < m_buttons.size() && i < titles.size(); ++i) {
        m_segments[i].title = titles[i];
        m_buttons[i]->setText(titles[i]);
        m_buttons[i]->setAccessibleName(titles[i]);
    }
    updateGeometry();
    layOut();
}

QAbstractButton* SegmentedTabs::segmentButton(int index) const {
    return m_buttons.value(index);
}

QSize SegmentedTabs::sizeHint() const {
    double width = 2 * trackInset;
    for (QAbstractButton* button : m_buttons)
        width += static_cast<SegmentButton*>(button)->naturalWidth();
    return {int(std::ceil(width)), int(std::ceil(m_style.height))};
}

void SegmentedTabs::resizeEvent(QResizeEvent*) {
    layOut();
}

QRectF SegmentedTabs::segmentRect(int index) const {
    // Segments share the width in proportion to their titles, so a long title is never cut.
    const double natural = sizeHint().width() - 2 * trackInset;
    const double scale = natural > 0 ? (width() - 2 * trackInset) / natural : 1;
    double x = trackInset;
    for (int i = 0; i < index; ++i)
        x += static_cast<SegmentButton*>(m_buttons[i])->naturalWidth() * scale;
    const double w = static_cast<SegmentButton*>(m_buttons[index])->naturalWidth() * scale;
    return {x, trackInset, w, height() - 2 * trackInset};
}

void SegmentedTabs::layOut() {
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setGeometry(segmentRect(i).toAlignedRect());
}

QRectF SegmentedTabs::highlightRect() const {
    const double position = std::clamp(m_highlight->value(), 0.0, double(m_buttons.size() - 1));
    const int below = int(std::floor(position));
    const int above = std::min(below + 1, int(m_buttons.size()) - 1);
    const double t = position - below;
    const QRectF from = segmentRect(below);
    const QRectF to = segmentRect(above);
    return {from.left() + (to.left() - from.left()) * t, from.top(), from.width() + (to.width() - from.width()) * t,
            from.height()};
}

void SegmentedTabs::paintEvent(QPaintEvent*) {
    if (m_buttons.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_style.track)
        painter.fillPath(Shapes::continuousRoundedRect(rect(), 8), palette().color(QPalette::AlternateBase));
    const QPainterPath highlight = Shapes::continuousRoundedRect(highlightRect(), 6);
    painter.fillPath(highlight, palette().color(QPalette::Button));
    painter.setPen(QPen(palette().color(QPalette::Mid), 0.5));
    painter.drawPath(highlight);
}
