#include "PngEncoder.h"

#include <png.h>

#include <csetjmp>

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<QByteArray*>(png_get_io_ptr(png));
    bytes->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void flushNothing(png_structp) {}

// One row as straight (not premultiplied) RGBA, the order PNG stores. Done row by row: a whole
// image converted at once is split across Qt's thread pool, which a helper would keep alive.
void straightRow(const QImage& image, int y, uchar* out) {
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = premultiplied ? qUnpremultiply(pixels[x]) : pixels[x];
        out[4 * x] = uchar(qRed(pixel));
        out[4 * x + 1] = uchar(qGreen(pixel));
        out[4 * x + 2] = uchar(qBlue(pixel));
        out[4 * x + 3] = uchar(qAlpha(pixel));
    }
}

} // namespace

std::optional<QByteArray> PngEncoder::encode(const QImage& image) {
    if (image.isNull())
        return std::nullopt;
    // The painters draw premultiplied ARGB; anything else is brought to straight ARGB first.
    const QImage::Format format = image.format();
    const bool direct = format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_ARGB32 ||
                        format == QImage::Format_RGB32;
    const QImage source = direct ? image : image.convertToFormat(QImage::Format_ARGB32);

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return std::nullopt;
    png_infop info = png_create_info_struct(png);
    QByteArray bytes;
    QByteArray row(qsizetype(source.width()) * 4, Qt::Uninitialized);
    // libpng reports errors by jumping back here; nothing below holds a destructor-bearing
    // object created after this point.
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return std::nullopt;
    }
    // One pass straight into the result, which grows as zlib hands over its output.
    png_set_write_fn(png, &bytes, appendBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(source.width()), png_uint_32(source.height()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    auto* rowBytes = reinterpret_cast<png_bytep>(row.data());
    for (int y = 0; y < source.height(); ++y) {
        straightRow(source, y, rowBytes);
        png_write_row(png, rowBytes);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    bytes.squeeze();
    return bytes;
}
