// Helper bundles on disk: their names, what a build copies, cleans, stamps and signs, and how
// a folder's bundle is found again.
#include "helpers/HelperBundleBuilder.h"
#include "model/FolderID.h"
#include "platform/Bundle.h"
#include "platform/PropertyList.h"

#include "CapturedSystemLog.h"
#include "ConsoleCapture.h"
#include "FakeSigner.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

ino_t inodeOf(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

} // namespace

class HelperBundleBuilderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void fileNames_data();
    void fileNames();
    void buildCopiesCleansStampsAndSigns();
    void identityOrAdHocArguments();
    void signingFailureRemovesTheBundle();
    void foldersWithTheSameNameGetBundlesOfTheirOwn();
    void outdatedExecutable();
    void namesThatTryToEscapeStayInTheHelpersFolder();
    void whatStandsAtTheBundlePathIsNeverWrittenThrough();
    void onlyBundlesBuiltHereAreFound();
    void aBundleThatCannotBeStampedIsNeverSigned();
    void unfinishedBuildsAreCleared();
    void aProgramOutsideABundleCopiesNothing();

private:
    QString signerLog() const { return m_dir->filePath("signer.log"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Bundle> m_app;
    CapturedSystemLog m_log;
};

void HelperBundleBuilderTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    const QString app = m_dir->filePath("Trellin.app");
    QDir().mkpath(app + "/Contents");
    QVERIFY(PropertyList::writeFileAtomically(app + "/Contents/Info.plist",
                                              QVariantMap{{"CFBundleIdentifier", "app.trellin.Trellin"},
                                                          {"CFBundleExecutable", "Trellin"},
                                                          {"CFBundleName", "Trellin"}},
                                              PropertyList::Format::Binary));
    QVERIFY(writeFile(app + "/Contents/MacOS/Trellin", "binary"));
    QVERIFY(writeFile(app + "/Contents/MacOS/__preview.dylib", "preview"));
    QVERIFY(writeFile(app + "/Icon\r", "icon"));
    QVERIFY(writeFile(app + "/Contents/Resources/en.lproj/Localizable.qm", "table"));
    // A bundle may hold links: one relative within itself, one absolute to a file elsewhere.
    QVERIFY(QFile::link("en.lproj", app + "/Contents/Resources/current.lproj"));
    QVERIFY(writeFile(m_dir->filePath("outside/shared.dat"), "shared"));
    QVERIFY(QFile::link(m_dir->filePath("outside/shared.dat"), app + "/Contents/Resources/shared.dat"));
    m_app = std::make_unique<Bundle>(app);
    m_log.lines.clear();
}

void HelperBundleBuilderTest::fileNames_data() {
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("forbidden removed") << "Work: Q1/Q2"
                                       << "Work Q1Q2.app";
    QTest::newRow("tab dropped, no space added") << "Dev\ttools"
                                                 << "Devtools.app";
    QTest::newRow("only forbidden") << "/:*?\"<>|\n"
                                    << "Group.app";
    QTest::newRow("empty") << ""
                           << "Group.app";
    QTest::newRow("cut before removal") << "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234/67890"
                                        << "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234.app";
    QTest::newRow("user-perceived characters")
        << QString("é").repeated(3) + "\u0301" << QString("é").repeated(3) + "\u0301.app";
}

void HelperBundleBuilderTest::fileNames() {
    QFETCH(QString, folderName);
    QFETCH(QString, fileName);
    QCOMPARE(HelperBundleBuilder::helperFileName(folderName), fileName);
}

