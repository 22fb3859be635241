// `cmake --install` of the finished build into throw-away prefixes: the bundle whole and still
// sealed, the command that starts it, the icons, and a desktop entry the desktop's own validator
// accepts and that names the installed program where it will finally be.
#include "platform/FolderLaunchers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments, const QString& destDir = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DESTDIR"));
    if (!destDir.isEmpty())
        environment.insert(QStringLiteral("DESTDIR"), destDir);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120'000))
        return {-1, QStringLiteral("%1 did not finish: %2").arg(program, process.errorString())};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

Run install(const QString& prefix, const QString& destDir = {}) {
    return run(QStringLiteral(TRELLIN_CMAKE),
               {QStringLiteral("--install"), QStringLiteral(TRELLIN_BUILD_DIR), QStringLiteral("--prefix"), prefix},
               destDir);
}

// The entry's keys of its [Desktop Entry] group, as written.
QMap<QString, QString> entryKeys(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QMap<QString, QString> keys;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (lines.value(0) != QStringLiteral("[Desktop Entry]"))
        return {};
    for (const QString& line : lines.mid(1)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

QString linkText(const QString& path) {
    char buffer[4096];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    return length < 0 ? QString() : QFile::decodeName(QByteArray(buffer, int(length)));
}

const QString bundleInPrefix = QStringLiteral("/lib/trellin/Trellin.app");
const QString executableInBundle = QStringLiteral("/Contents/MacOS/Trellin");

} // namespace

class InstallTest : public QObject {
    Q_OBJECT

    // Checks the tree installed at `root` (where the files are) for `prefix` (where they will be run).
    void checkInstalledTree(const QString& root, const QString& prefix) {
        const QString bundle = root + bundleInPrefix;
        for (const QString& file :
             {QStringLiteral("/Contents/Info.plist"), executableInBundle,
              QStringLiteral("/Contents/MacOS/trellin-codesign"), QStringLiteral("/Contents/PlugIns/libtrellin-gio.so"),
              QStringLiteral("/Contents/Resources/AppIcon.icns"),
              QStringLiteral("/Contents/Resources/en.lproj/Localizable.qm"),
              QStringLiteral("/Contents/Resources/uk.lproj/Localizable.qm"),
              QStringLiteral("/Contents/Resources/gnome-shell-extension/trellin-tiles@trellin.app/extension.js")})
            QVERIFY2(QFileInfo(bundle + file).isFile(), qPrintable(bundle + file));
        QVERIFY(QFileInfo(bundle + executableInBundle).isExecutable());
        // Copied byte for byte: the bundle's own signer still finds its seal intact.
        const Run verify = run(bundle + QStringLiteral("/Contents/MacOS/trellin-codesign"),
                               {QStringLiteral("--verify"), QStringLiteral("--deep"), bundle});
        QVERIFY2(verify.exitCode == 0, qPrintable(verify.output));

        // The command is a relative link, so the staged tree works once moved into place.
        const QString command = root + QStringLiteral("/bin/trellin");
        QCOMPARE(linkText(command), QStringLiteral("../lib/trellin/Trellin.app/Contents/MacOS/Trellin"));
        QCOMPARE(QFileInfo(command).canonicalFilePath(), QFileInfo(bundle + executableInBundle).canonicalFilePath());

        // trellinctl too, on the PATH through its link, with bash completion for its commands.
        const QString ctl = root + QStringLiteral("/bin/trellinctl");
        QCOMPARE(linkText(ctl), QStringLiteral("../lib/trellin/Trellin.app/Contents/MacOS/trellinctl"));
        const Run help = run(ctl, {QStringLiteral("help")});
        QVERIFY2(help.exitCode == 0 && help.output.startsWith(QStringLiteral("Usage: trellinctl")),
                 qPrintable(help.output));
        const QString completion = root + QStringLiteral("/share/bash-completion/completions/trellinctl");
        const Run completed =
            run(QStringLiteral("bash"),
                {QStringLiteral("-c"),
                 QStringLiteral("source \"$0\"; COMP_WORDS=(trellinctl dock Work o); COMP_CWORD=3; _trellinctl; echo "
                                "\"${COMPREPLY[*]}\"; "
                                "COMP_WORDS=(trellinctl lau); COMP_CWORD=1; _trellinctl; echo \"${COMPREPLY[*]}\""),
                 completion});
        QCOMPARE(completed.output, QStringLiteral("on off\nlaunch-all\n"));

        const QString entryPath = root + QStringLiteral("/share/applications/") + FolderLaunchers::mainEntryId();
        const QMap<QString, QString> entry = entryKeys(entryPath);
        QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(entry.value(QStringLiteral("Name")), QStringLiteral("Trellin"));
        QCOMPARE(entry.value(QStringLiteral("StartupWMClass")), QStringLiteral("trellin"));
        QCOMPARE(entry.value(QStringLiteral("StartupNotify")), QStringLiteral("false"));
        QCOMPARE(entry.value(QStringLiteral("Categories")), QStringLiteral("Utility;"));
        // Quoted, with a per cent sign doubled as the Exec line asks.
        QString exec = prefix + bundleInPrefix + executableInBundle;
        exec.replace(u'%', QStringLiteral("%%"));
        QCOMPARE(entry.value(QStringLiteral("Exec")), u'"' + exec + u'"');
        const Run validate = run(QStringLiteral("desktop-file-validate"), {entryPath});
        QVERIFY2(validate.exitCode == 0 && validate.output.trimmed().isEmpty(),
                 qPrintable(QStringLiteral("desktop-file-validate (package desktop-file-utils): ") + validate.output));

        // The icon the entry names, in the theme every desktop looks in, at the sizes docks show.
        const QString icon = entry.value(QStringLiteral("Icon"));
        QVERIFY(!icon.isEmpty() && !icon.contains(u'/'));
        for (const int size : {48, 128, 256, 512}) {
            const QString path = root + QStringLiteral("/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(icon);
            QImageReader reader(path);
            QCOMPARE(reader.format(), QByteArray("png"));
            QCOMPARE(reader.size(), QSize(size, size));
        }
    }

private Q_SLOTS:
    // A prefix with a space and a per cent sign, given at install time rather than configured.
    void installsUnderThePrefixGivenToTheInstall() {
        QTemporaryDir temporary;
        const QString prefix = temporary.path() + QStringLiteral("/My Apps 100%");
        const Run installed = install(prefix);
        QVERIFY2(installed.exitCode == 0, qPrintable(installed.output));
        checkInstalledTree(prefix, prefix);
        // The build's debug information stays behind.
        QVERIFY(!QFileInfo::exists(prefix + QStringLiteral("/lib/trellin/debug")));
        QCOMPARE(QDir(prefix).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("bin"), QStringLiteral("lib"), QStringLiteral("share")}));
    }

    // A package build stages the tree elsewhere; the entry still names where it will be run from.
    void aStagedInstallNamesTheFinalPlace() {
        QTemporaryDir temporary;
        const QString stage = temporary.path() + QStringLiteral("/stage");
        const Run installed = install(QStringLiteral("/opt/trellin"), stage);
        QVERIFY2(installed.exitCode == 0, qPrintable(installed.output));
        checkInstalledTree(stage + QStringLiteral("/opt/trellin"), QStringLiteral("/opt/trellin"));
        QCOMPARE(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("stage")});
    }

    // A prefix the Exec line cannot name is refused with a reason, and nothing is installed.
    void aPrefixTheEntryCannotNameIsRefusedBeforeAnythingIsCopied() {
        QTemporaryDir temporary;
        for (const QString& name :
             {QStringLiteral("a$HOME"), QStringLiteral("say \"hi\""), QStringLiteral("back\\slash")}) {
            const QString prefix = temporary.path() + u'/' + name;
            const Run installed = install(prefix);
            QVERIFY(installed.exitCode != 0);
            QVERIFY2(installed.output.simplified().contains(QStringLiteral("a desktop entry cannot name a program")),
                     qPrintable(installed.output));
            QVERIFY2(!QFileInfo::exists(prefix), qPrintable(prefix));
        }
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "InstallTest.moc"
