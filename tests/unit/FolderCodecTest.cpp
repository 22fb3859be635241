// The folders file's JSON form: what a stored file must read as, and what we write back.
#include "model/FolderCodec.h"
#include "model/FolderEncodings.h"
#include "model/FolderID.h"

#include <QTest>
#include <QUrl>

#include <cmath>

class FolderCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void handWrittenFileIsWrittenBackCanonically();
    void oneBadValueFailsTheWholeDocument_data();
    void oneBadValueFailsTheWholeDocument();
    void nonFiniteNumbersFailTheEncoding();
    void fileURLsArePercentEncodedWithTrailingSlash();
    void storedURLsAreAcceptedAsTheURLParserJudgesThem();
    void deepDocumentsAndUnstorableNames();
    void keptEncodingsFollowEveryKindOfChange();
};

void FolderCodecTest::handWrittenFileIsWrittenBackCanonically() {
    // Lower-case ids, keys in another order, unknown keys at every level, nulls, a custom colour kept as
    // typed; and a folder with nothing but its id and name, which takes every default and the time given.
    const QByteArray handWritten = R"([
      {"name": "Dev \"tools\"", "id": "a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d", "note": "mine",
       "apps": [{"appURL": "file:///Applications/Visual%20Studio%20Code.app/", "bundleID": "com.microsoft.VSCode",
                 "name": "Code", "id": "00000000-0000-4000-8000-00000000000a", "extra": [1, 2]}],
       "isInDock": true, "emoji": null, "createdAt": 786012345.6789,
       "tileStyle": {"backgroundStyle": "custom", "customHex": "#1e90ff ", "opacity": 1, "future": {}}},
      {"id": "B1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D", "name": "Empty", "tileStyle": {}}
    ])";
    const auto folders = FolderCodec::decode(handWritten, 123.5);
    QVERIFY(folders);
    const QByteArray expected =
        R"([{"id":"A1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D","name":"Dev \"tools\"","emoji":"folder.fill","apps":)"
        R"([{"id":"00000000-0000-4000-8000-00000000000A","name":"Code","bundleID":"com.microsoft.VSCode",)"
        R"("appURL":"file:///Applications/Visual%20Studio%20Code.app/"}],"isInDock":true,)"
        R"("tileStyle":{"displayFolderIcon":false,"opacity":1,"cornerRadius":12,"backgroundStyle":"custom",)"
        R"("customHex":"#1e90ff ","backgroundMode":"gradient","borderEnabled":false,"borderWidth":3,)"
        R"("borderOpacity":1},"createdAt":786012345.6789},)"
        R"({"id":"B1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D","name":"Empty","emoji":"folder.fill","apps":[],)"
        R"("isInDock":false,"tileStyle":{"displayFolderIcon":false,"opacity":0.64,"cornerRadius":12,)"
        R"("backgroundStyle":"light","backgroundMode":"gradient","borderEnabled":false,"borderWidth":3,)"
        R"("borderOpacity":1},"createdAt":123.5}])";
    QCOMPARE(FolderCodec::encode(*folders).value(), expected);
    // What we write reads back to the same bytes.
    QCOMPARE(FolderCodec::encode(FolderCodec::decode(expected, 0).value()).value(), expected);
    QVERIFY(FolderCodec::decode("[]", 0).value().isEmpty());
}

