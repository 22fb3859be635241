#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// An appcast: the RSS 2.0 feed an application's update feed URL names, one item per release.
namespace Appcast {

inline constexpr char sparkleNamespace[] = "http://www.andymatuschak.org/xml-namespaces/sparkle";

struct Item {
    QString title;
    // What versions are compared by (the release's build version), and what a person is shown.
    QString version;
    QString shortVersion;
    // Release notes given in the feed (text or HTML, as written), and a page of notes elsewhere.
    QString notes;
    QString notesLink;
    QString downloadURL;
    qint64 length = 0;
    QString type;
};

struct Feed {
    QString title;
    QList<Item> items;
};

// Why a document is no feed: another kind of document, an RSS document without a channel, or XML
// broken at `line` (1 for the first). `message` says it in English, for logs.
struct ParseError {
    enum class Fault { NotRss, NoChannel, Malformed };
    Fault fault = Fault::Malformed;
    qint64 line = 0;
    QString message;
};

// Reads a feed. Items without a version cannot be compared and are left out; addresses that a
// browser could not safely be sent to are dropped (see isWebAddress). None, with `error` set, when
// the document is not an RSS channel.
std::optional<Feed> parse(const QByteArray& document, ParseError* error = nullptr);

// The item with the newest version; none when the feed has no items. The first one listed wins a tie.
std::optional<Item> newest(const Feed& feed);

// Only http: and https: addresses are handed to the browser: a feed must not be able to make the
// desktop open local files or other programs.
bool isWebAddress(const QString& url);

// What the running application learns from a feed.
struct Outcome {
    enum class Status { Current, Newer };
    Status status = Status::Current;
    Item item; // the newer release
};

// Compares the feed's newest item with the running build version.
Outcome check(const Feed& feed, const QString& runningVersion);

} // namespace Appcast
