#include "OnboardingFeatureRow.h"

#include "platform/Symbols.h"
#include "widgets/Shapes.h"
#include "widgets/TextLabel.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr double tileSide = 30;
constexpr double symbolPoints = 16;
constexpr int textIndent = int(tileSide) + 12;

} // namespace

OnboardingFeatureRow::OnboardingFeatureRow(QString symbol, QWidget* parent)
    : QWidget(parent)
    , m_symbol(std::move(symbol))
    , m_title(new TextLabel({.points = 13, .weight = QFont::DemiBold, .wraps = true}, this))
    , m_subtitle(new TextLabel({.points = 11.5, .role = QPalette::PlaceholderText, .wraps = true}, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(textIndent, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_title);
    layout->addWidget(m_subtitle);
    setMinimumHeight(int(tileSide));
}

void OnboardingFeatureRow::setTexts(const QString& title, const QString& subtitle) {
    m_title->setText(title);
    m_subtitle->setText(subtitle);
    setAccessibleName(title);
    setAccessibleDescription(subtitle);
}

QString OnboardingFeatureRow::title() const {
    return m_title->text();
}

QString OnboardingFeatureRow::subtitle() const {
    return m_subtitle->text();
}

void OnboardingFeatureRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF tile(0, 1, tileSide, tileSide);
    QColor tint = palette().color(QPalette::Highlight);
    tint.setAlphaF(0.16f);
    painter.fillPath(Shapes::continuousRoundedRect(tile, 8), tint);
    const double scale = devicePixelRatioF();
    if (std::optional<QImage> glyph =
            Symbols::image(m_symbol, symbolPoints * scale, false, palette().color(QPalette::Highlight))) {
        glyph->setDevicePixelRatio(scale);
        const QSizeF size = QSizeF(glyph->size()) / scale;
        painter.drawImage(QPointF(tile.center().x() - size.width() / 2, tile.center().y() - size.height() / 2), *glyph);
    }
}
