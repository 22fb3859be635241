#include "PropertyList.h"

#include "FileSystem.h"
#include "PropertyListChecks.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

namespace {

struct NodeDeleter {
    void operator()(void* node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

struct MallocDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
using MallocText = std::unique_ptr<char, MallocDeleter>;

// Plist dates count seconds from 2001-01-01T00:00:00Z.
const QDateTime& referenceDate() {
    static const QDateTime date(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return date;
}

// Libplist keys UIDs of keyed archives this way in XML; reading them as such a dictionary
// lets a file that holds one be rewritten without losing it.
const char* const uidKey = "CF$UID";

std::optional<QVariant> toVariant(plist_t node, QString* error);

// libplist 2.2 keeps a negative integer and an unsigned one above INT64_MAX in the same
// 64 bits; only its own writer knows which one a node is.
bool isLargeUnsigned(plist_t node) {
    Node copy(plist_copy(node));
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(copy.get(), &xml, &length);
    const bool negative = xml && QByteArray::fromRawData(xml, int(length)).contains("<integer>-");
    if (xml)
        plist_to_xml_free(xml);
    return !negative;
}

// A date node's seconds since the reference date. The library's accessor gives 32-bit seconds,
// which wrap outside 1932-2069; its binary writer keeps the whole value, as a double.
std::optional<double> dateSeconds(plist_t node) {
    Node copy(plist_copy(node));
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(copy.get(), &bytes, &length);
    std::optional<double> seconds;
    // "bplist00", then the date object: its marker and a big-endian double.
    if (bytes && length >= 17 && uchar(bytes[8]) == 0x33) {
        quint64 bits = 0;
        for (int i = 9; i < 17; ++i)
            bits = bits << 8 | uchar(bytes[i]);
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        seconds = value;
    }
    if (bytes)
        plist_to_bin_free(bytes);
    return seconds;
}

QVariant dateValue(plist_t node) {
    const std::optional<double> seconds = dateSeconds(node);
    if (!seconds || !std::isfinite(*seconds) || std::abs(*seconds) > 9e15)
        return QDateTime();
    return referenceDate().addMSecs(qint64(std::llround(*seconds * 1000)));
}

std::optional<QVariant> arrayValue(plist_t node, QString* error) {
    QVariantList list;
    const uint32_t count = plist_array_get_size(node);
    list.reserve(qsizetype(count));
    for (uint32_t index = 0; index < count; ++index) {
        std::optional<QVariant> item = toVariant(plist_array_get_item(node, index), error);
        if (!item)
            return std::nullopt;
        list.append(std::move(*item));
    }
    return list;
}

std::optional<QVariant> dictValue(plist_t node, QString* error) {
    QVariantMap map;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    const std::unique_ptr<void, MallocDeleter> iteratorOwner(iterator);
    while (true) {
        char* rawKey = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iterator, &rawKey, &value);
        MallocText key(rawKey);
        if (!value)
            break;
        std::optional<QVariant> converted = toVariant(value, error);
        if (!converted)
            return std::nullopt;
        map.insert(QString::fromUtf8(key ? key.get() : ""), std::move(*converted));
    }
    return map;
}

std::optional<QVariant> toVariant(plist_t node, QString* error) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return QVariant(value != 0);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        if (value > uint64_t(std::numeric_limits<qint64>::max()) && isLargeUnsigned(node))
            return QVariant::fromValue<quint64>(value);
        return QVariant::fromValue<qint64>(qint64(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return QVariant(value);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return QVariant(QString::fromUtf8(text, qsizetype(length)));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return QVariant(QByteArray(bytes, qsizetype(length)));
    }
    case PLIST_DATE:
        return dateValue(node);
    case PLIST_ARRAY:
        return arrayValue(node, error);
    case PLIST_DICT:
        return dictValue(node, error);
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return QVariantMap{{QString::fromLatin1(uidKey), QVariant::fromValue<qint64>(qint64(value))}};
    }
    case PLIST_KEY:
    case PLIST_NONE:
        break;
    }
    if (error)
        *error = QStringLiteral("not a property list (unknown value type)");
    return std::nullopt;
}

// --- QVariant -> plist ---

Node fromVariant(const QVariant& value, QString* error);

Node fail(QString* error, const QString& message) {
    if (error)
        *error = message;
    return nullptr;
}

std::optional<QByteArray> utf8WithoutNul(const QString& text) {
    // libplist takes C strings; a NUL would silently cut the text short.
    if (text.contains(QChar(0)))
        return std::nullopt;
    return text.toUtf8();
}

Node largeUnsignedNode(quint64 value) {
    // libplist 2.2 can only make this kind of integer node by reading it.
    const QByteArray xml = "<plist><integer>" + QByteArray::number(value) + "</integer></plist>";
    plist_t node = nullptr;
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &node);
    return Node(node);
}

