#include "PngEncoder.h"

#include <png.h>

std::optional<QByteArray> PngEncoder::encode(const QImage& image) {
    if (image.isNull())
        return std::nullopt;
    // Straight (not premultiplied) RGBA, as PNG stores it.
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    png_image description{};
    description.version = PNG_IMAGE_VERSION;
    description.width = png_uint_32(rgba.width());
    description.height = png_uint_32(rgba.height());
    description.format = PNG_FORMAT_RGBA;
    // libpng counts a row in components; with one byte per component that is its byte length.
    const auto stride = png_int_32(rgba.bytesPerLine());
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&description, nullptr, &size, 0, rgba.constBits(), stride, nullptr))
        return std::nullopt;
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    if (!png_image_write_to_memory(&description, bytes.data(), &size, 0, rgba.constBits(), stride, nullptr))
        return std::nullopt;
    bytes.truncate(qsizetype(size));
    return bytes;
}
