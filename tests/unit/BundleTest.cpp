#include "platform/Bundle.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class BundleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findsTheBundleEnclosingAnExecutable() {
        QTemporaryDir dir;
        const QString root = QFileInfo(dir.path()).canonicalFilePath();
        const QString executable = root + "/Tools/Foo.app/Contents/MacOS/foo";
        QVERIFY(QDir().mkpath(root + "/Tools/Foo.app/Contents/MacOS") && QDir().mkpath(root + "/bin"));
        QVERIFY(QFile(executable).open(QIODevice::WriteOnly));
        QCOMPARE(Bundle::enclosingExecutable(executable).path(), root + "/Tools/Foo.app");
        // Started through a link from elsewhere: the bundle is the one the link points into.
        QVERIFY(QFile::link(executable, root + "/bin/foo"));
        QCOMPARE(Bundle::enclosingExecutable(root + "/bin/foo").path(), root + "/Tools/Foo.app");
        QCOMPARE(Bundle::enclosingExecutable("/Applications/Bar.app/Contents/MacOS/Bar").path(),
                 "/Applications/Bar.app");

        const QStringList outside{"/usr/bin/ls", root + "/Tools/Foo.app/Contents/Resources/foo",
                                  "/Apps/Foo/Contents/MacOS/foo", "/.app/Contents/MacOS/x", ""};
        for (const QString& path : outside) {
            const Bundle bundle = Bundle::enclosingExecutable(path);
            QVERIFY2(!bundle.isValid() && bundle.infoPlistPath().isEmpty(), qPrintable(path));
        }
    }

    void readsInfoPlistEachTime() {
        QTemporaryDir dir;
        const Bundle bundle(dir.filePath("Foo.app"));
        QVERIFY(QDir().mkpath(bundle.contentsPath()));
        QVERIFY(bundle.infoDictionary().isEmpty());
        QCOMPARE(bundle.executablePath(), QString());

        const QVariantMap info{{"CFBundleIdentifier", "app.trellin.Trellin"}, {"CFBundleExecutable", "Foo"}};
        QVERIFY(PropertyList::writeFileAtomically(bundle.infoPlistPath(), info, PropertyList::Format::Binary));
        QCOMPARE(bundle.identifier(), QStringLiteral("app.trellin.Trellin"));
        QCOMPARE(bundle.executablePath(), dir.filePath("Foo.app/Contents/MacOS/Foo"));

        // A wrong-typed identifier and names that would walk out of Contents/MacOS give nothing.
        for (const QString& name : QStringList{"../../../bin/sh", "..", ""}) {
            const QVariantMap bad{{"CFBundleIdentifier", 7}, {"CFBundleExecutable", name}};
            QVERIFY(PropertyList::writeFileAtomically(bundle.infoPlistPath(), bad, PropertyList::Format::Xml));
            QVERIFY(bundle.identifier().isEmpty());
            QVERIFY2(bundle.executablePath().isEmpty(), qPrintable(name));
        }

        for (const QVariant& root : {QVariant(QVariantList{"a"}), QVariant("text")}) {
            QVERIFY(PropertyList::writeFileAtomically(bundle.infoPlistPath(), root, PropertyList::Format::Xml));
            QVERIFY(bundle.infoDictionary().isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(BundleTest)
#include "BundleTest.moc"
