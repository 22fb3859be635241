#include "Appcast.h"

#include "VersionComparison.h"

#include <QUrl>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

const QString sparkle = QString::fromLatin1(Appcast::sparkleNamespace);

bool isPlain(const QXmlStreamReader& xml, QStringView name) {
    return xml.namespaceUri().isEmpty() && xml.name() == name;
}

bool isSparkle(const QXmlStreamReader& xml, QStringView name) {
    return xml.namespaceUri() == sparkle && xml.name() == name;
}

QString textOf(QXmlStreamReader& xml) {
    return xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
}

QString webAddressOrNothing(const QString& url) {
    return Appcast::isWebAddress(url) ? url : QString();
}

Appcast::Item readItem(QXmlStreamReader& xml) {
    Appcast::Item item;
    QString enclosureVersion;
    QString enclosureShortVersion;
    QString elementVersion;
    QString elementShortVersion;
    QString link;
    bool haveEnclosure = false;
    while (xml.readNextStartElement()) {
        if (isPlain(xml, u"title")) {
            item.title = textOf(xml);
        } else if (isPlain(xml, u"link")) {
            link = textOf(xml);
        } else if (isPlain(xml, u"description")) {
            item.notes = textOf(xml);
        } else if (isSparkle(xml, u"version")) {
            elementVersion = textOf(xml);
        } else if (isSparkle(xml, u"shortVersionString")) {
            elementShortVersion = textOf(xml);
        } else if (isSparkle(xml, u"releaseNotesLink")) {
            item.notesLink = webAddressOrNothing(textOf(xml));
        } else if (isPlain(xml, u"enclosure") && !haveEnclosure) {
            // The first enclosure is the release's download; later ones are ignored.
            const QXmlStreamAttributes attributes = xml.attributes();
            haveEnclosure = true;
            item.downloadURL = webAddressOrNothing(attributes.value(QLatin1String("url")).toString().trimmed());
            enclosureVersion = attributes.value(sparkle, QLatin1String("version")).toString().trimmed();
            enclosureShortVersion = attributes.value(sparkle, QLatin1String("shortVersionString")).toString().trimmed();
            item.length = attributes.value(QLatin1String("length")).toLongLong();
            item.type = attributes.value(QLatin1String("type")).toString();
            xml.skipCurrentElement();
        } else {
            xml.skipCurrentElement();
        }
    }
    item.version = enclosureVersion.isEmpty() ? elementVersion : enclosureVersion;
    item.shortVersion = enclosureShortVersion.isEmpty() ? elementShortVersion : enclosureShortVersion;
    if (item.downloadURL.isEmpty())
        item.downloadURL = webAddressOrNothing(link);
    return item;
}

void readChannel(QXmlStreamReader& xml, Appcast::Feed& feed) {
    while (xml.readNextStartElement()) {
        if (isPlain(xml, u"title")) {
            feed.title = textOf(xml);
        } else if (isPlain(xml, u"item")) {
            Appcast::Item item = readItem(xml);
            if (!item.version.isEmpty())
                feed.items.append(item);
        } else {
            xml.skipCurrentElement();
        }
    }
}

} // namespace

std::optional<Appcast::Feed> Appcast::parse(const QByteArray& document, ParseError* error) {
    using Fault = ParseError::Fault;
    const auto fail = [error](Fault fault, const QString& message, qint64 line = 0) -> std::optional<Feed> {
        if (error)
            *error = {fault, line, message};
        return std::nullopt;
    };
    QXmlStreamReader xml(document);
    Feed feed;
    bool sawChannel = false;
    if (xml.readNextStartElement()) {
        if (!isPlain(xml, u"rss"))
            return fail(Fault::NotRss, QStringLiteral("it is not an RSS feed"));
        while (xml.readNextStartElement()) {
            if (isPlain(xml, u"channel") && !sawChannel) {
                sawChannel = true;
                readChannel(xml, feed);
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    // Read to the end, so that anything broken after the channel is found as well.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError()) {
        QString message = xml.errorString();
        if (message.endsWith(u'.'))
            message.chop(1);
        // An empty document has no line yet; it is broken at its first.
        const qint64 line = std::max<qint64>(1, xml.lineNumber());
        return fail(Fault::Malformed, QStringLiteral("%1 (line %2)").arg(message).arg(line), line);
    }
    if (!sawChannel)
        return fail(Fault::NoChannel, QStringLiteral("it has no channel"));
    return feed;
}

std::optional<Appcast::Item> Appcast::newest(const Feed& feed) {
    std::optional<Item> best;
    for (const Item& item : feed.items) {
        if (!best || VersionComparison::isNewer(item.version, best->version))
            best = item;
    }
    return best;
}

bool Appcast::isWebAddress(const QString& url) {
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() && !parsed.host().isEmpty() &&
           (scheme == QStringLiteral("https") || scheme == QStringLiteral("http"));
}

Appcast::Outcome Appcast::check(const Feed& feed, const QString& runningVersion) {
    const std::optional<Item> candidate = newest(feed);
    if (candidate && VersionComparison::isNewer(candidate->version, runningVersion))
        return {Outcome::Status::Newer, *candidate};
    return {};
}
