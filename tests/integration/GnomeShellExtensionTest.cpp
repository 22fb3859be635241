// Trellin's GNOME Shell extension: what the bundle ships against the names the helpers use, and its
// installation into a user's extensions folder with the shell's settings in a test store.
#include "platform/linux/GnomeShellExtension.h"
#include "platform/linux/GioDesktopSettings.h"
#include "platform/linux/GnomeShellNames.h"

#include "BusTestCase.h"
#include "FakeShellObject.h"
#include "TestDesktopSettings.h"
#include "TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

const QString kShell = QStringLiteral("org.gnome.shell");
const QString kBundled =
    QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/Resources/gnome-shell-extension/") + GnomeShellNames::tilesExtension;
const QString kDashToDock = QStringLiteral("dash-to-dock@micxgx.gmail.com");

QJsonObject metadata(const QString& folder) {
    return QJsonDocument::fromJson(readFile(folder + QStringLiteral("/metadata.json"))).object();
}

QStringList listIn(const QString& key) {
    std::unique_ptr<DesktopSettings::Schema> shell = GioDesktopSettings().open(kShell);
    return shell ? shell->value(key).value_or(QVariant()).toStringList() : QStringList();
}

} // namespace

class GnomeShellExtensionTest : public BusTestCase {
    Q_OBJECT
public:
    GnomeShellExtensionTest() { m_settingsReady = m_settings.setUp(); }

private Q_SLOTS:
    void init() {
        QVERIFY(m_settingsReady);
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("disable-user-extensions"), QStringLiteral("false")));
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("enabled-extensions"),
                                         QStringLiteral("['%1', 'other@example.org']").arg(kDashToDock)));
        // Switched off by the user once: installing on request switches it on again.
        const QString marker = QStringLiteral("case-%1@tests").arg(++m_case);
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("disabled-extensions"),
                                         QStringLiteral("['%1', '%2']").arg(GnomeShellNames::tilesExtension, marker)));
        // This process sees another's writes when its file monitor tells it.
        QTRY_VERIFY_WITH_TIMEOUT(listIn(QStringLiteral("disabled-extensions")).contains(marker), 5000);
        m_shellConnection = newConnection();
        QVERIFY(m_shellConnection.registerService(GnomeShellNames::service));
    }
    void cleanup() { m_shellConnection.unregisterService(GnomeShellNames::service); }

    // The helpers ask by the names the extension exports, and GNOME loads it only when its folder
    // is named by its uuid and it declares this shell's version.
    void theBundleShipsTheExtensionTheHelpersAsk() {
        const QJsonObject bundled = metadata(kBundled);
        QCOMPARE(bundled.value("uuid").toString(), GnomeShellNames::tilesExtension);
        QVERIFY(bundled.value("version").isDouble() && bundled.value("version").toInt() > 0);
        QCOMPARE(bundled.value("shell-version").toArray(), QJsonArray({"43"}));
        QVERIFY(QFile::exists(kBundled + QStringLiteral("/extension.js")));

        // The extension reads the description it ships with; the helpers' names must match it.
        const QByteArray description = readFile(kBundled + QStringLiteral("/app.trellin.ShellTiles.xml"));
        QCOMPARE(description, readFile(QStringLiteral(TRELLIN_SOURCE_DIR "/docs/dbus/app.trellin.ShellTiles.xml")));
        QXmlStreamReader xml(description);
        QString path, interface, method;
        QMap<QString, QString> signatures;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QString name = xml.attributes().value("name").toString();
            if (xml.name() == u"node" && path.isEmpty())
                path = name;
            else if (xml.name() == u"interface")
                interface = name;
            else if (xml.name() == u"method")
                method = name;
            else if (xml.name() == u"arg")
                signatures[method + u' ' + xml.attributes().value("direction").toString()] +=
                    xml.attributes().value("type");
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(path, GnomeShellNames::tilesPath);
        QCOMPARE(interface, GnomeShellNames::tilesInterface);
        QCOMPARE(signatures.value(GnomeShellNames::getTileMethod + QStringLiteral(" in")), QStringLiteral("s"));
        QCOMPARE(signatures.value(GnomeShellNames::getTileMethod + QStringLiteral(" out")), QStringLiteral("biiiis"));
        QCOMPARE(signatures.value(GnomeShellNames::getDockMethod + QStringLiteral(" out")), QStringLiteral("bsi"));
    }

    void installSwitchesItOnKeepingTheOthers() {
        GnomeShellExtension extension = make();
        QCOMPARE(extension.state(), DockExtension::State::NotInstalled);
        QCOMPARE(extension.install(), std::nullopt);
        QCOMPARE(treeSnapshot(installed()), treeSnapshot(kBundled));
        QCOMPARE(listIn(QStringLiteral("enabled-extensions")),
                 QStringList({kDashToDock, QStringLiteral("other@example.org"), GnomeShellNames::tilesExtension}));
        QVERIFY(!listIn(QStringLiteral("disabled-extensions")).contains(GnomeShellNames::tilesExtension));
        QCOMPARE(QDir(m_home->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList(GnomeShellNames::tilesExtension));
        // The running shell did not see it at its start: it runs it from the next login.
        QCOMPARE(extension.state(), DockExtension::State::Installed);
        FakeShellObject tiles(m_shellConnection, GnomeShellNames::tilesPath);
        QVERIFY(tiles.start());
        tiles.answer(GnomeShellNames::getDockMethod, {false, QString(), 0});
        QCOMPARE(extension.state(), DockExtension::State::Active);
        // Once more changes nothing, and does not list it twice.
        QCOMPARE(extension.install(), std::nullopt);
        QCOMPARE(listIn(QStringLiteral("enabled-extensions")).count(GnomeShellNames::tilesExtension), 1);

        // The shell saw it at its start and would not run it (made for another version): said so.
        tiles.stop();
        FakeShellObject shell(m_shellConnection, GnomeShellNames::extensionsPath);
        QVERIFY(shell.start());
        shell.answer(GnomeShellNames::extensionInfoMethod, {QVariantMap{{"state", 4.0}}});
        QCOMPARE(extension.state(), DockExtension::State::Refused);
        QCOMPARE(shell.calls(GnomeShellNames::extensionInfoMethod),
                 QList<QVariantList>({{GnomeShellNames::tilesExtension}}));
        shell.answer(GnomeShellNames::extensionInfoMethod, {QVariantMap{{"state", 2.0}}});
        QCOMPARE(extension.state(), DockExtension::State::Installed);

        // All extensions switched off by the user: left so, but not reported as done.
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("disable-user-extensions"), QStringLiteral("true")));
        QTRY_COMPARE_WITH_TIMEOUT(extension.state(), DockExtension::State::NotInstalled, 5000);
        QVERIFY(extension.install().value_or(QString()).contains(QStringLiteral("switched off")));
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("disable-user-extensions"), QStringLiteral("false")));
        QTRY_COMPARE_WITH_TIMEOUT(extension.state(), DockExtension::State::Installed, 5000);

        // Switched off by the user: offered again.
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("enabled-extensions"), QStringLiteral("@as []")));
        QTRY_COMPARE_WITH_TIMEOUT(extension.state(), DockExtension::State::NotInstalled, 5000);
    }

    void anOlderCopyIsReplacedANewerOneKept() {
        QVERIFY(writeFile(installed() + QStringLiteral("/metadata.json"),
                          R"({"uuid": "trellin-tiles@trellin.app", "version": 1})"));
        QVERIFY(writeFile(installed() + QStringLiteral("/stale.js"), "old"));
        GnomeShellExtension extension = make();
        QCOMPARE(extension.state(), DockExtension::State::Outdated);
        QCOMPARE(extension.install(), std::nullopt);
        QCOMPARE(treeSnapshot(installed()), treeSnapshot(kBundled));

        // A newer Trellin installed its own: this one does not take it back.
        const QByteArray newer = R"({"uuid": "trellin-tiles@trellin.app", "version": 999999})";
        QVERIFY(writeFile(installed() + QStringLiteral("/metadata.json"), newer));
        QCOMPARE(extension.state(), DockExtension::State::Installed);
        QCOMPARE(extension.install(), std::nullopt);
        QCOMPARE(readFile(installed() + QStringLiteral("/metadata.json")), newer);

        // Unreadable metadata is no copy to keep.
        QVERIFY(writeFile(installed() + QStringLiteral("/metadata.json"), "{ not json"));
        QCOMPARE(extension.state(), DockExtension::State::NotInstalled);
        QCOMPARE(extension.install(), std::nullopt);
        QCOMPARE(treeSnapshot(installed()), treeSnapshot(kBundled));
    }

    // Links planted where the extension goes, or in it, are replaced as entries: nothing they
    // point to is read as the extension, written or removed.
    void plantedLinksAreNotFollowed() {
        QTemporaryDir elsewhere;
        QVERIFY(writeFile(elsewhere.filePath(QStringLiteral("precious")), "keep"));
        QVERIFY(writeFile(elsewhere.filePath(QStringLiteral("metadata.json")),
                          R"({"uuid": "trellin-tiles@trellin.app", "version": 999999})"));
        const QMap<QString, QByteArray> before = treeSnapshot(elsewhere.path());
        QVERIFY(QFile::link(elsewhere.path(), installed()));
        GnomeShellExtension extension = make();
        QCOMPARE(extension.state(), DockExtension::State::NotInstalled);
        QCOMPARE(extension.install(), std::nullopt);
        QVERIFY(!QFileInfo(installed()).isSymLink());
        QCOMPARE(treeSnapshot(installed()), treeSnapshot(kBundled));
        QCOMPARE(treeSnapshot(elsewhere.path()), before);

        QVERIFY(QFile::remove(installed() + QStringLiteral("/metadata.json")));
        QVERIFY(QFile::link(elsewhere.filePath(QStringLiteral("metadata.json")),
                            installed() + QStringLiteral("/metadata.json")));
        QCOMPARE(extension.state(), DockExtension::State::NotInstalled);
        QCOMPARE(extension.install(), std::nullopt);
        QCOMPARE(treeSnapshot(installed()), treeSnapshot(kBundled));
        QCOMPARE(treeSnapshot(elsewhere.path()), before);
    }

    void whatCannotBeDoneIsSaid() {
        // No GNOME settings: nothing is copied that could never be switched on.
        GnomeShellExtension withoutGnome(kBundled, m_home->path(), nullptr, newConnection());
        QVERIFY(withoutGnome.install().value_or(QString()).contains(kShell));
        QVERIFY(!QFileInfo::exists(installed()));
        // A bundle without the extension.
        GnomeShellExtension withoutBundle(m_home->filePath(QStringLiteral("nothing")), m_home->path(),
                                          std::make_unique<GioDesktopSettings>(), newConnection());
        QVERIFY(withoutBundle.install().has_value());
        // An extensions folder that cannot be made: the settings stay as they were.
        QVERIFY(writeFile(m_home->filePath(QStringLiteral("file")), "x"));
        GnomeShellExtension blocked(kBundled, m_home->filePath(QStringLiteral("file/extensions")),
                                    std::make_unique<GioDesktopSettings>(), newConnection());
        QVERIFY(blocked.install().has_value());
        QVERIFY(!listIn(QStringLiteral("enabled-extensions")).contains(GnomeShellNames::tilesExtension));
    }

private:
    GnomeShellExtension make() {
        return GnomeShellExtension(kBundled, m_home->path(), std::make_unique<GioDesktopSettings>(), newConnection());
    }
    QString installed() const { return m_home->filePath(GnomeShellNames::tilesExtension); }

    TestDesktopSettings m_settings;
    bool m_settingsReady = false;
    int m_case = 0;
    std::unique_ptr<QTemporaryDir> m_home;
    QDBusConnection m_shellConnection{QString()};
};

QTEST_GUILESS_MAIN(GnomeShellExtensionTest)
#include "GnomeShellExtensionTest.moc"
