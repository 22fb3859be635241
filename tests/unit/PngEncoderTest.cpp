#include "platform/PngEncoder.h"

#include <QDir>
#include <QPainter>
#include <QtTest>

namespace {

int threadsOfThisProcess() {
    return int(QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

} // namespace

class PngEncoderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What is read back is what was drawn, in straight alpha, whatever the image's format.
    void readsBackWhatWasDrawn() {
        QImage drawn(7, 5, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        drawn.setPixelColor(0, 0, QColor(200, 100, 50, 128));
        drawn.setPixelColor(6, 4, QColor(10, 250, 30, 255));
        drawn.setPixelColor(3, 2, QColor(255, 255, 255, 1));
        for (const QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_ARGB32,
                                            QImage::Format_RGB32, QImage::Format_RGBA8888, QImage::Format_RGB16}) {
            const QImage source = drawn.convertToFormat(format);
            const std::optional<QByteArray> png = PngEncoder::encode(source);
            QVERIFY(png && png->startsWith("\x89PNG\r\n\x1a\n"));
            const QImage read = QImage::fromData(*png, "PNG");
            QCOMPARE(read.size(), source.size());
            QCOMPARE(read.convertToFormat(QImage::Format_ARGB32), source.convertToFormat(QImage::Format_ARGB32));
        }
        QVERIFY(!PngEncoder::encode(QImage()));
    }

    // A helper writes its 512-pixel icon on the main thread alone: no worker threads are started
    // for it, to idle on in every helper.
    void aLargeImageIsWrittenWithoutWorkerThreads() {
        QImage large(1024, 1024, QImage::Format_ARGB32_Premultiplied);
        large.fill(QColor(20, 40, 60, 200));
        const int before = threadsOfThisProcess();
        const std::optional<QByteArray> png = PngEncoder::encode(large);
        QVERIFY(png);
        QCOMPARE(threadsOfThisProcess(), before);
        QCOMPARE(QImage::fromData(*png, "PNG").pixelColor(512, 512), QColor(20, 40, 60, 200));
    }
};

QTEST_GUILESS_MAIN(PngEncoderTest)
#include "PngEncoderTest.moc"
