// Reading appcasts and ordering versions: what decides whether a user is offered an update.
#include "Appcast.h"
#include "VersionComparison.h"

#include "TestFiles.h"

#include <QTest>

namespace {

std::optional<Appcast::Feed> fixture(const char* name, Appcast::ParseError* error = nullptr) {
    return Appcast::parse(readFile(QStringLiteral(TRELLIN_SOURCE_DIR "/tests/fixtures/appcast/") + name), error);
}

} // namespace

class AppcastTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void versionOrder_data() {
        QTest::addColumn<QString>("older");
        QTest::addColumn<QString>("newer");
        QTest::newRow("numeric, not textual") << "1.9"
                                              << "1.10";
        QTest::newRow("beta before release") << "1.0b1"
                                             << "1.0";
        QTest::newRow("release before patch") << "1.0"
                                              << "1.0.1";
        QTest::newRow("beta before patch") << "1.0b1"
                                           << "1.0.1";
        QTest::newRow("beta before rc") << "2.0b3"
                                        << "2.0rc1";
        QTest::newRow("beta numbers") << "2.0b2"
                                      << "2.0b10";
        QTest::newRow("tags ignore case") << "2.0Beta1"
                                          << "2.0rc1";
        QTest::newRow("tag before release of a longer version") << "1.0.0b1"
                                                                << "1.0";
        QTest::newRow("build numbers") << "99"
                                       << "100";
        QTest::newRow("beyond 64 bits") << "18446744073709551616"
                                        << "18446744073709551617";
        QTest::newRow("leading zeros") << "1.09"
                                       << "1.010";
        QTest::newRow("empty is oldest") << ""
                                         << "0.1";
    }

    void versionOrder() {
        QFETCH(QString, older);
        QFETCH(QString, newer);
        QVERIFY(VersionComparison::compare(older, newer) < 0);
        QVERIFY(VersionComparison::compare(newer, older) > 0);
        QVERIFY(VersionComparison::isNewer(newer, older));
        QVERIFY(!VersionComparison::isNewer(older, newer));
    }

    void equalVersions_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("identical") << "1.2.3"
                                   << "1.2.3";
        QTest::newRow("trailing zeros") << "1.0"
                                        << "1.0.0";
        QTest::newRow("separators only divide") << "1-0_1"
                                                << "1.0.1";
        QTest::newRow("white space") << " 2.0 "
                                     << "2.0";
        QTest::newRow("leading zeros") << "1.01"
                                       << "1.1";
    }

    void equalVersions() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QCOMPARE(VersionComparison::compare(a, b), 0);
        QCOMPARE(VersionComparison::compare(b, a), 0);
        QVERIFY(!VersionComparison::isNewer(a, b));
    }

    // The attribute form: every item read, the newest by version rather than by position or
    // display text, its notes, notes link and download taken as written.
    void attributeFormPicksNewestItem() {
        const std::optional<Appcast::Feed> feed = fixture("newer.xml");
        QVERIFY(feed);
        QCOMPARE(feed->title, QStringLiteral("Trellin"));
        QCOMPARE(feed->items.size(), 3);
        const std::optional<Appcast::Item> newest = Appcast::newest(*feed);
        QVERIFY(newest);
        QCOMPARE(newest->version, QStringLiteral("3b1"));
        const Appcast::Outcome outcome = Appcast::check(*feed, QStringLiteral("1"));
        QCOMPARE(outcome.status, Appcast::Outcome::Status::Newer);
        QCOMPARE(outcome.item.shortVersion, QStringLiteral("0.3.0 beta 1"));

        const Appcast::Item& release = feed->items.at(2);
        QCOMPARE(release.version, QStringLiteral("2"));
        QCOMPARE(release.shortVersion, QStringLiteral("0.2.0"));
        QCOMPARE(release.downloadURL, QStringLiteral("https://trellin.app/downloads/Trellin-0.2.0.zip"));
        QCOMPARE(release.notesLink, QStringLiteral("https://trellin.app/notes/0.2.0.html"));
        QCOMPARE(release.length, 12345678);
        QVERIFY(release.notes.startsWith(QStringLiteral("<h2>What's new</h2>")));
        // A build already past the beta is not offered it.
        QCOMPARE(Appcast::check(*feed, QStringLiteral("3")).status, Appcast::Outcome::Status::Current);
    }

    void sameAndOlderFeedsAreCurrent() {
        for (const char* name : {"same.xml", "older.xml", "empty-channel.xml"}) {
            const std::optional<Appcast::Feed> feed = fixture(name);
            QVERIFY2(feed, name);
            QCOMPARE(Appcast::check(*feed, QStringLiteral("1")).status, Appcast::Outcome::Status::Current);
        }
        QVERIFY(!Appcast::newest(*fixture("empty-channel.xml")));
    }

    // The element form, an item without a version, and addresses the browser must not be sent to.
    void elementFormAndUnsafeAddresses() {
        const std::optional<Appcast::Feed> feed = fixture("elements.xml");
        QVERIFY(feed);
        QCOMPARE(feed->items.size(), 3); // the versionless item cannot be compared
        const Appcast::Item& first = feed->items.at(0);
        QCOMPARE(first.version, QStringLiteral("1.10"));
        QCOMPARE(first.shortVersion, QStringLiteral("1.10"));
        QCOMPARE(first.notes, QStringLiteral("Plain text notes."));
        QCOMPARE(first.downloadURL, QStringLiteral("https://trellin.app/download")); // the item's link
        QCOMPARE(Appcast::newest(*feed)->version, QStringLiteral("1.10"));
        const Appcast::Item& local = feed->items.at(2);
        QCOMPARE(local.version, QStringLiteral("1.8"));
        QVERIFY(local.downloadURL.isEmpty());
        QVERIFY(local.notesLink.isEmpty());

        QVERIFY(Appcast::isWebAddress(QStringLiteral("http://example.com/a.zip")));
        for (const char* url : {"file:///usr/bin/xterm", "javascript:alert(1)", "https://", "ftp://example.com/a", ""})
            QVERIFY2(!Appcast::isWebAddress(QString::fromLatin1(url)), url);
    }

    // Nothing read before a fault in the document is offered as an update.
    // A broken document says what kind of fault it has, and where, for the application to word.
    void brokenDocumentsAreErrors_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        using Fault = Appcast::ParseError::Fault;
        QTest::newRow("malformed") << readFile(
                                          QStringLiteral(TRELLIN_SOURCE_DIR "/tests/fixtures/appcast/malformed.xml"))
                                   << int(Fault::Malformed) << 9 << "line 9";
        QTest::newRow("empty") << QByteArray() << int(Fault::Malformed) << 1 << "Premature end of document";
        QTest::newRow("not rss") << QByteArray("<html><body>Not found</body></html>") << int(Fault::NotRss) << 0
                                 << "it is not an RSS feed";
        QTest::newRow("no channel") << QByteArray("<rss version=\"2.0\"/>") << int(Fault::NoChannel) << 0
                                    << "it has no channel";
        QTest::newRow("garbage after") << QByteArray("<rss><channel/>\n</rss>\n<rss>") << int(Fault::Malformed) << 3
                                       << "Extra content";
    }

    void brokenDocumentsAreErrors() {
        QFETCH(QByteArray, document);
        QFETCH(int, fault);
        QFETCH(int, line);
        QFETCH(QString, reason);
        Appcast::ParseError error;
        QVERIFY(!Appcast::parse(document, &error));
        QCOMPARE(int(error.fault), fault);
        QCOMPARE(error.line, qint64(line));
        QVERIFY2(error.message.contains(reason), qPrintable(error.message));
    }
};

QTEST_GUILESS_MAIN(AppcastTest)
#include "AppcastTest.moc"