void FolderCodecTest::oneBadValueFailsTheWholeDocument_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("where");
    // A good folder, then a second one made of `fields`.
    const auto row = [](const char* name, const QByteArray& fields, const char* where) {
        QTest::newRow(name) << R"([{"id":"6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"Good"},{)" + fields + "}]"
                            << QString::fromUtf8(where);
    };
    const QByteArray folder = R"("id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X",)";
    const QByteArray app = folder + R"("apps":[{"id":"2F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","bundleID":"a",)";
    QTest::newRow("object at top") << QByteArray("{}") << "the top level";
    QTest::newRow("not JSON") << QByteArray("[{") << "invalid JSON";
    row("unknown background", folder + R"("tileStyle":{"backgroundStyle":"teal"})", "[1].tileStyle.backgroundStyle");
    row("unknown mode", folder + R"("tileStyle":{"backgroundMode":"neon"})", "[1].tileStyle.backgroundMode");
    row("app without URL", app + R"("name":"A"}])", "[1].apps[0].appURL");
    row("app URL with a space", app + R"("name":"A","appURL":"file:///My App.app/"}])", "[1].apps[0].appURL");
    row("app name null", app + R"("name":null,"appURL":"file:///A.app/"}])", "[1].apps[0].name");
    row("missing name", R"("id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C")", "[1].name");
    row("braced id", R"("id":"{1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C}","name":"X")", "[1].id");
    row("id with a letter past F", R"("id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2G","name":"X")", "[1].id");
    row("id with a hyphen moved", R"("id":"1F1C2B3A0-D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X")", "[1].id");
    row("app URL with a bar", app + R"("name":"A","appURL":"file:///A|B.app/"}])", "[1].apps[0].appURL");
    row("number for bool", folder + R"("isInDock":1)", "[1].isInDock");
    row("string for number", folder + R"("tileStyle":{"opacity":"1"})", "[1].tileStyle.opacity");
    row("date as text", folder + R"("createdAt":"2024-01-01")", "[1].createdAt");
}

void FolderCodecTest::oneBadValueFailsTheWholeDocument() {
    QFETCH(QByteArray, json);
    QFETCH(QString, where);
    QString error;
    QVERIFY(!FolderCodec::decode(json, 0, &error));
    QVERIFY2(error.contains(where), qPrintable(error));
}

void FolderCodecTest::nonFiniteNumbersFailTheEncoding() {
    AppFolder first(QUuid::createUuid(), QStringLiteral("Fine"), QStringLiteral("star"), 1);
    AppFolder second(QUuid::createUuid(), QStringLiteral("Broken"), QStringLiteral("star"), 1);
    second.tileStyle.borderWidth = std::numeric_limits<double>::infinity();
    QString error;
    QVERIFY(!FolderCodec::encode({first, second}, &error));
    QVERIFY2(error.contains(QStringLiteral("[1].tileStyle.borderWidth")), qPrintable(error));
    second.tileStyle.borderWidth = 3;
    second.createdAt = std::numeric_limits<double>::quiet_NaN();
    QVERIFY(!FolderCodec::encode({first, second}));
}

void FolderCodecTest::fileURLsArePercentEncodedWithTrailingSlash() {
    QCOMPARE(AppItem::fileURLForPath(QStringLiteral("/Applications/Calculator.app"), true),
             QStringLiteral("file:///Applications/Calculator.app/"));
    const QString url = AppItem::fileURLForPath(QStringLiteral("/Applications/Café #1.app"), true);
    QCOMPARE(url, QStringLiteral("file:///Applications/Caf%C3%A9%20%231.app/"));
    QCOMPARE(AppItem::fileURLForPath(QStringLiteral("/usr/bin/tool"), false), QStringLiteral("file:///usr/bin/tool"));
    const AppItem item{QUuid::createUuid(), QStringLiteral("Café"), QStringLiteral("b"), url};
    QCOMPARE(item.path(), QStringLiteral("/Applications/Café #1.app"));
}

// A document nested far deeper than a folders file ever is, is not one; a name with a NUL is read
// without it, since no helper bundle could carry it.
void FolderCodecTest::storedURLsAreAcceptedAsTheURLParserJudgesThem() {
    // Plain file URLs are checked without the parser: the check must agree with it either way.
    for (const char* url :
         {"file:///Applications/Visual%20Studio%20Code.app/", "file:///usr/share/applications/org.gnome.Maps.desktop",
          "file:///a/b:c@d/e!$&'()*+,;=~_-./", "file:///A%2", "file:///A%zz/", "file:///A%", "file:////server/share",
          "file:///a#b", "file:///a?b", "file:///a[b]", "file:///", "file://host/a", "http://example.com:80/a",
          "http://example.com:port/", "file:///%E2%9C%93.app/"}) {
        const QByteArray json = R"([{"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X","apps":[{"id":)"
                                R"("2F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"A","bundleID":"a","appURL":")" +
                                QByteArray(url) + R"("}]}])";
        QCOMPARE(FolderCodec::decode(json, 0).has_value(), QUrl(QString::fromUtf8(url), QUrl::StrictMode).isValid());
    }
}