void HelperBundleBuilderTest::buildCopiesCleansStampsAndSigns() {
    const QString source = m_app->path() + "/Contents/Resources/en.lproj/Localizable.qm";
    const QByteArray outside = QFile::encodeName(m_dir->filePath("outside/shared.dat"));
    const QByteArray executable = QFile::encodeName(m_app->path() + "/Contents/MacOS/Trellin");
    const bool hasXattrs = ::setxattr(QFile::encodeName(source).constData(), "user.origin", "x", 1, 0) == 0 &&
                           ::setxattr(outside.constData(), "user.origin", "x", 1, 0) == 0 &&
                           ::setxattr(executable.constData(), "user.origin", "x", 1, 0) == 0;
    HelperBundleBuilder builder(m_dir->filePath("share"), *m_app, makeFakeSigner(m_dir->path(), "", 0), m_log);
    AppFolder folder(QUuid::createUuid(), "Work: Q1/Q2", "folder.fill");

    const auto helper = builder.buildHelperBundle(folder);
    QCOMPARE(helper, std::optional<QString>(m_dir->filePath("share/Trellin/Helpers/Work Q1Q2.app")));
    QVERIFY(QFile::exists(*helper + "/Contents/MacOS/Trellin"));
    QVERIFY(!QFile::exists(*helper + "/Contents/MacOS/__preview.dylib"));
    QVERIFY(!QFile::exists(*helper + "/Icon\r"));
    if (hasXattrs) {
        const QByteArray copy = QFile::encodeName(*helper + "/Contents/Resources/en.lproj/Localizable.qm");
        QCOMPARE(::listxattr(copy.constData(), nullptr, 0), ssize_t(0));
        // Cleaning the copy never reaches through a link to what lies outside it, nor into the
        // executable file it shares with the application.
        QVERIFY(::getxattr(outside.constData(), "user.origin", nullptr, 0) > 0);
        QVERIFY(::getxattr(executable.constData(), "user.origin", nullptr, 0) > 0);
    }
    // Links are copied as they are written: the helper depends on nothing inside the main bundle.
    QCOMPARE(QFileInfo(*helper + "/Contents/Resources/current.lproj").symLinkTarget(),
             *helper + "/Contents/Resources/en.lproj");
    QCOMPARE(QFileInfo(*helper + "/Contents/Resources/shared.dat").symLinkTarget(), QString::fromLocal8Bit(outside));
    const auto info = PropertyList::readFile(*helper + "/Contents/Info.plist").value();
    const QVariantMap stamped = info.root.toMap();
    QCOMPARE(stamped.value("CFBundleName"), QVariant("Work: Q1/Q2"));
    QCOMPARE(stamped.value("CFBundleDisplayName"), QVariant("Work: Q1/Q2"));
    QCOMPARE(stamped.value("TRGroupUUID"), QVariant(FolderID::canonical(folder.id)));
    QCOMPARE(stamped.value("CFBundleIdentifier"), QVariant("app.trellin.Trellin"));
    QCOMPARE(info.format, PropertyList::Format::Binary);
    QCOMPARE(builder.helperBundleURL(folder.id), helper);

    // A bundle is found only by its id's exact, upper-case text.
    QVariantMap lowerCase = stamped;
    lowerCase.insert("TRGroupUUID", FolderID::canonical(folder.id).toLower());
    QVERIFY(PropertyList::writeFileAtomically(*helper + "/Contents/Info.plist", lowerCase, info.format));
    QVERIFY(!builder.helperBundleURL(folder.id));
}

void HelperBundleBuilderTest::identityOrAdHocArguments() {
    AppFolder folder(QUuid::createUuid(), "Work", "folder.fill");
    HelperBundleBuilder adHoc(m_dir->filePath("share"), *m_app, makeFakeSigner(m_dir->path(), "Identifier=x\\n", 0),
                              m_log);
    const QString helper = adHoc.buildHelperBundle(folder).value();
    HelperBundleBuilder withIdentity(
        m_dir->filePath("share"), *m_app,
        makeFakeSigner(m_dir->path(), "Format=app\\nAuthority=Dev ID (ABC)\\nAuthority=Root\\n", 0), m_log);
    QCOMPARE(withIdentity.buildHelperBundle(folder), std::optional<QString>(helper));
    // The identity does not change while the application runs: it is looked up once.
    AppFolder other(QUuid::createUuid(), "Play", "folder.fill");
    const QString otherHelper = withIdentity.buildHelperBundle(other).value();
    QFile log(signerLog());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts),
             (QStringList{"-dv --verbose=4 " + m_app->path(), "--force --deep --sign - --timestamp=none " + helper,
                          "-dv --verbose=4 " + m_app->path(),
                          "--force --deep --sign Dev ID (ABC) --options runtime --timestamp " + helper,
                          "--force --deep --sign Dev ID (ABC) --options runtime --timestamp " + otherHelper}));
}

