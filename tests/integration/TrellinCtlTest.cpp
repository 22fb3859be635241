// trellinctl as a script runs it: against a running Trellin, and starting one when none runs,
// on a bus and in a home of its own. Every refusal exits non-zero with one line and changes
// nothing.
#include "TestFiles.h"
#include "TrellinProcesses.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <csignal>

namespace {

const QString kCtl = QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/trellinctl");

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

} // namespace

class TrellinCtlTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TrellinProcesses> m_run;

    QString foldersPath() const { return m_run->supportPath("folders.json"); }

    Result ctl(const QStringList& arguments, const QByteArray& input = {}) {
        QProcess* process = m_run->start(kCtl, arguments, QProcess::SeparateChannels);
        if (!input.isNull()) {
            process->write(input);
            process->closeWriteChannel();
        }
        if (!process->waitForFinished(60000))
            return {};
        return {process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
                process->readAllStandardOutput(), process->readAllStandardError()};
    }

    // One line on standard error, naming the fault, and a failure status; nothing on standard output.
    static void verifyRefused(const Result& result, const char* fault, int status = 1) {
        QCOMPARE(result.exitCode, status);
        const QByteArray firstLine = result.err.split('\n').first();
        QVERIFY2(firstLine.startsWith("trellinctl: ") && firstLine.contains(fault), result.err.constData());
        if (status == 1)
            QVERIFY2(result.err.count('\n') == 1, result.err.constData());
        QVERIFY(result.out.isEmpty());
    }

    QJsonArray folders() {
        const Result listed = ctl({"list", "--json"});
        return listed.exitCode == 0 ? QJsonDocument::fromJson(listed.out).array() : QJsonArray();
    }

    // An application of this home's desktop: running it leaves a mark named after it.
    QString installEntry(const QString& id, const QString& name) {
        const QString marks = m_run->homePath("launched");
        const QByteArray entry = "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                                 "\nExec=/bin/sh -c \"echo " + name.toUtf8() + " >> " + marks.toUtf8() + "\"\n";
        [[maybe_unused]] const bool written = writeFile(m_run->homePath("share/applications/" + id), entry);
        return m_run->homePath("share/applications/" + id);
    }

    // The main application this test's commands started, which no QProcess of the test owns.
    void endMainApplication() {
        const auto pid = m_run->connection().interface()->servicePid(TrellinProcesses::mainService);
        if (pid.isValid() && pid.value() > 0)
            ::kill(pid_t(pid.value()), SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(!m_run->isRegistered(TrellinProcesses::mainService), 10000);
    }

private Q_SLOTS:
    void init() {
        m_run = std::make_unique<TrellinProcesses>();
        QVERIFY(m_run->isReady());
    }

    void cleanup() {
        endMainApplication();
        m_run.reset();
        qunsetenv("GSETTINGS_BACKEND");
        qunsetenv("XDG_CONFIG_HOME");
    }

    void startsTrellinWithoutItsWindowAndScriptsTheFolders();
    void exportRemoveImportAndRestoreKeepTheSameFolders();
    void refusalsChangeNothing();
    void launchAllOpensEachApplicationOnce();
    void dockedFolderOpensItsPopup();
    void gnomeAppFoldersComeInOnce();
};

void TrellinCtlTest::startsTrellinWithoutItsWindowAndScriptsTheFolders() {
    installEntry("org.example.Editor.desktop", "Editor");
    const QString viewer = installEntry("org.example.Viewer.desktop", "Viewer");
    QVERIFY(!m_run->isRegistered(TrellinProcesses::mainService));

    const Result added = ctl({"add", "Work", "--symbol", "hammer", "--app", "org.example.Editor.desktop"});
    QVERIFY2(added.exitCode == 0, added.err.constData());
    QVERIFY(m_run->isRegistered(TrellinProcesses::mainService));
    const QByteArray id = added.out.trimmed();
    QCOMPARE(id.size(), 36);

    QVERIFY(ctl({"add-app", "Work", viewer, "org.example.Editor"}).exitCode == 0);
    QVERIFY(ctl({"rename", QString::fromLatin1(id).toLower(), "Projects"}).exitCode == 0);
    QJsonArray list = folders();
    QCOMPARE(list.size(), 1);
    QJsonObject folder = list.first().toObject();
    QCOMPARE(folder["id"].toString().toLatin1(), id);
    QCOMPARE(folder["name"].toString(), "Projects");
    QCOMPARE(folder["symbol"].toString(), "hammer");
    // The same application named twice is one item, in the order given.
    QCOMPARE(folder["apps"].toArray().size(), 2);
    QCOMPARE(folder["apps"][0]["name"].toString(), "Editor");
    QCOMPARE(folder["apps"][1]["name"].toString(), "Viewer");
    QVERIFY(folder["apps"][1]["installed"].toBool());
    // What the script changed is in the folders file, as the window would have saved it.
    QTRY_VERIFY_WITH_TIMEOUT(readFile(foldersPath()).contains("\"Projects\""), 5000);

    QVERIFY(ctl({"remove-app", "Projects", "org.example.Editor.desktop"}).exitCode == 0);
    QCOMPARE(folders().first()["apps"].toArray().size(), 1);
    const Result readable = ctl({"list"});
    QCOMPARE(readable.exitCode, 0);
    QVERIFY(readable.out.startsWith(QByteArray("Projects\t" + id + "\tnot in Dock\t1 app(s)\n  Viewer\t")));

    QVERIFY(ctl({"remove", "Projects"}).exitCode == 0);
    QCOMPARE(folders().size(), 0);
}

