#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

// PNG encoding through libpng alone. Qt's image writer probes every image-format plugin it
// can find before it writes a PNG, which loads a dozen libraries into a helper that only ever
// writes PNGs.
namespace PngEncoder {

std::optional<QByteArray> encode(const QImage& image);

} // namespace PngEncoder
