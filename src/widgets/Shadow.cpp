#include "Shadow.h"

#include <QPainter>

#include <cmath>
#include <vector>

namespace {

// One pass of a running-sum box blur along rows (or columns) of an 8-bit alpha image.
void boxBlur(QImage& image, int radius, bool horizontal) {
    if (radius < 1)
        return;
    const int width = image.width(), height = image.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    std::vector<int> line(length);
    const int window = 2 * radius + 1;
    for (int i = 0; i < lines; ++i) {
        auto at = [&](int j) -> uchar& { return horizontal ? image.scanLine(i)[j] : image.scanLine(j)[i]; };
        for (int j = 0; j < length; ++j)
            line[j] = at(j);
        int sum = 0;
        for (int j = -radius; j <= radius; ++j)
            sum += (j >= 0 && j < length) ? line[j] : 0;
        for (int j = 0; j < length; ++j) {
            at(j) = uchar(sum / window);
            const int out = j - radius, in = j + radius + 1;
            sum += (in < length ? line[in] : 0) - (out >= 0 ? line[out] : 0);
        }
    }
}

// The shadow image's pixels per point.
constexpr double kResolution = 0.25;

} // namespace

double Shadow::margin(const ShadowStyle& style) {
    return std::ceil(style.radius * 1.5) + 1;
}

QImage Shadow::render(const QPainterPath& outline, const ShadowStyle& style) {
    const double m = margin(style);
    const QRectF bounds = outline.boundingRect().adjusted(-m, -m, m, m);
    QImage mask(int(std::ceil(bounds.width() * kResolution)), int(std::ceil(bounds.height() * kResolution)),
                QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(kResolution, kResolution);
        painter.translate(-bounds.topLeft());
        painter.fillPath(outline, Qt::black);
    }
    // Three box passes come close to a Gaussian whose deviation is half the radius.
    const double sigma = style.radius / 2.0 * kResolution;
    const int box = int(std::lround(std::sqrt(12.0 * sigma * sigma / 3.0 + 1.0) / 2.0));
    for (int pass = 0; pass < 3; ++pass) {
        boxBlur(mask, box, true);
        boxBlur(mask, box, false);
    }
    QImage shadow(mask.size(), QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    QPainter painter(&shadow);
    painter.drawImage(0, 0, mask);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(shadow.rect(), style.color);
    painter.end();
    return shadow;
}

void Shadow::paint(QPainter& painter, const QPainterPath& outline, const QImage& rendered, const ShadowStyle& style) {
    const double m = margin(style);
    const QRectF bounds = outline.boundingRect().adjusted(-m, -m, m, m);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(bounds.topLeft() + style.offset, QSizeF(rendered.size()) / kResolution), rendered);
    painter.restore();
}