// A date node of any year: the library makes one from 32-bit seconds only, but reads a binary
// date as the double it is stored as.
Node wideDateNode(double seconds) {
    QByteArray binary("bplist00");
    quint64 bits = 0;
    std::memcpy(&bits, &seconds, sizeof bits);
    binary.append(char(0x33));
    for (int shift = 56; shift >= 0; shift -= 8)
        binary.append(char(bits >> shift & 0xFF));
    binary.append(char(8));                                 // the offset table: the one object starts at byte 8
    binary.append(6, '\0');                                 // trailer: unused
    binary.append(char(1));                                 // offset size
    binary.append(char(1));                                 // object reference size
    binary.append(QByteArray::fromHex("0000000000000001")); // one object
    binary.append(QByteArray::fromHex("0000000000000000")); // the top object
    binary.append(QByteArray::fromHex("0000000000000011")); // the offset table's place: 17
    plist_t node = nullptr;
    plist_from_bin(binary.constData(), uint32_t(binary.size()), &node);
    return Node(node);
}

Node dateNode(const QDateTime& date, QString* error) {
    if (!date.isValid())
        return fail(error, QStringLiteral("an invalid date has no property-list form"));
    const qint64 millis = referenceDate().msecsTo(date);
    // Whole seconds rounded down keep the fraction positive, which is what the library adds.
    // (Binary keeps the fraction; libplist's XML, like Apple's, writes whole seconds.)
    const qint64 seconds = millis >= 0 ? millis / 1000 : -((-millis + 999) / 1000);
    const qint64 micros = (millis - seconds * 1000) * 1000;
    if (seconds >= std::numeric_limits<int32_t>::min() && seconds <= std::numeric_limits<int32_t>::max())
        return Node(plist_new_date(int32_t(seconds), int32_t(micros)));
    Node wide = wideDateNode(double(millis) / 1000.0);
    if (!wide)
        return fail(error, QStringLiteral("the date %1 has no property-list form").arg(date.toString(Qt::ISODate)));
    return wide;
}

Node arrayNode(const QVariantList& list, QString* error) {
    Node array(plist_new_array());
    for (const QVariant& item : list) {
        Node child = fromVariant(item, error);
        if (!child)
            return nullptr;
        plist_array_append_item(array.get(), child.release());
    }
    return array;
}

template <typename Map> Node dictNode(const Map& map, QString* error) {
    if (map.size() == 1 && map.contains(QString::fromLatin1(uidKey))) {
        const QVariant uid = map.value(QString::fromLatin1(uidKey));
        if (uid.typeId() == QMetaType::LongLong || uid.typeId() == QMetaType::Int) {
            if (uid.toLongLong() >= 0)
                return Node(plist_new_uid(uint64_t(uid.toLongLong())));
        }
    }
    Node dict(plist_new_dict());
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const std::optional<QByteArray> key = utf8WithoutNul(it.key());
        if (!key)
            return fail(error, QStringLiteral("a dictionary key holds a NUL character"));
        Node child = fromVariant(it.value(), error);
        if (!child)
            return nullptr;
        plist_dict_set_item(dict.get(), key->constData(), child.release());
    }
    return dict;
}

