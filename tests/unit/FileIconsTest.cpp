#include "platform/FileIcons.h"
#include "platform/Bundle.h"
#include "platform/FileIconCache.h"
#include "platform/PngEncoder.h"
#include "platform/PropertyList.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <tuple>

namespace {

QImage filled(QSize size, QColor color) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

QByteArray bigEndian(qsizetype value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(quint32(value), bytes.data());
    return bytes;
}

QColor centreOf(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// A bundle "<dir>/<name>.app" whose Info.plist names `iconFile` (none: no icon key).
Bundle makeBundle(const QString& dir, const QString& name, const QVariant& iconFile) {
    const Bundle bundle(dir + "/" + name + ".app");
    QDir().mkpath(bundle.resourcesPath());
    QVariantMap info{{"CFBundleIdentifier", QString("test." + name)}};
    if (iconFile.isValid())
        info.insert("CFBundleIconFile", iconFile);
    PropertyList::writeFileAtomically(bundle.infoPlistPath(), info, PropertyList::Format::Xml);
    return bundle;
}

} // namespace

class FileIconsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // First, while the process has decoded nothing yet: a helper draws its tile from such icons.
    void pngIconsLoadNoImagePlugin() {
        QTemporaryDir dir;
        const Bundle bundle = makeBundle(dir.path(), "Red", "AppIcon");
        // Written without the toolkit's writer, which has plugins of its own to load.
        QFile png(bundle.resourcesPath() + "/AppIcon.png");
        QVERIFY(png.open(QIODevice::WriteOnly) && png.write(PngEncoder::encode(filled({64, 64}, Qt::red)).value()) > 0);
        png.close();
        QCOMPARE(centreOf(FileIcons::iconForPath(bundle.path(), 32)), QColor(Qt::red));
        // A custom icon's file has no suffix to go by.
        QVERIFY(FileIcons::setCustomIcon(filled({32, 32}, Qt::blue), bundle.path()));
        QCOMPARE(centreOf(FileIcons::iconForPath(bundle.path(), 32)), QColor(Qt::blue));
        // An .icns of PNG entries, as today's are: the best size is picked from their headers.
        const Bundle icns = makeBundle(dir.path(), "Icns", "AppIcon");
        QByteArray entries;
        for (const auto& [type, side, color] : {std::tuple{"ic04", 16, QColor(Qt::red)},
                                                {"ic06", 64, QColor(Qt::green)},
                                                {"ic07", 128, QColor(Qt::blue)}}) {
            const QByteArray data = PngEncoder::encode(filled({side, side}, color)).value();
            entries += QByteArray(type) + bigEndian(8 + data.size()) + data;
        }
        QFile file(icns.resourcesPath() + "/AppIcon.icns");
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("icns" + bigEndian(8 + entries.size()) + entries) > 0);
        file.close();
        QCOMPARE(centreOf(FileIcons::iconForPath(icns.path(), 48)), QColor(Qt::green));
        QCOMPARE(centreOf(FileIcons::iconForPath(icns.path(), 100)), QColor(Qt::blue));
        QCOMPARE(centreOf(FileIcons::iconForPath(icns.path(), 300)), QColor(Qt::blue));
        QCOMPARE(centreOf(FileIcons::iconForPath(icns.path(), 8)), QColor(Qt::red));
        QFile maps("/proc/self/maps");
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY2(!mapped.contains("/imageformats/"), "an image plugin was loaded to read a PNG");
    }

    void cacheDecodesOncePerPathAndSizeUntilTheFileChanges() {
        QTemporaryDir dir;
        const Bundle bundle = makeBundle(dir.path(), "Red", "AppIcon");
        QVERIFY(filled({64, 64}, Qt::red).save(bundle.resourcesPath() + "/AppIcon.png"));
        int decodes = 0;
        FileIconCache cache([&decodes](const QString& path, int size) {
            ++decodes;
            return FileIcons::iconForPath(path, size);
        });
        QCOMPARE(centreOf(cache.icon(bundle.path(), 52)), QColor(Qt::red));
        QCOMPARE(centreOf(cache.icon(bundle.path(), 52)), QColor(Qt::red));
        QCOMPARE(decodes, 1);
        QCOMPARE(cache.icon(bundle.path(), 104).size(), QSize(104, 104));
        QCOMPARE(decodes, 2);

        // A custom icon set on the bundle changes its modification time: decoded again.
        QTest::qWait(10);
        QVERIFY(FileIcons::setCustomIcon(filled({32, 32}, Qt::blue), bundle.path()));
        QCOMPARE(centreOf(cache.icon(bundle.path(), 52)), QColor(Qt::blue));
        QCOMPARE(decodes, 3);
    }

    // What another process (a later helper) finds of the icons an earlier one decoded.
    void iconsKeptOnDiskServeOtherCachesUntilTheirSourceChanges() {
        QTemporaryDir dir;
        const QString kept = dir.filePath("Cache/Icons");
        const Bundle bundle = makeBundle(dir.path(), "Red", "AppIcon");
        QVERIFY(filled({64, 64}, QColor(255, 0, 0, 128)).save(bundle.resourcesPath() + "/AppIcon.png"));
        int decodes = 0;
        const auto counting = [&decodes](const QString& path, int size) {
            ++decodes;
            return FileIcons::iconForPath(path, size);
        };
        const QImage decoded = FileIconCache(counting, kept).icon(bundle.path(), 52);
        QCOMPARE(decodes, 1);

        FileIconCache later(counting, kept);
        const QImage read = later.icon(bundle.path(), 52);
        QCOMPARE(decodes, 1);
        QCOMPARE(read.convertToFormat(QImage::Format_ARGB32), decoded.convertToFormat(QImage::Format_ARGB32));
        // Let go of in memory, found again on disk.
        later.releaseMemory();
        QCOMPARE(later.size(), 0);
        QCOMPARE(later.icon(bundle.path(), 52), read);
        QCOMPARE(decodes, 1);

        // A picture changed inside the bundle, where the bundle's own time says nothing of it.
        QTest::qWait(10);
        QVERIFY(QFile::remove(bundle.resourcesPath() + "/AppIcon.png"));
        QVERIFY(filled({64, 64}, Qt::blue).save(bundle.resourcesPath() + "/AppIcon.png"));
        QCOMPARE(centreOf(FileIconCache(counting, kept).icon(bundle.path(), 52)), QColor(Qt::blue));
        QCOMPARE(decodes, 2);

        // A kept file cut short, or of another key, is decoded again and replaced.
        const QStringList files = QDir(kept).entryList({"*.icon"}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QFile file(kept + "/" + files.first());
        QVERIFY(file.open(QIODevice::ReadWrite) && file.resize(40));
        file.close();
        QCOMPARE(centreOf(FileIconCache(counting, kept).icon(bundle.path(), 52)), QColor(Qt::blue));
        QCOMPARE(decodes, 3);
        QCOMPARE(centreOf(FileIconCache(counting, kept).icon(bundle.path(), 52)), QColor(Qt::blue));
        QCOMPARE(decodes, 3);

        // Pictures too large to be worth a file are decoded each time, and nothing is written.
        FileIconCache(counting, kept).icon(bundle.path(), 1100);
        FileIconCache(counting, kept).icon(bundle.path(), 1100);
        QCOMPARE(decodes, 5);
        QCOMPARE(QDir(kept).entryList({"*.icon"}, QDir::Files).size(), 1);

        // Without a folder nothing is let go of.
        FileIconCache memoryOnly(counting);
        memoryOnly.icon(bundle.path(), 52);
        memoryOnly.releaseMemory();
        QCOMPARE(memoryOnly.size(), 1);
    }

    void customIconBeatsBundleIconBeatsGeneric() {
        QTemporaryDir dir;
        const Bundle bundle = makeBundle(dir.path(), "Red", "AppIcon");
        QVERIFY(filled({64, 64}, Qt::red).save(bundle.resourcesPath() + "/AppIcon.png"));
        const QImage generic = FileIcons::iconForPath(dir.filePath("Missing.app"), 48);

        QCOMPARE(centreOf(FileIcons::iconForPath(bundle.path(), 48)), QColor(Qt::red));
        QVERIFY(FileIcons::setCustomIcon(filled({32, 32}, Qt::blue), bundle.path()));
        QCOMPARE(centreOf(FileIcons::iconForPath(bundle.path(), 48)), QColor(Qt::blue));
        QCOMPARE(centreOf(FileIcons::iconForPath(bundle.path() + "/", 48)), QColor(Qt::blue));

        // An unreadable custom icon does not hide the bundle's own.
        QFile custom(FileIcons::customIconPath(bundle.path()));
        QVERIFY(custom.open(QIODevice::WriteOnly | QIODevice::Truncate) && custom.write("not an image") > 0);
        custom.close();
        QCOMPARE(centreOf(FileIcons::iconForPath(bundle.path(), 48)), QColor(Qt::red));

        QVERIFY(custom.remove() && QFile::remove(bundle.resourcesPath() + "/AppIcon.png"));
        QCOMPARE(FileIcons::iconForPath(bundle.path(), 48), generic);
    }

    void findsTheIconFileByNameOrWithItsExtension() {
        QTemporaryDir dir;
        // Named exactly, with an extension of its own.
        const Bundle exact = makeBundle(dir.path(), "Exact", "Picture.png");
        QVERIFY(filled({16, 16}, Qt::green).save(exact.resourcesPath() + "/Picture.png"));
        QCOMPARE(centreOf(FileIcons::iconForPath(exact.path(), 32)), QColor(Qt::green));

        if (QImageWriter::supportedImageFormats().contains("icns")) {
            const Bundle icns = makeBundle(dir.path(), "Icns", "AppIcon");
            QVERIFY(filled({64, 64}, Qt::yellow).save(icns.resourcesPath() + "/AppIcon.icns", "icns"));
            // A PNG of the same base name is only the later choice.
            QVERIFY(filled({64, 64}, Qt::red).save(icns.resourcesPath() + "/AppIcon.png"));
            QCOMPARE(centreOf(FileIcons::iconForPath(icns.path(), 32)), QColor(Qt::yellow));
        }

        // Names that leave Contents/Resources, or are no text, are not followed.
        QVERIFY(filled({16, 16}, Qt::red).save(dir.filePath("Outside.png")));
        const QImage generic = FileIcons::iconForPath(QString(), 32);
        for (const QVariant& name : {QVariant("../../../Outside"), QVariant("../../../Outside.png"), QVariant(7)}) {
            const Bundle escaping = makeBundle(dir.path(), "Escaping", name);
            QCOMPARE(FileIcons::iconForPath(escaping.path(), 32), generic);
        }
    }

    void scalesWithTheAspectKeptAndCentred() {
        QTemporaryDir dir;
        const Bundle bundle = makeBundle(dir.path(), "Wide", "Wide");
        QVERIFY(filled({200, 100}, Qt::red).save(bundle.resourcesPath() + "/Wide.png"));
        const QImage icon = FileIcons::iconForPath(bundle.path(), 40);
        QCOMPARE(icon.size(), QSize(40, 40));
        QCOMPARE(icon.pixelColor(20, 3).alpha(), 0);
        QCOMPARE(icon.pixelColor(20, 36).alpha(), 0);
        QCOMPARE(icon.pixelColor(1, 20), QColor(Qt::red));
        QCOMPARE(icon.pixelColor(38, 20), QColor(Qt::red));
    }

    void genericIconsAreNeverNull() {
        QTemporaryDir dir;
        QFile plain(dir.filePath("notes.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("x") == 1);
        plain.close();
        for (const QString& path : {dir.filePath("Nowhere.app"), QString(), dir.path(), plain.fileName()}) {
            for (const int size : {1, 16, 128}) {
                const QImage icon = FileIcons::iconForPath(path, size);
                QCOMPARE(icon.size(), QSize(size, size));
            }
            const QImage icon = FileIcons::iconForPath(path, 64);
            QVERIFY2(centreOf(icon).alpha() == 255, qPrintable(path));
            QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
        }
        QCOMPARE(FileIcons::iconForPath("", 0).size(), QSize(1, 1));
        // A plain file looks like a document, not like an application.
        QVERIFY(FileIcons::iconForPath(plain.fileName(), 64) != FileIcons::iconForPath(dir.filePath("x.app"), 64));
    }

    void setCustomIconWritesAPngOrSaysItCouldNot() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("Helper.app");
        QVERIFY(QDir().mkpath(folder));
        QImage picture = filled({8, 8}, Qt::blue);
        picture.setPixelColor(0, 0, QColor(255, 0, 0, 128));
        QVERIFY(FileIcons::setCustomIcon(picture, folder));
        QFile written(folder + "/Icon\r");
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.read(8).startsWith("\x89PNG"));
        written.close();
        QImage read = QImage(written.fileName()).convertToFormat(QImage::Format_ARGB32);
        read.setColorSpace(picture.colorSpace()); // the file says sRGB; the pixels are what matters
        QCOMPARE(read, picture);

        // Replacing it leaves no temporary files behind.
        QVERIFY(FileIcons::setCustomIcon(filled({8, 8}, Qt::green), folder));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Icon\r"});
        QCOMPARE(QImage(written.fileName()).pixelColor(0, 0), QColor(Qt::green));

        // No image, no folder, or a folder that cannot exist: false, and nothing is touched.
        QVERIFY(!FileIcons::setCustomIcon(QImage(), folder));
        QCOMPARE(QImage(written.fileName()).pixelColor(0, 0), QColor(Qt::green));
        QFile regular(dir.filePath("file"));
        QVERIFY(regular.open(QIODevice::WriteOnly));
        regular.close();
        QVERIFY(!FileIcons::setCustomIcon(picture, regular.fileName()));
        QVERIFY(!FileIcons::setCustomIcon(picture, regular.fileName() + "/Below.app"));
        QVERIFY(!FileIcons::setCustomIcon(picture, dir.filePath("Missing.app")));
        QVERIFY(!FileIcons::setCustomIcon(picture, QString()));
        QVERIFY(!QFile::exists(dir.filePath("Missing.app")));
    }
};

QTEST_MAIN(FileIconsTest)
#include "FileIconsTest.moc"
