// The folders document folders travel in: what an export writes, what an import accepts, and that
// every refusal is a refusal of the whole document.
#include "model/FolderDocument.h"
#include "model/FolderCodec.h"
#include "model/FolderID.h"
#include "model/Timestamp.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>

namespace {

const QDateTime kNow(QDate(2027, 3, 4), QTime(5, 6, 7), Qt::UTC);

AppItem app(const QString& name, const QString& path) {
    return {QUuid::createUuid(), name, QStringLiteral("org.example.") + name, AppItem::fileURLForPath(path, true)};
}

QList<AppFolder> sampleFolders() {
    AppFolder work(QUuid::createUuid(), QStringLiteral("Work \"daily\""), QStringLiteral("briefcase.fill"),
                   786012345.6789);
    work.apps = {app(QStringLiteral("Code"), QStringLiteral("/opt/Visual Studio Code.app")),
                 app(QStringLiteral("Terminal"), QStringLiteral("/usr/share/applications/org.gnome.Terminal.desktop"))};
    work.isInDock = true;
    work.tileStyle.backgroundStyle = TileBackground::Custom;
    work.tileStyle.customHex = QStringLiteral("1E90FF");
    work.tileStyle.backgroundMode = TileBackgroundMode::Glass;
    work.tileStyle.opacity = 0.3;
    work.tileStyle.borderEnabled = true;
    AppFolder games(QUuid::createUuid(), QStringLiteral("Ігри"), QStringLiteral("gamecontroller.fill"), 1.5);
    AppFolder empty(QUuid::createUuid(), QStringLiteral("Empty"), QStringLiteral("folder.fill"), 0);
    empty.tileStyle.displayFolderIcon = true;
    return {games, work, empty};
}

FolderDocument::Failure failureOf(const QByteArray& bytes) {
    const auto decoded = FolderDocument::decode(bytes, kNow);
    if (const auto* failure = std::get_if<FolderDocument::Failure>(&decoded))
        return *failure;
    return {FolderDocument::Refusal::NotADocument, QStringLiteral("<accepted>")};
}

} // namespace

class FolderDocumentTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exportReadsBackAsTheSameFolders();
    void refusalsChangeNothingAndSayWhy_data();
    void refusalsChangeNothingAndSayWhy();
    void unwritableFoldersAreNoDocument();
};

void FolderDocumentTest::exportReadsBackAsTheSameFolders() {
    const QList<AppFolder> folders = sampleFolders();
    const QByteArray bytes = FolderDocument::encode(folders).value();

    // Another program reading it sees the header and the folder records as the folders file has them.
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    QCOMPARE(object.value("format").toString(), "trellin-folders");
    QCOMPARE(object.value("version").toDouble(), 1.0);
    QVERIFY(bytes.contains(FolderCodec::encode(folders).value()));
    QVERIFY(bytes.endsWith('\n'));

    const auto decoded = FolderDocument::decode(bytes, kNow);
    QVERIFY(std::holds_alternative<QList<AppFolder>>(decoded));
    const QList<AppFolder> back = std::get<QList<AppFolder>>(decoded);
    // Ids, order, names, symbols, styles, applications and creation times all survive.
    QCOMPARE(FolderCodec::encode(back), FolderCodec::encode(folders));
    QCOMPARE(back.at(1).tileStyle.customHex, QStringLiteral("1E90FF"));
    QCOMPARE(back.at(1).apps.at(0).path(), QStringLiteral("/opt/Visual Studio Code.app"));

    // Written by hand: lower-case ids, keys in any order, unknown keys, a missing creation time.
    const QByteArray handWritten = R"({"folders": [{"name": "Mine", "id": "a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d"}],
        "comment": "from my laptop", "version": 1, "format": "trellin-folders"})";
    const auto mine = std::get<QList<AppFolder>>(FolderDocument::decode(handWritten, kNow));
    QCOMPARE(FolderID::canonical(mine.value(0).id), "A1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D");
    QCOMPARE(mine.value(0).createdAt, Timestamp::fromUnix(kNow.toSecsSinceEpoch()));
    QVERIFY(std::get<QList<AppFolder>>(FolderDocument::decode(*FolderDocument::encode({}), kNow)).isEmpty());
}

