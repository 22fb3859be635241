#include "BundleSignature.h"
#include "platform/PropertyList.h"

#include "TestFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString toolPath = QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/trellin-codesign");
const QString identity = QStringLiteral("Developer ID Application: Example Ltd (ABCDE12345)");

struct ToolRun {
    int exitCode = -1;
    QString errorOutput;
};

ToolRun runTool(const QStringList& arguments) {
    QProcess process;
    process.start(toolPath, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

// A small bundle with the kinds of entries a real one holds: executable, resources, a link,
// a nested bundle, and names that need escaping in XML (the custom-icon file ends in "\r").
QString makeBundle(const QTemporaryDir& directory) {
    const QString bundle = directory.filePath(QStringLiteral("Sample.app"));
    const QVariantMap info{{QStringLiteral("CFBundleIdentifier"), QStringLiteral("app.example.Sample")},
                           {QStringLiteral("CFBundleExecutable"), QStringLiteral("Sample")}};
    QDir().mkpath(bundle + QStringLiteral("/Contents"));
    PropertyList::writeFileAtomically(bundle + QStringLiteral("/Contents/Info.plist"), info, PropertyList::Format::Xml);
    bool written = writeFile(bundle + QStringLiteral("/Contents/MacOS/Sample"), "binary");
    written = writeFile(bundle + QStringLiteral("/Contents/Resources/en.lproj/Localizable.qm"), "strings") && written;
    written = writeFile(bundle + QStringLiteral("/Contents/Resources/a&b <c>.txt"), "escaped") && written;
    written = writeFile(bundle + QStringLiteral("/Icon\r"), "icon") && written;
    written = writeFile(bundle + QStringLiteral("/Contents/Helpers/Inner.app/Contents/Info.plist"), "inner") && written;
    QFile::link(QStringLiteral("Resources/en.lproj"), bundle + QStringLiteral("/Contents/Current"));
    // Callers find an empty path, and fail, when the bundle could not be laid out.
    return written ? bundle : QString();
}

QVariantMap sealOf(const QString& bundle) {
    const auto document = PropertyList::readFile(bundle + QStringLiteral("/Contents/_CodeSignature/CodeResources"));
    return document ? document->root.toMap() : QVariantMap();
}

// The identity exactly as the helper builder reads it: the first "Authority=" line.
QString authorityOf(const QString& description) {
    for (const QString& line : description.split(u'\n')) {
        if (line.startsWith(QLatin1String("Authority=")))
            return line.mid(10);
    }
    return {};
}

} // namespace

class CodesignToolTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void signDescribeAndVerify_data();
    void signDescribeAndVerify();
    void verifyNamesEveryChangedFile_data();
    void verifyNamesEveryChangedFile();
    void refusesWhatItCannotSign();
    void neverReachesOutsideTheBundle();
    void builtBundleIsSigned();
};

void CodesignToolTest::signDescribeAndVerify_data() {
    QTest::addColumn<QStringList>("signArguments");
    QTest::addColumn<QString>("expectedAuthority");
    // The two argument lists the helper builder passes.
    QTest::newRow("identity") << QStringList{QStringLiteral("--force"),    QStringLiteral("--deep"),
                                             QStringLiteral("--sign"),     identity,
                                             QStringLiteral("--options"),  QStringLiteral("runtime"),
                                             QStringLiteral("--timestamp")}
                              << identity;
    QTest::newRow("ad hoc") << QStringList{QStringLiteral("--force"), QStringLiteral("--deep"),
                                           QStringLiteral("--sign"), QStringLiteral("-"),
                                           QStringLiteral("--timestamp=none")}
                            << QString();
}