void HelperBundleBuilderTest::signingFailureRemovesTheBundle() {
    ConsoleCapture console;
    HelperBundleBuilder builder(m_dir->filePath("share"), *m_app, makeFakeSigner(m_dir->path(), "", 3), m_log);
    AppFolder folder(QUuid::createUuid(), "Work", "folder.fill");
    QVERIFY(!builder.buildHelperBundle(folder));
    const QString path = m_dir->filePath("share/Trellin/Helpers/Work.app");
    QVERIFY(!QFile::exists(path));
    const QString message = "Trellin: Codesign failed for " + path + " (exit code: 3)";
    QCOMPARE(console.lines, QStringList{message});
    QCOMPARE(m_log.lines, QStringList{message});

    HelperBundleBuilder missing(m_dir->filePath("share"), *m_app, m_dir->filePath("no-such-tool"), m_log);
    QVERIFY(!missing.buildHelperBundle(folder));
    QVERIFY(console.lines.last().startsWith("Trellin: Failed to run codesign: "));
}

void HelperBundleBuilderTest::foldersWithTheSameNameGetBundlesOfTheirOwn() {
    HelperBundleBuilder builder(m_dir->filePath("share"), *m_app, makeFakeSigner(m_dir->path(), "", 0), m_log);
    AppFolder first(QUuid::createUuid(), "Work", "folder.fill");
    AppFolder second(QUuid::createUuid(), "Work", "star");
    const QString firstPath = builder.buildHelperBundle(first).value();
    const QString secondPath = builder.buildHelperBundle(second).value();
    QCOMPARE(QFileInfo(secondPath).fileName(), "Work 2.app");
    QCOMPARE(builder.helperBundleURL(first.id), std::optional<QString>(firstPath));
    QCOMPARE(builder.helperBundleURL(second.id), std::optional<QString>(secondPath));
    // Building the first again reuses its own bundle.
    QCOMPARE(builder.buildHelperBundle(first), std::optional<QString>(firstPath));
}

void HelperBundleBuilderTest::outdatedExecutable() {
    HelperBundleBuilder builder(m_dir->filePath("share"), *m_app, makeFakeSigner(m_dir->path(), "", 0), m_log);
    const QString helper = builder.buildHelperBundle(AppFolder(QUuid::createUuid(), "W", "x")).value();
    const auto setDate = [](const QString& path, const QDateTime& date) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(date, QFileDevice::FileModificationTime));
    };
    const QString appExecutable = m_app->path() + "/Contents/MacOS/Trellin";
    const QString helperExecutable = helper + "/Contents/MacOS/Trellin";
    // A fresh helper runs the application's own executable file, so every helper shares its pages.
    QCOMPARE(inodeOf(helperExecutable), inodeOf(appExecutable));
    QVERIFY(!builder.isHelperExecutableOutdated(helper, m_app->path()));
    // A helper left from an older build has a copy of its own.
    QVERIFY(QFile::remove(helperExecutable) && QFile::copy(appExecutable, helperExecutable));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    setDate(appExecutable, now);
    setDate(helperExecutable, now);
    QVERIFY(!builder.isHelperExecutableOutdated(helper, m_app->path()));
    setDate(helperExecutable, now.addSecs(-60));
    QVERIFY(builder.isHelperExecutableOutdated(helper, m_app->path()));
    QFile::remove(helperExecutable);
    QVERIFY(!builder.isHelperExecutableOutdated(helper, m_app->path()));
}