Node fromVariant(const QVariant& value, QString* error) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Node(plist_new_bool(value.toBool() ? 1 : 0));
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return Node(plist_new_uint(uint64_t(value.toLongLong())));
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const quint64 number = value.toULongLong();
        if (number > quint64(std::numeric_limits<qint64>::max()))
            return largeUnsignedNode(number);
        return Node(plist_new_uint(number));
    }
    case QMetaType::Float:
    case QMetaType::Double:
        return Node(plist_new_real(value.toDouble()));
    case QMetaType::QString: {
        const std::optional<QByteArray> text = utf8WithoutNul(value.toString());
        if (!text)
            return fail(error, QStringLiteral("a string holds a NUL character"));
        return Node(plist_new_string(text->constData()));
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return Node(plist_new_data(bytes.constData(), uint64_t(bytes.size())));
    }
    case QMetaType::QDateTime:
        return dateNode(value.toDateTime(), error);
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return arrayNode(value.toList(), error);
    case QMetaType::QVariantMap:
        return dictNode(value.toMap(), error);
    case QMetaType::QVariantHash:
        return dictNode(value.toHash(), error);
    default:
        break;
    }
    if (!value.isValid())
        return fail(error, QStringLiteral("an empty value has no property-list form"));
    return fail(error, QStringLiteral("a value of type %1 has no property-list form")
                           .arg(QString::fromLatin1(value.metaType().name())));
}

} // namespace

namespace PropertyList {

std::optional<Document> parse(const QByteArray& bytes, QString* error) {
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("not a property list (the file is empty)");
        return std::nullopt;
    }
    if (quint64(bytes.size()) > std::numeric_limits<uint32_t>::max()) {
        if (error)
            *error = QStringLiteral("too large to be read as a property list");
        return std::nullopt;
    }
    const auto length = uint32_t(bytes.size());
    const Format format = plist_is_binary(bytes.constData(), length) ? Format::Binary : Format::Xml;
    // The library and the conversion below descend one call per level: a document nested many
    // thousands deep would end the process. No file of ours or the Dock's comes near this.
    std::optional<QString> fault;
    if (format == Format::Binary)
        fault = PropertyListChecks::binaryShapeFault(bytes, kMaxDepth, kMaxValues);
    else if (PropertyListChecks::xmlDepth(bytes, kMaxDepth) > kMaxDepth)
        fault = QStringLiteral("nested deeper than %1 levels").arg(kMaxDepth);
    if (fault) {
        if (error)
            *error = QStringLiteral("not a property list (%1)").arg(*fault);
        return std::nullopt;
    }
    if (format == Format::Binary && PropertyListChecks::binaryKeyHoldsNul(bytes)) {
        if (error)
            *error = QStringLiteral("not a property list (damaged binary property list: a key holds a NUL character)");
        return std::nullopt;
    }
    plist_t raw = nullptr;
    if (format == Format::Binary)
        plist_from_bin(bytes.constData(), length, &raw);
    else
        plist_from_xml(bytes.constData(), length, &raw);
    Node root(raw);
    if (!root) {
        if (error)
            *error = format == Format::Binary ? QStringLiteral("not a property list (damaged binary property list)")
                                              : QStringLiteral("not a property list");
        return std::nullopt;
    }
    std::optional<QVariant> value = toVariant(root.get(), error);
    if (!value)
        return std::nullopt;
    return Document{std::move(*value), format};
}

std::optional<Document> readFile(const QString& path, QString* error, qint64 maxBytes, FileSystem::Links links) {
    const FileSystem::ReadResult file = FileSystem::readFile(path, maxBytes, links);
    if (!file.bytes) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.error);
        return std::nullopt;
    }
    return parse(*file.bytes, error);
}

std::optional<QByteArray> serialize(const QVariant& root, Format format, QString* error) {
    Node node = fromVariant(root, error);
    if (!node)
        return std::nullopt;
    char* bytes = nullptr;
    uint32_t length = 0;
    QByteArray result;
    if (format == Format::Binary) {
        plist_to_bin(node.get(), &bytes, &length);
        if (bytes)
            result = QByteArray(bytes, qsizetype(length));
        plist_to_bin_free(bytes);
    } else {
        plist_to_xml(node.get(), &bytes, &length);
        if (bytes)
            result = QByteArray(bytes, qsizetype(length));
        plist_to_xml_free(bytes);
    }
    if (result.isEmpty()) {
        if (error)
            *error = QStringLiteral("the property list could not be encoded");
        return std::nullopt;
    }
    return result;
}

bool writeFileAtomically(const QString& path, const QVariant& root, Format format, QString* error,
                         FileSystem::Links links) {
    const std::optional<QByteArray> bytes = serialize(root, format, error);
    if (!bytes)
        return false;
    QString reason;
    if (!FileSystem::writeFileAtomically(path, *bytes, &reason, links)) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, reason);
        return false;
    }
    return true;
}

} // namespace PropertyList