void CodesignToolTest::signDescribeAndVerify() {
    QFETCH(QStringList, signArguments);
    QFETCH(QString, expectedAuthority);
    QTemporaryDir directory;
    const QString bundle = makeBundle(directory);

    const ToolRun signing = runTool(signArguments << bundle);
    QCOMPARE(signing.exitCode, 0);
    QCOMPARE(signing.errorOutput, QString());

    const QVariantMap seal = sealOf(bundle);
    const QVariantMap files = seal.value(QStringLiteral("files")).toMap();
    QCOMPARE(seal.value(QStringLiteral("identifier")).toString(), QStringLiteral("app.example.Sample"));
    QCOMPARE(seal.value(QStringLiteral("adhoc")).toBool(), expectedAuthority.isEmpty());
    QCOMPARE(files.value(QStringLiteral("Contents/MacOS/Sample")).toByteArray(),
             QCryptographicHash::hash("binary", QCryptographicHash::Sha256));
    QVERIFY(files.contains(QStringLiteral("Icon\r")));
    QVERIFY(files.contains(QStringLiteral("Contents/Resources/a&b <c>.txt")));
    QVERIFY(files.contains(QStringLiteral("Contents/Helpers/Inner.app/Contents/Info.plist")));
    QCOMPARE(files.value(QStringLiteral("Contents/Current")).toMap().value(QStringLiteral("symlink")).toString(),
             QStringLiteral("Resources/en.lproj"));
    QCOMPARE(files.size(), 7);

    const ToolRun description = runTool({QStringLiteral("-dv"), QStringLiteral("--verbose=4"), bundle});
    QCOMPARE(description.exitCode, 0);
    QCOMPARE(authorityOf(description.errorOutput), expectedAuthority);
    QVERIFY(description.errorOutput.contains(QStringLiteral("Executable=") + bundle +
                                             QStringLiteral("/Contents/MacOS/Sample\n")));
    QVERIFY(description.errorOutput.contains(QStringLiteral("Identifier=app.example.Sample\n")));
    QVERIFY(description.errorOutput.contains(QStringLiteral("Sealed Resources version=2 files=7\n")));
    QCOMPARE(description.errorOutput.contains(QStringLiteral("Signature=adhoc\n")), expectedAuthority.isEmpty());

    const ToolRun verification = runTool({QStringLiteral("--verify"), QStringLiteral("--deep"),
                                          QStringLiteral("--strict"), QStringLiteral("-v"), bundle});
    QCOMPARE(verification.exitCode, 0);
    QVERIFY(verification.errorOutput.contains(bundle + QStringLiteral(": valid on disk")));

    // Signing again over a signature replaces it and stays valid (helpers are re-signed on every build).
    QCOMPARE(runTool({QStringLiteral("-f"), QStringLiteral("-s"), QStringLiteral("Other"), bundle}).exitCode, 0);
    QCOMPARE(authorityOf(runTool({QStringLiteral("-d"), QStringLiteral("-v"), bundle}).errorOutput),
             QStringLiteral("Other"));
    QCOMPARE(runTool({QStringLiteral("--verify"), bundle}).exitCode, 0);

    QCOMPARE(runTool({QStringLiteral("--remove-signature"), bundle}).exitCode, 0);
    QVERIFY(!QFileInfo::exists(bundle + QStringLiteral("/Contents/_CodeSignature")));
}

void CodesignToolTest::verifyNamesEveryChangedFile_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("expected");
    QTest::newRow("modified") << "modify"
                              << "file modified: %1/Contents/MacOS/Sample";
    QTest::newRow("added") << "add"
                           << "file added: %1/Contents/Resources/extra.txt";
    QTest::newRow("deleted") << "delete"
                             << "file missing: %1/Contents/Resources/en.lproj/Localizable.qm";
    QTest::newRow("link retargeted") << "relink"
                                     << "file modified: %1/Contents/Current";
}

void CodesignToolTest::verifyNamesEveryChangedFile() {
    QFETCH(QString, change);
    QFETCH(QString, expected);
    QTemporaryDir directory;
    const QString bundle = makeBundle(directory);
    QCOMPARE(runTool({QStringLiteral("--sign"), QStringLiteral("-"), bundle}).exitCode, 0);

    if (change == QLatin1String("modify")) {
        QVERIFY(writeFile(bundle + QStringLiteral("/Contents/MacOS/Sample"), "binarY"));
    } else if (change == QLatin1String("add")) {
        QVERIFY(writeFile(bundle + QStringLiteral("/Contents/Resources/extra.txt"), ""));
    } else if (change == QLatin1String("delete")) {
        QVERIFY(QFile::remove(bundle + QStringLiteral("/Contents/Resources/en.lproj/Localizable.qm")));
    } else {
        QVERIFY(QFile::remove(bundle + QStringLiteral("/Contents/Current")));
        QVERIFY(QFile::link(QStringLiteral("Resources"), bundle + QStringLiteral("/Contents/Current")));
    }

    const ToolRun verification = runTool({QStringLiteral("--verify"), QStringLiteral("--deep"), bundle});
    QCOMPARE(verification.exitCode, 1);
    QVERIFY(
        verification.errorOutput.startsWith(bundle + QStringLiteral(": a sealed resource is missing or invalid\n")));
    QVERIFY2(verification.errorOutput.contains(expected.arg(bundle)), qPrintable(verification.errorOutput));

    // The class reports the same single problem to direct callers.
    BundleSignature signature(bundle);
    QCOMPARE(signature.verify(), BundleSignature::Outcome::Invalid);
    QCOMPARE(signature.problems(), QStringList{expected.arg(bundle)});
}