void TrellinCtlTest::exportRemoveImportAndRestoreKeepTheSameFolders() {
    QProcess* trellin = m_run->startApplication(TRELLIN_BUNDLE_DIR);
    QVERIFY(m_run->waitForService(TrellinProcesses::mainService));
    installEntry("org.example.Editor.desktop", "Editor");
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        QVERIFY(ctl({"add", name, "--app", "org.example.Editor.desktop"}).exitCode == 0);
    const QJsonArray before = folders();
    const QString document = m_run->homePath("exported.json");
    QCOMPARE(ctl({"export", document}).exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(readFile(document)).object()["format"].toString(), "trellin-folders");
    const Result toStandardOutput = ctl({"export"});
    QCOMPARE(QJsonDocument::fromJson(toStandardOutput.out).object()["folders"].toArray().size(), 3);

    for (const char* name : {"Alpha", "Beta", "Gamma"})
        QVERIFY(ctl({"remove", name}).exitCode == 0);
    const Result imported = ctl({"import", document});
    QCOMPARE(imported.exitCode, 0);
    QCOMPARE(imported.out.trimmed(), "added 3, updated 0, unchanged 0");
    QCOMPARE(folders(), before);
    // The same document again, from standard input, finds nothing new.
    QCOMPARE(ctl({"import", "-"}, readFile(document)).out.trimmed(), "added 0, updated 0, unchanged 3");

    // A kept copy goes back in place of the list, which is kept as a copy first.
    const Result backups = ctl({"backups"});
    QCOMPARE(backups.exitCode, 0);
    QVERIFY(backups.out.startsWith("folders-"));
    const QString newest = QString::fromUtf8(backups.out.split('\t').first());
    const QByteArray copy = readFile(m_run->supportPath("Backups/" + newest));
    const QByteArray current = readFile(foldersPath());
    QVERIFY(copy != current);
    QCOMPARE(ctl({"restore", newest}).exitCode, 0);
    QTRY_COMPARE_WITH_TIMEOUT(readFile(foldersPath()), copy, 5000);
    const QStringList kept = QDir(m_run->supportPath("Backups")).entryList(QDir::Files);
    QVERIFY(std::any_of(kept.begin(), kept.end(), [&](const QString& name) {
        return readFile(m_run->supportPath("Backups/" + name)) == current;
    }));
    QVERIFY(m_run->terminate(trellin));
}

void TrellinCtlTest::refusalsChangeNothing() {
    installEntry("org.example.Editor.desktop", "Editor");
    QVERIFY(ctl({"add", "Work", "--app", "org.example.Editor.desktop"}).exitCode == 0);
    QVERIFY(ctl({"add", "Empty"}).exitCode == 0);
    QVERIFY(ctl({"add", "Twin"}).exitCode == 0);
    QVERIFY(ctl({"add", "Twin"}).exitCode == 0);
    QTRY_VERIFY_WITH_TIMEOUT(readFile(foldersPath()).count("\"Twin\"") == 2, 5000);
    const QByteArray file = readFile(foldersPath());
    const QJsonArray before = folders();

    verifyRefused(ctl({}), "no command", 2);
    verifyRefused(ctl({"frobnicate"}), "unknown command", 2);
    verifyRefused(ctl({"dock", "Work", "maybe"}), "on or off", 2);
    verifyRefused(ctl({"rename", "Work"}), "wrong number of arguments", 2);
    verifyRefused(ctl({"remove", "Nowhere"}), "no folder is named \"Nowhere\"");
    verifyRefused(ctl({"remove", "00000000-0000-4000-8000-000000000000"}), "no folder has the id");
    verifyRefused(ctl({"remove", "Twin"}), "2 folders are named \"Twin\"");
    verifyRefused(ctl({"rename", "Work", "   "}), "a folder needs a name");
    verifyRefused(ctl({"add", "Other", "--symbol", "no.such.symbol"}), "unknown symbol");
    verifyRefused(ctl({"add", "Other", "--app", "org.example.Missing.desktop"}), "org.example.Missing");
    verifyRefused(ctl({"add-app", "Work", "org.example.Editor.desktop", "/nowhere/App.app"}), "/nowhere/App.app");
    verifyRefused(ctl({"remove-app", "Work", "org.example.Viewer.desktop"}), "not in the folder");
    verifyRefused(ctl({"dock", "Empty", "on"}), "no applications");
    verifyRefused(ctl({"open", "Work"}), "not in the Dock");
    verifyRefused(ctl({"launch-all", "Empty"}), "no applications");
    verifyRefused(ctl({"restore", "folders-nothing.json"}), "no kept copy");
    verifyRefused(ctl({"import", "--gnome-app-folders"}), "no app folders");

    // Documents that are none, or of a version to come, and files that cannot be read.
    const QString damaged = m_run->homePath("damaged.json");
    QVERIFY(writeFile(damaged, R"({"format": "trellin-folders", "version": 1, "folders": [)"));
    const QString foreign = m_run->homePath("foreign.json");
    QVERIFY(writeFile(foreign, R"({"format": "other", "version": 1, "folders": []})"));
    const QString future = m_run->homePath("future.json");
    QVERIFY(writeFile(future, R"({"format": "trellin-folders", "version": 2, "folders": []})"));
    verifyRefused(ctl({"import", damaged}), "not a Trellin folders document: not JSON");
    verifyRefused(ctl({"import", foreign}), "its format is \"other\"");
    verifyRefused(ctl({"import", future}), "from a newer Trellin");
    verifyRefused(ctl({"import", m_run->homePath("absent.json")}), "cannot read");
    verifyRefused(ctl({"import", m_run->homePath("")}), "cannot read");
    verifyRefused(ctl({"export", m_run->homePath("")}), "cannot write");

    QCOMPARE(folders(), before);
    QCOMPARE(readFile(foldersPath()), file);
}

