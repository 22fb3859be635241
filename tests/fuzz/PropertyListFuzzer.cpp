// Property lists, XML or binary, as every preferences file and Info.plist is read: parsing any
// bytes, writing what was read back out in either form, and the Dock file's readers on top.
#include "FuzzSupport.h"

#include "platform/DockFileFormat.h"
#include "platform/PropertyList.h"

#include <QVariantList>

#include <cmath>

namespace {

using PropertyList::Format;

QByteArray xmlOf(const QVariant& root) {
    return PropertyList::serialize(root, Format::Xml).value_or("unwritable");
}

// What is written from a value read back must read as the same value, so a rewrite of a file
// (the defaults, the Dock's) keeps what it did not change. Compared as XML: a conversion may
// settle (XML keeps dates to the second) but must not drift; and libplist's binary writer shares
// equal objects, but which ones it finds equal varies from one process state to another.
void requireStableRewrite(const QVariant& root, Format format) {
    const std::optional<QByteArray> written = PropertyList::serialize(root, format);
    if (!written)
        return; // refused, not corrupted: a string holding a NUL has no property-list form
    QString error;
    const std::optional<PropertyList::Document> reread = PropertyList::parse(*written, &error);
    Fuzz::require(reread.has_value(), "a written property list cannot be read", error);
    Fuzz::require(reread->format == format, "a written property list reads as the other format");
    const QByteArray before = xmlOf(root);
    const QByteArray after = xmlOf(reread->root);
    Fuzz::require(after == before, "a property list read back is another value",
                  QString::fromUtf8(before.left(2000) + "\n--- read back as ---\n" + after.left(2000)));
}

void requireExactNumbers(const QVariant& value) {
    if (const std::optional<qint64> integer = DockFileFormat::exactInteger(value)) {
        const bool isFloating = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
        Fuzz::require(!isFloating || double(*integer) == value.toDouble(), "an inexact number read as an integer",
                      QString::number(value.toDouble(), 'g', 17));
    }
    if (const std::optional<bool> boolean = DockFileFormat::exactBoolean(value)) {
        Fuzz::require(value.typeId() == QMetaType::Bool || DockFileFormat::exactInteger(value) == qint64(*boolean),
                      "a number other than 0 or 1 read as a boolean");
    }
}

// A tile's location as the Dock file gives it; and a tile written for it names it again, as a
// tile the Dock writes must be one this program reads.
void requireReadableTile(const QVariantMap& tile) {
    const std::optional<QString> path = DockFileFormat::tileFilePath(tile);
    if (!path)
        return;
    Fuzz::require(DockFileFormat::standardisedPath(*path) == *path, "a tile path is not standardised", *path);
    const QVariantMap written = DockFileFormat::applicationTile(*path, QStringLiteral("App"), QStringLiteral("a.b"));
    Fuzz::require(DockFileFormat::tileFilePath(written) == *path, "a tile written for a path names another one", *path);
}

void readAsDockFile(const QVariantMap& dock) {
    for (const QString& key : {QStringLiteral("persistent-apps"), QStringLiteral("persistent-others")}) {
        for (const QVariant& entry : dock.value(key).toList()) {
            if (entry.typeId() == QMetaType::QVariantMap)
                requireReadableTile(entry.toMap());
        }
    }
    for (auto it = dock.cbegin(); it != dock.cend(); ++it)
        requireExactNumbers(it.value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<PropertyList::Document> document = PropertyList::parse(Fuzz::bytes(data, size));
    if (!document)
        return 0;
    requireStableRewrite(document->root, Format::Xml);
    requireStableRewrite(document->root, Format::Binary);
    if (document->root.typeId() == QMetaType::QVariantMap)
        readAsDockFile(document->root.toMap());
    return 0;
}