void CodesignToolTest::refusesWhatItCannotSign() {
    QTemporaryDir directory;
    const QString bundle = makeBundle(directory);

    for (const QStringList& arguments : {QStringList{QStringLiteral("-dv"), QStringLiteral("--verbose=4"), bundle},
                                         QStringList{QStringLiteral("--verify"), bundle}}) {
        const ToolRun unsigned_ = runTool(arguments);
        QCOMPARE(unsigned_.exitCode, 1);
        QCOMPARE(unsigned_.errorOutput, bundle + QStringLiteral(": code object is not signed at all\n"));
    }

    const QString plainFile = directory.filePath(QStringLiteral("file.txt"));
    QVERIFY(writeFile(plainFile, "text"));
    const QString noInfo = directory.filePath(QStringLiteral("Empty.app"));
    QDir().mkpath(noInfo + QStringLiteral("/Contents"));
    for (const QString& path : {plainFile, noInfo, directory.filePath(QStringLiteral("Missing.app"))}) {
        const ToolRun refused =
            runTool({QStringLiteral("--force"), QStringLiteral("--sign"), QStringLiteral("-"), path});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.errorOutput.startsWith(QStringLiteral("trellin-codesign: ") + path + QStringLiteral(": ")),
                 qPrintable(refused.errorOutput));
    }
    QVERIFY(!QFileInfo::exists(noInfo + QStringLiteral("/Contents/_CodeSignature")));

    // Without --force an existing signature stays as it is.
    QCOMPARE(runTool({QStringLiteral("--sign"), identity, bundle}).exitCode, 0);
    const ToolRun again = runTool({QStringLiteral("--sign"), QStringLiteral("-"), bundle});
    QCOMPARE(again.exitCode, 1);
    QCOMPARE(again.errorOutput, bundle + QStringLiteral(": is already signed\n"));
    QCOMPARE(sealOf(bundle).value(QStringLiteral("identity")).toString(), identity);

    // A damaged seal is an error, not a signature.
    QVERIFY(writeFile(bundle + QStringLiteral("/Contents/_CodeSignature/CodeResources"), "<plist><dict><key>files"));
    BundleSignature damaged(bundle);
    QCOMPARE(damaged.verify(), BundleSignature::Outcome::Failed);

    QCOMPARE(runTool({QStringLiteral("--sign"), QStringLiteral("-"), QStringLiteral("--frobnicate"), bundle}).exitCode,
             1);
    QCOMPARE(runTool({QStringLiteral("--sign")}).exitCode, 1);
    QCOMPARE(runTool({QStringLiteral("--sign"), QStringLiteral("-"), QStringLiteral("--verify"), bundle}).exitCode, 1);
    QCOMPARE(runTool({}).exitCode, 2);
}

void CodesignToolTest::neverReachesOutsideTheBundle() {
    QTemporaryDir directory;
    const QString bundle = makeBundle(directory);
    const QString outside = directory.filePath(QStringLiteral("outside"));
    QVERIFY(writeFile(outside + QStringLiteral("/keep.txt"), "keep"));
    QVERIFY(QFile::link(outside + QStringLiteral("/keep.txt"), bundle + QStringLiteral("/Contents/Resources/linked")));

    // A seal folder that is a link must not have the seal written through it, nor have its
    // removal empty the folder it points at.
    QVERIFY(QFile::link(outside, bundle + QStringLiteral("/Contents/_CodeSignature")));
    QCOMPARE(runTool({QStringLiteral("--force"), QStringLiteral("--sign"), QStringLiteral("-"), bundle}).exitCode, 0);
    QVERIFY(!QFileInfo::exists(outside + QStringLiteral("/CodeResources")));
    QVERIFY(QFileInfo(bundle + QStringLiteral("/Contents/_CodeSignature")).isDir());
    QVERIFY(!QFileInfo(bundle + QStringLiteral("/Contents/_CodeSignature")).isSymLink());

    // What a link points at outside the bundle is not sealed.
    QVERIFY(writeFile(outside + QStringLiteral("/keep.txt"), "changed"));
    QCOMPARE(runTool({QStringLiteral("--verify"), bundle}).exitCode, 0);

    QVERIFY(QDir(bundle + QStringLiteral("/Contents/_CodeSignature")).removeRecursively());
    QVERIFY(QFile::link(outside, bundle + QStringLiteral("/Contents/_CodeSignature")));
    QCOMPARE(runTool({QStringLiteral("--remove-signature"), bundle}).exitCode, 0);
    QVERIFY(QFileInfo::exists(outside + QStringLiteral("/keep.txt")));
    QVERIFY(!QFileInfo(bundle + QStringLiteral("/Contents/_CodeSignature")).isSymLink());

    // An identity that spans lines would forge the "Authority=" lines callers read.
    BundleSignature signature(bundle);
    QCOMPARE(signature.sign(QStringLiteral("Me\nAuthority=Apple Root CA"), true), BundleSignature::Outcome::Failed);
    QVERIFY(!QFileInfo::exists(signature.sealPath()));
}

void CodesignToolTest::builtBundleIsSigned() {
    const QString bundle = QStringLiteral(TRELLIN_BUNDLE_DIR);
    const ToolRun verification = runTool({QStringLiteral("--verify"), QStringLiteral("--deep"), bundle});
    QVERIFY2(verification.exitCode == 0, qPrintable(verification.errorOutput));
    const ToolRun description = runTool({QStringLiteral("-dv"), QStringLiteral("--verbose=4"), bundle});
    QCOMPARE(description.exitCode, 0);
    QVERIFY(description.errorOutput.contains(QStringLiteral("Identifier=app.trellin.Trellin\n")));
    QVERIFY(description.errorOutput.contains(QStringLiteral("Signature=adhoc\n")));
    QCOMPARE(authorityOf(description.errorOutput), QString());
}

QTEST_GUILESS_MAIN(CodesignToolTest)
#include "CodesignToolTest.moc"
