// The run mode and its mirror in the defaults, which every helper shares with the application.
#include "helpers/RunMode.h"
#include "platform/Bundle.h"
#include "platform/linux/PlistUserDefaults.h"

#include "TestHome.h"

#include <QTest>

namespace {

const QString kWorkID = QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
const QString kPlayID = QStringLiteral("1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");

// The bundle, defaults and run mode of one process living in the test home.
struct Process {
    Process(const TestHome& home, const QString& bundle, const QString& groupID)
        : bundle(home.makeBundle(bundle, info(groupID)))
        , defaults(home.path(QStringLiteral("Library/Preferences")), TestHome::bundleIdentifier, {})
        , runMode(this->bundle, defaults, {QStringLiteral("Trellin")}) {}

    static QVariantMap info(const QString& groupID) {
        QVariantMap info{{"CFBundleIdentifier", TestHome::bundleIdentifier}, {"CFBundleExecutable", "Trellin"}};
        if (!groupID.isEmpty())
            info.insert("TRGroupUUID", groupID);
        return info;
    }

    Bundle bundle;
    PlistUserDefaults defaults;
    RunMode runMode;
};

} // namespace

class RunModeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void processesSharingTheDefaultsMirrorTheirGroupOnce() {
        // Every helper keeps the application's bundle identifier, so all share one defaults file,
        // and each mirrors a different folder id into it.
        TestHome home;
        Process application(home, "Trellin.app", {});
        Process work(home, "Helpers/Work.app", kWorkID);
        Process play(home, "Helpers/Play.app", kPlayID);

        QVERIFY(!application.runMode.isHelperProcess());
        QCOMPARE(work.runMode.helperFolderID(), QUuid::fromString(kWorkID));
        QVERIFY(play.runMode.isHelperProcess());
        QCOMPARE(home.defaults->stringForKey("group"), std::optional<QString>(kPlayID));

        // Asked again and again (at every notification), none of them writes the file again.
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(play.runMode.currentGroupID(), std::optional<QString>(kPlayID));
            QCOMPARE(work.runMode.currentGroupID(), std::optional<QString>(kWorkID));
            QVERIFY(!application.runMode.currentGroupID());
        }
        QCOMPARE(home.defaults->stringForKey("group"), std::optional<QString>(kPlayID));

        // A process started afterwards still mirrors what it is: the application removes the key.
        Process again(home, "Trellin.app", {});
        QVERIFY(!again.runMode.isHelperProcess());
        QVERIFY(!home.defaults->hasObject("group"));
    }
};

QTEST_GUILESS_MAIN(RunModeTest)
#include "RunModeTest.moc"