// Whatever a folder is called, its bundle is one entry directly in the helpers folder, with a
// name the file system takes, and nothing is written anywhere else.
void HelperBundleBuilderTest::namesThatTryToEscapeStayInTheHelpersFolder() {
    HelperBundleBuilder builder(m_dir->filePath("share"), *m_app, makeFakeSigner(m_dir->path(), "", 0), m_log);
    const QString family = QString::fromUtf8("\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466");
    const QStringList names{"..",
                            ".",
                            "../../../outside",
                            "/",
                            "a/../../b",
                            QString("\x01\x1f\x7f\u0085"),
                            QString("\u202E\u200Bgpj.exe"),
                            QString(10'000, u'x'),
                            "e" + QString(5'000, u'\u0301'),
                            family.repeated(30),
                            "A/B",
                            "A:B",
                            "AB"};
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QSet<QString> bundles;
    for (const QString& name : names) {
        const std::optional<QString> helper = builder.buildHelperBundle(AppFolder(QUuid::createUuid(), name, "x"));
        QVERIFY2(helper, qPrintable(name.left(40)));
        QCOMPARE(QFileInfo(*helper).absolutePath(), builder.helpersDir());
        QVERIFY(QFile::encodeName(QFileInfo(*helper).fileName()).size() <= 255);
        QVERIFY(QFileInfo(*helper + "/Contents/Info.plist").isFile());
        bundles.insert(*helper);
    }
    // Names that clean up alike still get bundles of their own.
    QCOMPARE(bundles.size(), names.size());
    QCOMPARE(QDir(builder.helpersDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
             names.size());
    QStringList expected = before + QStringList{"share", "signer.log"};
    expected.sort(Qt::CaseInsensitive);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), expected);
    QCOMPARE(QDir(m_dir->filePath("share")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Trellin"});
    QCOMPARE(QDir(m_dir->filePath("share/Trellin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"Helpers"});
}

// A link, a file or someone else's bundle at a helper's path: the new bundle takes the place,
// a link or file goes as the entry it is, a foreign bundle is kept under another name, and
// nothing they point to or hold is read into, written or run.
void HelperBundleBuilderTest::whatStandsAtTheBundlePathIsNeverWrittenThrough() {
    ConsoleCapture console;
    HelperBundleBuilder builder(m_dir->filePath("share"), *m_app, makeFakeSigner(m_dir->path(), "", 0), m_log);
    const QString elsewhere = m_dir->filePath("elsewhere");
    QVERIFY(writeFile(elsewhere + "/Other.app/Contents/MacOS/Other", "#!/bin/sh\n"));
    QVERIFY(PropertyList::writeFileAtomically(elsewhere + "/Other.app/Contents/Info.plist",
                                              QVariantMap{{"CFBundleIdentifier", "org.example.Other"}},
                                              PropertyList::Format::Xml));
    QVERIFY(writeFile(elsewhere + "/Other.app/Icon\r", "icon"));
    QVERIFY(writeFile(elsewhere + "/settings.plist", "<plist/>"));
    QVERIFY(writeFile(elsewhere + "/seal", "sealed"));
    const auto before = treeSnapshot(elsewhere);
    const QString helpers = builder.helpersDir();

    // A link to another application.
    QVERIFY(QFile::link(elsewhere + "/Other.app", helpers + "/Work.app"));
    const AppFolder work(QUuid::createUuid(), "Work", "folder.fill");
    QCOMPARE(builder.buildHelperBundle(work), std::optional<QString>(helpers + "/Work.app"));
    QVERIFY(!QFileInfo(helpers + "/Work.app").isSymLink());
    QCOMPARE(builder.ownGroupID(helpers + "/Work.app"), std::optional<QString>(FolderID::canonical(work.id)));

    // A bundle of someone else's whose parts are links to files elsewhere.
    QVERIFY(QDir().mkpath(helpers + "/Play.app/Contents/_CodeSignature"));
    QVERIFY(QFile::link(elsewhere + "/settings.plist", helpers + "/Play.app/Contents/Info.plist"));
    QVERIFY(QFile::link(elsewhere + "/seal", helpers + "/Play.app/Contents/_CodeSignature/CodeResources"));
    const AppFolder play(QUuid::createUuid(), "Play", "folder.fill");
    QCOMPARE(builder.buildHelperBundle(play), std::optional<QString>(helpers + "/Play.app"));
    QCOMPARE(builder.ownGroupID(helpers + "/Play.app"), std::optional<QString>(FolderID::canonical(play.id)));
    const QStringList aside = QDir(helpers).entryList({"Play.app.moved-aside-*"}, QDir::AllEntries);
    QCOMPARE(aside.size(), 1);
    QVERIFY(QFileInfo(helpers + "/" + aside.first() + "/Contents/Info.plist").isSymLink());
    QCOMPARE(console.lines.last(), "[HelperManager] Moved " + helpers +
                                       "/Play.app, which Trellin did not build, aside to " + helpers + "/" +
                                       aside.first());

    // A plain file.
    QVERIFY(writeFile(helpers + "/Note.app", "a note"));
    QVERIFY(builder.buildHelperBundle(AppFolder(QUuid::createUuid(), "Note", "x")));
    QVERIFY(QFileInfo(helpers + "/Note.app/Contents/Info.plist").isFile());

    QCOMPARE(treeSnapshot(elsewhere), before);
    QVERIFY(!QFile::exists(signerLog()) || !readFile(signerLog()).contains(elsewhere.toUtf8()));
}

void HelperBundleBuilderTest::onlyBundlesBuiltHereAreFound() {
    HelperBundleBuilder builder(m_dir->filePath("share"), *m_app, makeFakeSigner(m_dir->path(), "", 0), m_log);
    const AppFolder work(QUuid::createUuid(), "Work", "folder.fill");
    const QString id = FolderID::canonical(work.id);
    const QString helpers = builder.helpersDir();
    // Another application that claims the folder, and a link to a bundle that would be ours.
    QVERIFY(writeFile(helpers + "/Claim.app/Contents/MacOS/Trellin", "binary"));
    QVERIFY(PropertyList::writeFileAtomically(
        helpers + "/Claim.app/Contents/Info.plist",
        QVariantMap{{"CFBundleIdentifier", "org.example.Other"}, {"TRGroupUUID", id}}, PropertyList::Format::Xml));
    const QString real = builder.buildHelperBundle(work).value();
    QVERIFY(QDir().rename(real, m_dir->filePath("Moved.app")));
    QVERIFY(QFile::link(m_dir->filePath("Moved.app"), helpers + "/Linked.app"));
    QVERIFY(!builder.ownGroupID(helpers + "/Claim.app"));
    QVERIFY(!builder.ownGroupID(helpers + "/Linked.app"));
    QVERIFY(!builder.helperBundleURL(work.id));
}

// A name a property list cannot hold: the bundle would not say which folder it serves, and would
// run as a second main application. It is never signed, kept or launched.
void HelperBundleBuilderTest::aBundleThatCannotBeStampedIsNeverSigned() {
    ConsoleCapture console;
    HelperBundleBuilder builder(m_dir->filePath("share"), *m_app, makeFakeSigner(m_dir->path(), "", 0), m_log);
    const AppFolder folder(QUuid::createUuid(), QString("Wo") + QChar(0) + "rk", "folder.fill");
    QVERIFY(!builder.buildHelperBundle(folder));
    QVERIFY(QDir(builder.helpersDir()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System));
    QVERIFY(!QFile::exists(signerLog()));
    const QString message = "Trellin: Failed to stamp the helper bundle of folder " + FolderID::canonical(folder.id) +
                            ": a string holds a NUL character";
    QCOMPARE(console.lines, QStringList{message});
    QCOMPARE(m_log.lines, QStringList{message});
}

void HelperBundleBuilderTest::unfinishedBuildsAreCleared() {
    HelperBundleBuilder builder(m_dir->filePath("share"), *m_app, makeFakeSigner(m_dir->path(), "", 0), m_log);
    const QString helpers = builder.helpersDir();
    QVERIFY(writeFile(helpers + "/.trellin-build-Ab12Cd/Contents/Info.plist", "half"));
    QVERIFY(writeFile(helpers + "/.trellin-replaced-Ef34Gh/Contents/Info.plist", "old"));
    QVERIFY(writeFile(m_dir->filePath("kept/file"), "kept"));
    QVERIFY(QFile::link(m_dir->filePath("kept"), helpers + "/.trellin-build-Link99"));
    QVERIFY(writeFile(helpers + "/.hidden-of-someone", "x"));
    builder.removeUnfinishedBuilds();
    QCOMPARE(QDir(helpers).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             QStringList{".hidden-of-someone"});
    QCOMPARE(readFile(m_dir->filePath("kept/file")), QByteArray("kept"));
}

// Run from anywhere but an application bundle, there is nothing to copy: the working folder's
// names are never looked up from the root.
void HelperBundleBuilderTest::aProgramOutsideABundleCopiesNothing() {
    ConsoleCapture console;
    const Bundle nowhere{QString()};
    HelperBundleBuilder builder(m_dir->filePath("share"), nowhere, makeFakeSigner(m_dir->path(), "", 0), m_log);
    QVERIFY(QDir().mkpath(m_dir->filePath("cwd/etc")));
    const QString cwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->filePath("cwd")));
    const bool built = bool(builder.buildHelperBundle(AppFolder(QUuid::createUuid(), "Work", "folder.fill")));
    QDir::setCurrent(cwd);
    QVERIFY(!built);
    QVERIFY(QDir(builder.helpersDir()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System));
    QVERIFY(!QFile::exists(signerLog()));
    QCOMPARE(console.lines,
             QStringList{"Failed to copy app bundle: Trellin is not running from an application bundle"});
}

QTEST_GUILESS_MAIN(HelperBundleBuilderTest)
#include "HelperBundleBuilderTest.moc"
