#include "ConsoleCapture.h"
#include "ProcessChildren.h"
#include "TestFiles.h"
#include "platform/FileIcons.h"
#include "platform/linux/GioDesktopEntries.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/ModuleDesktopEntries.h"
#include "platform/linux/X11StartupNotification.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray entry(const QByteArray& keys) {
    return "[Desktop Entry]\nType=Application\n" + keys + "\n";
}

QColor centreOf(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

// Real GIO over a desktop made of temporary data directories; GIO reads the XDG variables once,
// so one tree serves every case.
class DesktopEntriesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    GioDesktopEntries m_entries;

    QString path(const QString& relative) const { return m_root.path() + "/" + relative; }
    void write(const QString& relative, const QByteArray& bytes) { QVERIFY(writeFile(path(relative), bytes)); }
    void writeScript(const QString& relative, const QByteArray& body) {
        write(relative, body);
        QVERIFY(QFile::setPermissions(path(relative), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    QMap<QString, QString> installedNames(const QString& language) const {
        QMap<QString, QString> names;
        for (const DesktopEntries::Entry& e : m_entries.installed(language)) {
            if (names.contains(e.id))
                names[e.id] += " (twice)";
            names.insert(e.id, e.name);
        }
        return names;
    }

private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", path("user").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (path("system") + ":" + path("vendor")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", path("config").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", path("config-dirs").toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", "TestDesk");
        qunsetenv("DISPLAY"); // startup notification is seen under X, in the end-to-end tests
        const QByteArray exec = "Exec=/bin/true";

        write("system/applications/org.example.Editor.desktop",
              entry("Name=Editor\nName[uk]=Редактор\nIcon=trellin-test-editor\n" + exec));
        write("vendor/applications/org.example.Editor.desktop", entry("Name=Vendor Editor\n" + exec));
        write("system/applications/org.example.Shadowed.desktop", entry("Name=System copy\n" + exec));
        write("user/applications/org.example.Shadowed.desktop", entry("Name=User copy\n" + exec));
        write("system/applications/org.example.HiddenByUser.desktop", entry("Name=Hidden by user\n" + exec));
        write("user/applications/org.example.HiddenByUser.desktop", entry("Name=Gone\nHidden=true\n" + exec));
        write("system/applications/org.example.NoDisplay.desktop", entry("Name=No display\nNoDisplay=true\n" + exec));
        write("system/applications/org.example.Hidden.desktop", entry("Name=Hidden\nHidden=true\n" + exec));
        write("system/applications/org.example.OnlyKde.desktop", entry("Name=Only KDE\nOnlyShowIn=KDE;\n" + exec));
        write("system/applications/org.example.NotHere.desktop", entry("Name=Not here\nNotShowIn=TestDesk;\n" + exec));
        write("system/applications/org.example.OnlyHere.desktop",
              entry("Name=Only here\nOnlyShowIn=TestDesk;\n" + exec));
        write("system/applications/org.example.TryExec.desktop",
              entry("Name=Try exec\nTryExec=/nonexistent/tool\n" + exec));
        write("system/applications/org.example.NoProgram.desktop", entry("Name=No program\nExec=/nonexistent/tool"));
        write("system/applications/org.example.Link.desktop",
              "[Desktop Entry]\nType=Link\nName=Link\nURL=https://example.org\n");
        write("system/applications/org.example.Broken.desktop", "this is \x01 no key file\n[[[\n");
        write("system/applications/org.example.NoGroup.desktop", "Name=No group\n");
        write("system/applications/vendor/tool.desktop", entry("Name=Vendor tool\n" + exec));
        // Translations of all kinds around the ones asked for, and one malformed translated key.
        write(
            "system/applications/org.example.Brazil.desktop",
            entry(
                "Name=Viewer\nName[de]=Betrachter\nName[pt] =Visualizador\nComment[pt_BR]=Vê\nName[uk_UA]=Перегляд\n" +
                exec));
        write("system/applications/org.example.BadTranslation.desktop", entry("Name=Bad\nName[u k]=Погано\n" + exec));
        // What is no file at all: reading it would wait for ever, or never end.
        QVERIFY(::mkfifo(QFile::encodeName(path("system/applications/org.example.Pipe.desktop")).constData(), 0600) ==
                0);
        QVERIFY(QFile::link("/dev/zero", path("user/applications/org.example.Zero.desktop")));
        write("system/applications/org.example.Absolute.desktop",
              entry("Name=Absolute\nIcon=" + path("art/absolute.png").toUtf8() + "\n" + exec));
        write("system/applications/org.example.Pixmap.desktop", entry("Name=Pixmap\nIcon=trellin-pixmap.png\n" + exec));
        write("system/applications/org.example.NoIcon.desktop", entry("Name=No icon\n" + exec));

        // An icon theme and bare pixmaps, the places a theme icon name is looked for.
        write("system/icons/hicolor/index.theme",
              "[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n[48x48/apps]\nSize=48\nType=Fixed\n");
        QImage red(48, 48, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(QDir().mkpath(path("system/icons/hicolor/48x48/apps")));
        QVERIFY(red.save(path("system/icons/hicolor/48x48/apps/trellin-test-editor.png")));
        QImage green(30, 30, QImage::Format_ARGB32);
        green.fill(Qt::green);
        QVERIFY(QDir().mkpath(path("art")) && green.save(path("art/absolute.png")));
        QImage blue(32, 32, QImage::Format_ARGB32);
        blue.fill(Qt::blue);
        QVERIFY(QDir().mkpath(path("system/pixmaps")) && blue.save(path("system/pixmaps/trellin-pixmap.png")));

        // A program that writes down its arguments.
        writeScript("bin/record", "#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$@\" > \"$(dirname \"$0\")/arguments.txt\"\n");
        write("system/applications/org.example.Record.desktop",
              entry("Name=Record\nExec=" + path("bin/record").toUtf8() + " --files %F"));
        write("system/applications/org.example.RecordThere.desktop",
              entry("Name=Record there\nPath=" + path("art").toUtf8() + "\nExec=" + path("bin/record").toUtf8()));
        FileIcons::setDesktopEntries(&m_entries);
    }

    void onlyWhatTheDesktopShowsIsInstalledOnceEach() {
        const QMap<QString, QString> names = installedNames("en");
        QCOMPARE(names.value("org.example.Editor"), QString("Editor"));
        QCOMPARE(names.value("org.example.Shadowed"), QString("User copy"));
        QCOMPARE(names.value("org.example.OnlyHere"), QString("Only here"));
        QCOMPARE(names.value("vendor-tool"), QString("Vendor tool"));
        for (const char* left :
             {"org.example.HiddenByUser", "org.example.NoDisplay", "org.example.Hidden", "org.example.OnlyKde",
              "org.example.NotHere", "org.example.TryExec", "org.example.NoProgram", "org.example.Link",
              "org.example.Broken", "org.example.NoGroup", "org.example.Pipe", "org.example.Zero"})
            QVERIFY2(!names.contains(left), left);
        QCOMPARE(m_entries.installed("en").size(), names.size());
        for (const DesktopEntries::Entry& e : m_entries.installed("en"))
            QVERIFY2(QFileInfo(e.path).isAbsolute() && QFileInfo(e.path).isFile(), qPrintable(e.path));

        QCOMPARE(m_entries.iconOf(path("system/applications/org.example.Pipe.desktop")), QString());

        // Names in the interface language, the plain Name where a language has none.
        const QMap<QString, QString> ukrainian = installedNames("uk");
        QCOMPARE(ukrainian.value("org.example.Editor"), QString("Редактор"));
        QCOMPARE(ukrainian.value("org.example.Shadowed"), QString("User copy"));
        // A language finds its country's name only when asked with the country, and a country's
        // language the language's.
        QCOMPARE(ukrainian.value("org.example.Brazil"), QString("Viewer"));
        QCOMPARE(installedNames("uk_UA").value("org.example.Brazil"), QString("Перегляд"));
        QCOMPARE(installedNames("pt_BR").value("org.example.Brazil"), QString("Visualizador"));
        QCOMPARE(installedNames("de").value("org.example.Brazil"), QString("Betrachter"));
        QVERIFY(!ukrainian.contains("org.example.BadTranslation"));
    }

    void iconsComeFromTheThemeTheirFileOrThePixmaps() {
        const auto icon = [this](const char* id) {
            return FileIcons::iconForPath(path(QString("system/applications/%1.desktop").arg(id)), 64);
        };
        QCOMPARE(m_entries.iconOf(path("system/applications/org.example.Editor.desktop")),
                 QString("trellin-test-editor"));
        QCOMPARE(centreOf(icon("org.example.Editor")), QColor(Qt::red));
        QCOMPARE(centreOf(icon("org.example.Absolute")), QColor(Qt::green));
        QCOMPARE(centreOf(icon("org.example.Pixmap")), QColor(Qt::blue));
        QCOMPARE(icon("org.example.Editor").size(), QSize(64, 64));
        // No icon, or no entry GIO can read: the generic application icon, the same for both.
        const QImage generic = FileIcons::iconForPath(QString(), 64);
        QCOMPARE(icon("org.example.NoIcon"), generic);
        QCOMPARE(icon("org.example.Broken"), generic);
    }

    // The application takes its entries from the bundle's module, loaded on first use; without
    // it there are none, and a launch says why.
    void theBundleModuleServesTheSameEntries() {
        const auto described = [](const QList<DesktopEntries::Entry>& entries) {
            QStringList lines;
            for (const DesktopEntries::Entry& e : entries)
                lines << e.id + " " + e.path + " " + e.name;
            return lines;
        };
        const ModuleDesktopEntries module(ModuleDesktopEntries::modulePathIn(TRELLIN_BUNDLE_DIR));
        QCOMPARE(described(module.installed("uk")), described(m_entries.installed("uk")));
        QCOMPARE(module.iconOf(path("system/applications/org.example.Editor.desktop")), "trellin-test-editor");

        ConsoleCapture console;
        const ModuleDesktopEntries missing(path("nowhere/libtrellin-gio.so"));
        QVERIFY(missing.installed("en").isEmpty());
        QVERIFY(missing.iconOf(path("system/applications/org.example.Editor.desktop")).isEmpty());
        const std::optional<QString> failure =
            missing.launch(path("system/applications/org.example.Editor.desktop"), {});
        QVERIFY(failure && failure->startsWith("cannot load the desktop-entry module " + path("nowhere")));
        QCOMPARE(console.lines, QStringList{"[DesktopEntries] " + *failure});
    }

    void startupMessagesQuoteTheirValues() {
        QCOMPARE(X11StartupNotification::message("new", {{"ID", "a-1"}, {"NAME", "Say \"hi\" \\ Ґ"}}),
                 QByteArray("new: ID=\"a-1\" NAME=\"Say \\\"hi\\\" \\\\ \xd2\x90\"\0", 38));
        // Without an X display nobody is told, and the application gets no id.
        QVERIFY(X11StartupNotification::begin("Editor", "/bin/true", {}).isEmpty());
    }

    void launchingPassesFilesAndReportsFailures() {
        LinuxWorkspace workspace(QStringLiteral("/proc"), &m_entries);
        const auto open = [&](const QString& entryPath, const QStringList& arguments) {
            std::optional<std::optional<QString>> outcome;
            Workspace::OpenConfiguration configuration;
            configuration.arguments = arguments;
            workspace.openApplication(entryPath, configuration,
                                      [&outcome](const std::optional<QString>& error) { outcome = error; });
            [&] { QTRY_VERIFY(outcome.has_value()); }();
            return outcome.value_or(QString("no answer"));
        };

        QCOMPARE(open(path("system/applications/org.example.Record.desktop"), {"file:///tmp/a%20b.txt"}), std::nullopt);
        // It starts in the home folder, with the file the URI names.
        QTRY_COMPARE(readFile(path("bin/arguments.txt")),
                     QFile::encodeName(QDir::homePath()) + "\n--files\n/tmp/a b.txt\n");
        QVERIFY(QFile::remove(path("bin/arguments.txt")));
        QCOMPARE(open(path("system/applications/org.example.RecordThere.desktop"), {}), std::nullopt);
        QTRY_COMPARE(readFile(path("bin/arguments.txt")), path("art").toUtf8() + "\n");
        // The finished program is waited for: no zombie stays behind.
        QTRY_COMPARE(childrenOfThisProcess(), QStringList());

        const std::optional<QString> noProgram = open(path("system/applications/org.example.NoProgram.desktop"), {});
        QVERIFY(noProgram && noProgram->contains("no desktop entry"));
        QVERIFY(open(path("system/applications/org.example.Missing.desktop"), {}).has_value());
    }
};

QTEST_MAIN(DesktopEntriesTest)
#include "DesktopEntriesTest.moc"