void FolderDocumentTest::refusalsChangeNothingAndSayWhy_data() {
    using Refusal = FolderDocument::Refusal;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("said");
    const QByteArray good = R"({"id":"6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"Good"})";
    const auto document = [](const QByteArray& version, const QByteArray& folders) -> QByteArray {
        return R"({"format":"trellin-folders",)" + version + R"("folders":[)" + folders + "]}";
    };

    // Foreign things: not this kind of document at all.
    QTest::newRow("empty file") << QByteArray() << Refusal::NotADocument << "not a Trellin folders document: not JSON";
    QTest::newRow("the folders file itself") << "[" + good + "]" << Refusal::NotADocument << "expected a JSON object";
    QTest::newRow("no format") << QByteArray(R"({"version":1,"folders":[]})") << Refusal::NotADocument
                               << "no \"format\"";
    QTest::newRow("another format") << QByteArray(R"({"format":"gnome-app-folders","version":1,"folders":[]})")
                                    << Refusal::NotADocument << "its format is \"gnome-app-folders\"";
    QTest::newRow("deeply nested") << QByteArray(100000, '[') << Refusal::NotADocument << "nested deeper";

    // Ours, but from a Trellin that knows more.
    QTest::newRow("version 2") << document(R"("version":2,)", good) << Refusal::FutureVersion
                               << "the folders document is version 2, from a newer Trellin (this one reads version 1)";

    // Ours, but broken.
    QTest::newRow("no version") << document({}, good) << Refusal::Damaged << "no \"version\" number";
    QTest::newRow("version 1.5") << document(R"("version":1.5,)", good) << Refusal::Damaged << "not a whole number";
    QTest::newRow("version 0") << document(R"("version":0,)", good) << Refusal::Damaged << "there is no version 0";
    QTest::newRow("no folders") << QByteArray(R"({"format":"trellin-folders","version":1})") << Refusal::Damaged
                                << "no \"folders\" list";
    // One bad record among good ones: none of them is taken.
    QTest::newRow("an application without its place")
        << document(R"("version":1,)",
                    good + R"(,{"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X","apps":[)"
                           R"({"id":"2F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"A","bundleID":"a"}]})")
        << Refusal::Damaged << "missing required key at folders[1].apps[0].appURL";
    QTest::newRow("an unknown background")
        << document(R"("version":1,)", R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"X",)"
                                       R"("tileStyle":{"backgroundStyle":"teal"}})")
        << Refusal::Damaged << "folders[0].tileStyle.backgroundStyle";
    // Two records for one id: a merge could not tell which is meant (case does not make them two).
    QTest::newRow("one id twice") << document(R"("version":1,)",
                                              good + "," + QByteArray(good).replace("6F1C2B3A", "6f1c2b3a"))
                                  << Refusal::Damaged << "folder id 6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C appears twice";
    QTest::newRow("a newline in a detail") << QByteArray("{\"format\":\"x\ny\",\"version\":1,\"folders\":[]}")
                                           << Refusal::NotADocument << "not a Trellin folders document";
}

void FolderDocumentTest::refusalsChangeNothingAndSayWhy() {
    QFETCH(QByteArray, bytes);
    QFETCH(FolderDocument::Refusal, refusal);
    QFETCH(QString, said);
    const FolderDocument::Failure failure = failureOf(bytes);
    QCOMPARE(failure.detail == "<accepted>", false);
    QCOMPARE(int(failure.refusal), int(refusal));
    const QString line = FolderDocument::describe(failure);
    QVERIFY2(line.contains(said), qPrintable(line));
    QVERIFY2(!line.contains(u'\n') && !line.contains(u'\r'), qPrintable(line));
}

void FolderDocumentTest::unwritableFoldersAreNoDocument() {
    QList<AppFolder> folders = sampleFolders();
    folders[2].tileStyle.borderWidth = std::nan("");
    QString error;
    QVERIFY(!FolderDocument::encode(folders, &error));
    QVERIFY2(error.contains("[2].tileStyle.borderWidth"), qPrintable(error));
}

QTEST_GUILESS_MAIN(FolderDocumentTest)
#include "FolderDocumentTest.moc"