void FolderCodecTest::deepDocumentsAndUnstorableNames() {
    QString error;
    const QByteArray deep = QByteArray("[").repeated(50'000) + QByteArray("]").repeated(50'000);
    QVERIFY(!FolderCodec::decode(deep, 0, &error));
    QCOMPARE(error, "The data couldn't be read because it isn't in the correct format. (nested deeper than 256 "
                    "levels)");
    // Brackets inside names are text, not nesting.
    const QByteArray brackets =
        R"([{"id":"A1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D","name":")" + QByteArray("[{\\\"").repeated(400) + R"("}])";
    const auto withBrackets = FolderCodec::decode(brackets, 0, &error);
    QVERIFY2(withBrackets, qPrintable(error));
    QCOMPARE(withBrackets->first().name, QString("[{\"").repeated(400));
    // A name ending in an escaped backslash ends at the next quote, and what follows still counts.
    const QByteArray afterBackslashes =
        R"([{"name":"\\\\"},)" + QByteArray("[").repeated(300) + QByteArray("]").repeated(300) + "]";
    QVERIFY(!FolderCodec::decode(afterBackslashes, 0, &error));
    QVERIFY2(error.endsWith("(nested deeper than 256 levels)"), qPrintable(error));

    const auto named = FolderCodec::decode(R"([{"id":"A1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D","name":"Wo\u0000rk"}])", 0);
    QVERIFY(named);
    QCOMPARE(named->first().name, "Work");
}

// A save re-encodes only the folders that changed; whatever changed, the text is the one a whole
// encoding gives, and a failure is the same failure.
void FolderCodecTest::keptEncodingsFollowEveryKindOfChange() {
    const auto folder = [](const char* name, int apps) {
        AppFolder made(QUuid::createUuid(), QString::fromLatin1(name), QStringLiteral("folder"), 800000000.5);
        for (int i = 0; i < apps; ++i)
            made.apps.append({QUuid::createUuid(), QStringLiteral("App %1").arg(i), QStringLiteral("app%1").arg(i),
                              AppItem::fileURLForPath(QStringLiteral("/apps/%1.app").arg(i), true)});
        return made;
    };
    QList<AppFolder> folders{folder("Work", 3), folder("Play", 2), folder("Tools", 0)};
    FolderEncodings encodings;
    const auto same = [&] { return encodings.encode(folders) == FolderCodec::encode(folders); };
    QVERIFY(same());
    folders[1].name = QStringLiteral("Games");
    QVERIFY(same());
    folders[0].apps.removeAt(1);
    folders[2].tileStyle.opacity = 0.5;
    QVERIFY(same());
    folders[0].apps[0].name = QStringLiteral("Renamed");
    QVERIFY(same());
    folders.move(2, 0);
    folders.removeAt(1);
    folders.append(folder("New", 1));
    QVERIFY(same());
    folders.clear();
    QVERIFY(same());
    QCOMPARE(*encodings.encode(folders), QByteArray("[]"));

    folders = {folder("Work", 1), folder("Bad", 0)};
    QVERIFY(same());
    folders[1].createdAt = std::nan("");
    QString whole, kept;
    QVERIFY(!FolderCodec::encode(folders, &whole));
    QVERIFY(!encodings.encode(folders, &kept));
    QCOMPARE(kept, whole);
    QVERIFY(whole.contains(QStringLiteral("[1]")));
}

QTEST_GUILESS_MAIN(FolderCodecTest)
#include "FolderCodecTest.moc"