void TrellinCtlTest::launchAllOpensEachApplicationOnce() {
    installEntry("org.example.Editor.desktop", "Editor");
    installEntry("org.example.Viewer.desktop", "Viewer");
    QVERIFY(
        ctl({"add", "Work", "--app", "org.example.Editor.desktop", "--app", "org.example.Viewer.desktop"}).exitCode ==
        0);
    const Result launched = ctl({"launch-all", "Work"});
    QVERIFY2(launched.exitCode == 0, launched.err.constData());
    // Both at once: in whichever order they start.
    const auto marks = [this] {
        QList<QByteArray> lines = readFile(m_run->homePath("launched")).split('\n');
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    QTRY_COMPARE_WITH_TIMEOUT(marks(), (QList<QByteArray>{"", "Editor", "Viewer"}), 10000);
}

void TrellinCtlTest::dockedFolderOpensItsPopup() {
    QProcess* trellin = m_run->startApplication(TRELLIN_BUNDLE_DIR);
    QVERIFY(m_run->waitForService(TrellinProcesses::mainService));
    installEntry("org.example.Editor.desktop", "Editor");
    const QByteArray id = ctl({"add", "Work", "--app", "org.example.Editor.desktop"}).out.trimmed();
    QCOMPARE(ctl({"dock", "Work", "on"}).exitCode, 0);
    QVERIFY(folders().first()["inDock"].toBool());
    const QString helper = "app.trellin.Trellin.Helper.G" + QString::fromLatin1(id).remove('-');
    QVERIFY2(m_run->waitForService(helper, 30000), m_run->output(trellin).constData());
    const Result opened = ctl({"open", QString::fromLatin1(id)});
    QVERIFY2(opened.exitCode == 0, opened.err.constData());
    QCOMPARE(ctl({"dock", "Work", "off"}).exitCode, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!m_run->isRegistered(helper), 20000);
    verifyRefused(ctl({"open", "Work"}), "not in the Dock");
}

// GNOME keeps its app folders in GSettings; a key file stands for its database here.
void TrellinCtlTest::gnomeAppFoldersComeInOnce() {
    qputenv("GSETTINGS_BACKEND", "keyfile");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_run->homePath("config")));
    installEntry("org.example.Editor.desktop", "Editor");
    QVERIFY(writeFile(m_run->homePath("config/glib-2.0/settings/keyfile"),
                      "[org/gnome/desktop/app-folders]\nfolder-children=['Office']\n\n"
                      "[org/gnome/desktop/app-folders/folders/Office]\nname='Office Tools'\n"
                      "apps=['org.example.Editor.desktop', 'org.example.Gone.desktop']\n"));
    const Result first = ctl({"import", "--gnome-app-folders"});
    QVERIFY2(first.exitCode == 0, first.err.constData());
    QCOMPARE(first.out.trimmed(), "added 1, updated 0, unchanged 0");
    QCOMPARE(ctl({"import", "--gnome-app-folders"}).out.trimmed(), "added 0, updated 0, unchanged 1");
    const QJsonArray list = folders();
    QCOMPARE(list.size(), 1);
    QCOMPARE(list.first()["name"].toString(), "Office Tools");
    QCOMPARE(list.first()["apps"].toArray().size(), 1);
    QCOMPARE(list.first()["apps"][0]["name"].toString(), "Editor");
}

QTEST_GUILESS_MAIN(TrellinCtlTest)
#include "TrellinCtlTest.moc"
