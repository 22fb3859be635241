#include "PopupNotice.h"

#include "PopupStyle.h"
#include "widgets/FolderGlyph.h"
#include "widgets/Shapes.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace {

constexpr double kPadding = 8.0;
constexpr double kStackedSidePadding = 4.0;
constexpr double kSymbolSide = 14.0;
constexpr double kSymbolPoints = 11.0;
constexpr double kSpacing = 6.0;
constexpr double kCornerRadius = 9.0;
// Below this width the text beside the symbol would be a word or two a line.
constexpr int kStackBelowWidth = 140;
const QString kSymbol = QStringLiteral("exclamationmark.triangle.fill");

QAccessibleInterface* noticeAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("PopupNotice") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    return nullptr;
}

} // namespace

PopupNotice::PopupNotice(QString text, ColorScheme appearance, QWidget* parent)
    : QWidget(parent)
    , m_text(std::move(text))
    , m_appearance(appearance) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(noticeAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setAccessibleName(m_text);
    setFont(PopupStyle::appNameFont());
}

bool PopupNotice::isStacked(int width) const {
    return width < kStackBelowWidth;
}

QPointF PopupNotice::textOrigin(int width) const {
    return isStacked(width) ? QPointF(kStackedSidePadding, kPadding + kSymbolSide + kSpacing / 2)
                            : QPointF(kPadding + kSymbolSide + kSpacing, kPadding);
}

double PopupNotice::layOutText(QTextLayout& layout, int width) const {
    const bool stacked = isStacked(width);
    const double textWidth = std::max(1.0, width - textOrigin(width).x() - (stacked ? kStackedSidePadding : kPadding));
    // Between words where it can, and within a word too long for a line (a narrow card).
    QTextOption option(stacked ? Qt::AlignHCenter : Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setFont(font());
    layout.setTextOption(option);
    double height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(textWidth);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

int PopupNotice::heightForWidth(int width) const {
    QTextLayout layout(m_text);
    const double textBottom = textOrigin(width).y() + layOutText(layout, width);
    const double content = isStacked(width) ? textBottom : std::max(textBottom, kPadding + kSymbolSide);
    return int(std::ceil(content + kPadding));
}

void PopupNotice::announce() {
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

void PopupNotice::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const PopupPalette palette = PopupPalette::forScheme(m_appearance);
    painter.fillPath(Shapes::continuousRoundedRect(QRectF(rect()), kCornerRadius), palette.noticeFill);

    QTextLayout layout(m_text);
    layOutText(layout, width());
    const QPointF text = textOrigin(width());
    // Beside the text, the symbol sits on its first line.
    const double lineHeight = layout.lineCount() > 0 ? layout.lineAt(0).height() : QFontMetricsF(font()).height();
    const QRectF symbol = isStacked(width())
                              ? QRectF((width() - kSymbolSide) / 2, kPadding, kSymbolSide, kSymbolSide)
                              : QRectF(kPadding, text.y() + (lineHeight - kSymbolSide) / 2, kSymbolSide, kSymbolSide);
    FolderGlyph::paint(painter, symbol, kSymbol, palette.noticeSymbol, kSymbolPoints);
    painter.setPen(palette.noticeText);
    layout.draw(&painter, text);
}
