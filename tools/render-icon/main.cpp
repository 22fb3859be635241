// Renders the program's SVG marks into the bundle's image files once, at build time, so that no
// process of the bundle (one per folder in the Dock) loads an SVG renderer to show them.
// Usage: trellin-render-icon <svg> <output.icns>           every size from 16 to 512 pixels
//        trellin-render-icon <svg> <output.png> <pixels>   one size
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>

namespace {

QImage render(QSvgRenderer& renderer, int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QByteArray png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void appendBigEndian(QByteArray& bytes, quint32 value) {
    const quint32 big = qToBigEndian(value);
    bytes.append(reinterpret_cast<const char*>(&big), sizeof big);
}

// An .icns: the magic and the file's length, then one (type, length, PNG) entry per size.
QByteArray icns(QSvgRenderer& renderer) {
    const std::pair<int, const char*> entries[] = {{16, "icp4"},  {32, "icp5"},  {64, "icp6"},
                                                   {128, "ic07"}, {256, "ic08"}, {512, "ic09"}};
    QByteArray body;
    for (const auto& [pixels, type] : entries) {
        const QByteArray data = png(render(renderer, pixels));
        body.append(type, 4);
        appendBigEndian(body, quint32(8 + data.size()));
        body.append(data);
    }
    QByteArray file("icns");
    appendBigEndian(file, quint32(8 + body.size()));
    return file + body;
}

} // namespace

int main(int argc, char** argv) {
    // A build step: never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const bool single = arguments.size() == 4;
    if (arguments.size() != 3 && !single) {
        std::fprintf(stderr, "usage: trellin-render-icon <svg> <output.icns> | <svg> <output.png> <pixels>\n");
        return 2;
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "trellin-render-icon: cannot read %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    bool ok = true;
    const int pixels = single ? arguments.at(3).toInt(&ok) : 0;
    if (!ok || (single && (pixels < 1 || pixels > 1024))) {
        std::fprintf(stderr, "trellin-render-icon: not a size: %s\n", qPrintable(arguments.at(3)));
        return 2;
    }
    QFile out(arguments.at(2));
    const QByteArray bytes = single ? png(render(renderer, pixels)) : icns(renderer);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() || !out.flush()) {
        std::fprintf(stderr, "trellin-render-icon: cannot write %s\n", qPrintable(arguments.at(2)));
        return 1;
    }
    return 0;
}
