// The folders file's JSON form: what a stored file must read as, and what we write back.
#include "model/FolderCodec.h"
#include "model/FolderID.h"

#include <QTest>

class FolderCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void minimalFolderTakesEveryDefault();
    void handWrittenFileIsWrittenBackCanonically();
    void customHexIsWrittenOnlyWhenPresent();
    void oneBadValueFailsTheWholeDocument_data();
    void oneBadValueFailsTheWholeDocument();
    void nonFiniteNumbersFailTheEncoding();
    void fileURLsArePercentEncodedWithTrailingSlash();
};

void FolderCodecTest::minimalFolderTakesEveryDefault() {
    const QByteArray json = R"([{"id":"6f1c2b3a-0d4e-4f5a-8b6c-7d8e9f0a1b2c","name":"Work"}])";
    QString error;
    const auto folders = FolderCodec::decode(json, 123.5, &error);
    QVERIFY2(folders, qPrintable(error));
    QCOMPARE(folders->size(), 1);
    const AppFolder& folder = folders->first();
    QCOMPARE(FolderID::canonical(folder.id), QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"));
    QCOMPARE(folder.emoji, QStringLiteral("folder.fill"));
    QVERIFY(folder.apps.isEmpty());
    QVERIFY(!folder.isInDock);
    QCOMPARE(folder.createdAt, 123.5);
    const TileStyleSettings style = folder.tileStyle;
    QCOMPARE(style, TileStyleSettings());
    QCOMPARE(style.backgroundStyle, TileBackground::Light);
    QCOMPARE(style.backgroundMode, TileBackgroundMode::Gradient);
    QCOMPARE(style.opacity, 0.64);
    QCOMPARE(style.cornerRadius, 12.0);
    QVERIFY(!style.borderEnabled);
    QCOMPARE(style.borderWidth, 3.0);
    QCOMPARE(style.borderOpacity, 1.0);
    QVERIFY(!style.customHex);

    QVERIFY(FolderCodec::decode("[]", 0).value().isEmpty());
}

void FolderCodecTest::handWrittenFileIsWrittenBackCanonically() {
    // Lower-case ids, keys in another order, unknown keys at every level, nulls, an empty style.
    const QByteArray handWritten = R"([
      {"name": "Dev \"tools\"", "id": "a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d", "note": "mine",
       "apps": [{"appURL": "file:///Applications/Visual%20Studio%20Code.app/", "bundleID": "com.microsoft.VSCode",
                 "name": "Code", "id": "00000000-0000-4000-8000-00000000000a", "extra": [1, 2]}],
       "isInDock": true, "emoji": null, "tileStyle": {"backgroundStyle": "blue", "opacity": 1, "future": {}},
       "createdAt": 786012345.6789},
      {"id": "B1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D", "name": "Empty", "tileStyle": {}, "createdAt": -0.5}
    ])";
    const auto folders = FolderCodec::decode(handWritten, 0);
    QVERIFY(folders);
    const QByteArray expected =
        R"([{"id":"A1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D","name":"Dev \"tools\"","emoji":"folder.fill","apps":)"
        R"([{"id":"00000000-0000-4000-8000-00000000000A","name":"Code","bundleID":"com.microsoft.VSCode",)"
        R"("appURL":"file:///Applications/Visual%20Studio%20Code.app/"}],"isInDock":true,)"
        R"("tileStyle":{"displayFolderIcon":false,"opacity":1,"cornerRadius":12,"backgroundStyle":"blue",)"
        R"("backgroundMode":"gradient","borderEnabled":false,"borderWidth":3,"borderOpacity":1},)"
        R"("createdAt":786012345.6789},)"
        R"({"id":"B1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D","name":"Empty","emoji":"folder.fill","apps":[],)"
        R"("isInDock":false,"tileStyle":{"displayFolderIcon":false,"opacity":0.64,"cornerRadius":12,)"
        R"("backgroundStyle":"light","backgroundMode":"gradient","borderEnabled":false,"borderWidth":3,)"
        R"("borderOpacity":1},"createdAt":-0.5}])";
    QCOMPARE(FolderCodec::encode(*folders).value(), expected);
    // What we write reads back to the same bytes.
    QCOMPARE(FolderCodec::encode(FolderCodec::decode(expected, 0).value()).value(), expected);
}

void FolderCodecTest::customHexIsWrittenOnlyWhenPresent() {
    AppFolder folder(QUuid::createUuid(), QStringLiteral("Colours"), QStringLiteral("paintpalette"), 1);
    QVERIFY(!FolderCodec::encode({folder}).value().contains("customHex"));

    folder.tileStyle.backgroundStyle = TileBackground::Custom;
    folder.tileStyle.customHex = QStringLiteral("#1e90ff ");
    const QByteArray json = FolderCodec::encode({folder}).value();
    QVERIFY(json.contains(R"("customHex":"#1e90ff ")"));
    QCOMPARE(FolderCodec::decode(json, 0).value().first().tileStyle, folder.tileStyle);
}

void FolderCodecTest::oneBadValueFailsTheWholeDocument_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("where");
    const QByteArray good = R"({"id":"6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"Good"})";
    const auto withSecond = [&](const char* second) -> QByteArray {
        return '[' + good + ',' + QByteArray(second) + ']';
    };
    QTest::newRow("object at top") << QByteArray("{}") << "the top level";
    QTest::newRow("not JSON") << QByteArray("[{") << "invalid JSON";
    QTest::newRow("unknown background")
        << withSecond(
               R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X","tileStyle":{"backgroundStyle":"teal"}})")
        << "[1].tileStyle.backgroundStyle";
    QTest::newRow("unknown mode")
        << withSecond(
               R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X","tileStyle":{"backgroundMode":"neon"}})")
        << "[1].tileStyle.backgroundMode";
    QTest::newRow("app without URL")
        << withSecond(
               R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X","apps":[{"id":"2F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"A","bundleID":"a"}]})")
        << "[1].apps[0].appURL";
    QTest::newRow("app URL with a space")
        << withSecond(
               R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X","apps":[{"id":"2F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"A","bundleID":"a","appURL":"file:///My App.app/"}]})")
        << "[1].apps[0].appURL";
    QTest::newRow("app name null")
        << withSecond(
               R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X","apps":[{"id":"2F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":null,"bundleID":"a","appURL":"file:///A.app/"}]})")
        << "[1].apps[0].name";
    QTest::newRow("missing name") << withSecond(R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"})") << "[1].name";
    QTest::newRow("braced id") << withSecond(R"({"id":"{1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C}","name":"X"})")
                               << "[1].id";
    QTest::newRow("number for bool") << withSecond(
                                            R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X","isInDock":1})")
                                     << "[1].isInDock";
    QTest::newRow("string for number")
        << withSecond(R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X","tileStyle":{"opacity":"1"}})")
        << "[1].tileStyle.opacity";
    QTest::newRow("date as text")
        << withSecond(R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X","createdAt":"2024-01-01"})")
        << "[1].createdAt";
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

QTEST_GUILESS_MAIN(FolderCodecTest)
#include "FolderCodecTest.moc"
