#include "FolderCodec.h"

#include "FolderID.h"
#include "JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <cstring>

namespace {

const QString kFormatError = QStringLiteral("The data couldn't be read because it isn't in the correct format.");

// The first decoding error and where it happened, e.g. "[2].apps[0].appURL". Paths are built
// only while the error travels out, so a good file costs no string work for them.
struct DecodeError {
    QString what;
    QString path;
};

QString describe(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

[[noreturn]] void fail(const QString& what) {
    throw DecodeError{what, {}};
}

// Runs `decode`, and prefixes the path of any error it raises with the key or index it read.
template <typename Decode> auto within(const char* key, Decode decode) {
    try {
        return decode();
    } catch (DecodeError& error) {
        error.path.prepend(u'.' + QLatin1String(key));
        throw;
    }
}

template <typename Decode> auto within(qsizetype index, Decode decode) {
    try {
        return decode();
    } catch (DecodeError& error) {
        error.path.prepend(QStringLiteral("[%1]").arg(index));
        throw;
    }
}

bool isAbsent(const QJsonValue& value) {
    return value.isUndefined() || value.isNull();
}

QString stringValue(const QJsonValue& value) {
    if (!value.isString())
        fail(QStringLiteral("expected a string but found ") + describe(value));
    return value.toString();
}

bool boolValue(const QJsonValue& value) {
    if (!value.isBool())
        fail(QStringLiteral("expected a boolean but found ") + describe(value));
    return value.toBool();
}

double numberValue(const QJsonValue& value) {
    if (!value.isDouble())
        fail(QStringLiteral("expected a number but found ") + describe(value));
    return value.toDouble();
}

QUuid uuidValue(const QJsonValue& value) {
    const auto id = FolderID::parse(stringValue(value));
    if (!id)
        fail(QStringLiteral("invalid UUID string \"") + value.toString() + u'"');
    return *id;
}

bool isHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// "file:///" and a path of nothing but the characters a path may hold as they are, and whole
// percent escapes: what nearly every stored URL is, and certainly a valid one. Anything else is
// left to the URL parser, which costs more than all the rest of a file's reading.
bool isPlainFileURL(const QString& text) {
    const QLatin1String prefix("file:///");
    if (!text.startsWith(prefix) || text.size() == prefix.size() || text.at(prefix.size()) == u'/')
        return false;
    for (qsizetype i = prefix.size(); i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
            continue;
        if (c == u'%') {
            if (i + 2 >= text.size() || !isHexDigit(text.at(i + 1).unicode()) || !isHexDigit(text.at(i + 2).unicode()))
                return false;
            i += 2;
            continue;
        }
        if (c > 0x7F || !QLatin1String("-._~!$&'()*+,;=:@/").contains(QLatin1Char(char(c))))
            return false;
    }
    return true;
}

// A URL string must parse as a URL on its own: no spaces, no characters a URL may not hold.
bool isValidURLString(const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
        case u'<':
        case u'>':
        case u'\\':
        case u'^':
        case u'`':
        case u'{':
        case u'|':
        case u'}':
            return false;
        default:
            if (c.unicode() <= 0x20 || c.unicode() >= 0x7F)
                return false;
        }
    }
    return isPlainFileURL(text) || QUrl(text, QUrl::StrictMode).isValid();
}

QString urlValue(const QJsonValue& value) {
    const QString text = stringValue(value);
    if (!isValidURLString(text))
        fail(QStringLiteral("invalid URL string \"") + text + u'"');
    return text;
}

template <typename Enum, std::size_t N> Enum enumValue(const RawTable<Enum, N>& cases, const QJsonValue& value) {
    const QString raw = stringValue(value);
    const auto decoded = caseIn(cases, raw);
    if (!decoded)
        fail(QStringLiteral("cannot initialize from invalid value \"") + raw + u'"');
    return *decoded;
}

// Reads a key that must be present and not null.
template <typename Read> auto requiredKey(const QJsonObject& object, const char* key, Read read) {
    return within(key, [&] {
        const QJsonValue value = object.value(QLatin1String(key));
        if (isAbsent(value))
            fail(QStringLiteral("missing required key"));
        return read(value);
    });
}

// Reads a key when present and not null; otherwise leaves `target` as it is.
template <typename Target, typename Read>
void optionalKey(const QJsonObject& object, const char* key, Target& target, Read read) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (!isAbsent(value))
        target = within(key, [&] { return read(value); });
}

QJsonObject objectValue(const QJsonValue& value, const char* what) {
    if (!value.isObject())
        fail(QStringLiteral("expected %1 object but found ").arg(QLatin1String(what)) + describe(value));
    return value.toObject();
}

AppItem decodeApp(const QJsonValue& value) {
    const QJsonObject object = objectValue(value, "an application");
    AppItem app;
    app.id = requiredKey(object, "id", uuidValue);
    app.name = requiredKey(object, "name", stringValue);
    app.bundleID = requiredKey(object, "bundleID", stringValue);
    app.appURL = requiredKey(object, "appURL", urlValue);
    return app;
}

TileStyleSettings decodeTileStyle(const QJsonValue& value) {
    const QJsonObject object = objectValue(value, "a tile style");
    TileStyleSettings style;
    optionalKey(object, "displayFolderIcon", style.displayFolderIcon, boolValue);
    optionalKey(object, "opacity", style.opacity, numberValue);
    optionalKey(object, "cornerRadius", style.cornerRadius, numberValue);
    optionalKey(object, "backgroundStyle", style.backgroundStyle,
                [](const QJsonValue& v) { return enumValue(kTileBackgroundCases, v); });
    optionalKey(object, "customHex", style.customHex, stringValue);
    optionalKey(object, "backgroundMode", style.backgroundMode,
                [](const QJsonValue& v) { return enumValue(kTileBackgroundModeCases, v); });
    optionalKey(object, "borderEnabled", style.borderEnabled, boolValue);
    optionalKey(object, "borderWidth", style.borderWidth, numberValue);
    optionalKey(object, "borderOpacity", style.borderOpacity, numberValue);
    return style;
}

QList<AppItem> decodeApps(const QJsonValue& value) {
    if (!value.isArray())
        fail(QStringLiteral("expected an array but found ") + describe(value));
    const QJsonArray array = value.toArray();
    QList<AppItem> apps;
    apps.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i)
        apps.append(within(i, [&] { return decodeApp(array.at(i)); }));
    return apps;
}

AppFolder decodeFolder(const QJsonValue& value, double now) {
    const QJsonObject object = objectValue(value, "a folder");
    AppFolder folder;
    folder.id = requiredKey(object, "id", uuidValue);
    folder.name = AppFolder::storableName(requiredKey(object, "name", stringValue));
    folder.emoji = QStringLiteral("folder.fill");
    optionalKey(object, "emoji", folder.emoji, stringValue);
    optionalKey(object, "apps", folder.apps, decodeApps);
    optionalKey(object, "isInDock", folder.isInDock, boolValue);
    optionalKey(object, "tileStyle", folder.tileStyle, decodeTileStyle);
    folder.createdAt = now;
    optionalKey(object, "createdAt", folder.createdAt, numberValue);
    return folder;
}

struct EncodeError {
    QString detail;
};

// `path` names where the number sits inside one folder, e.g. ".tileStyle.opacity".
void writeNumber(JsonWriter& writer, const char* key, double number, const char* path) {
    writer.key(key);
    if (!writer.value(number))
        throw EncodeError{QStringLiteral("cannot write the non-finite number %1 at %2")
                              .arg(QString::number(number), QLatin1String(path))};
}

void encodeTileStyle(JsonWriter& writer, const TileStyleSettings& style) {
    writer.beginObject();
    writer.key("displayFolderIcon");
    writer.value(style.displayFolderIcon);
    writeNumber(writer, "opacity", style.opacity, ".tileStyle.opacity");
    writeNumber(writer, "cornerRadius", style.cornerRadius, ".tileStyle.cornerRadius");
    writer.key("backgroundStyle");
    writer.value(rawValue(style.backgroundStyle));
    if (style.customHex) {
        writer.key("customHex");
        writer.value(*style.customHex);
    }
    writer.key("backgroundMode");
    writer.value(rawValue(style.backgroundMode));
    writer.key("borderEnabled");
    writer.value(style.borderEnabled);
    writeNumber(writer, "borderWidth", style.borderWidth, ".tileStyle.borderWidth");
    writeNumber(writer, "borderOpacity", style.borderOpacity, ".tileStyle.borderOpacity");
    writer.endObject();
}

void writeFolder(JsonWriter& writer, const AppFolder& folder) {
    writer.beginObject();
    writer.key("id");
    writer.value(FolderID::canonical(folder.id));
    writer.key("name");
    writer.value(folder.name);
    writer.key("emoji");
    writer.value(folder.emoji);
    writer.key("apps");
    writer.beginArray();
    for (const AppItem& app : folder.apps) {
        writer.beginObject();
        writer.key("id");
        writer.value(FolderID::canonical(app.id));
        writer.key("name");
        writer.value(app.name);
        writer.key("bundleID");
        writer.value(app.bundleID);
        writer.key("appURL");
        writer.value(app.appURL);
        writer.endObject();
    }
    writer.endArray();
    writer.key("isInDock");
    writer.value(folder.isInDock);
    writer.key("tileStyle");
    encodeTileStyle(writer, folder.tileStyle);
    writeNumber(writer, "createdAt", folder.createdAt, ".createdAt");
    writer.endObject();
}

} // namespace

// A folders file nests four levels; anything far deeper is not one.
bool FolderCodec::nestsDeeperThan(const QByteArray& json, int limit) {
    int depth = 0;
    const char* const text = json.constData();
    const qsizetype size = json.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = text[i];
        if (c == '"') {
            // On to the string's closing quote: the first not escaped by an odd run of backslashes.
            // Most of a file is strings, so they are skipped a block at a time.
            for (;;) {
                const auto* quote = static_cast<const char*>(std::memchr(text + i + 1, '"', size_t(size - i - 1)));
                if (!quote)
                    return false;
                i = quote - text;
                qsizetype backslashes = 0;
                while (text[i - 1 - backslashes] == '\\')
                    ++backslashes;
                if (backslashes % 2 == 0)
                    break;
            }
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

namespace {

QString whatAndWhere(const DecodeError& decodeError) {
    if (decodeError.path.isEmpty())
        return decodeError.what;
    return decodeError.what + QStringLiteral(" at ") + decodeError.path;
}

QString decodeErrorText(const DecodeError& decodeError) {
    return kFormatError + QStringLiteral(" (") + whatAndWhere(decodeError) + u')';
}

QList<AppFolder> decodeFolders(const QJsonArray& array, double now) {
    QList<AppFolder> folders;
    folders.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i)
        folders.append(within(i, [&] { return decodeFolder(array.at(i), now); }));
    return folders;
}

} // namespace

std::optional<QList<AppFolder>> FolderCodec::decode(const QJsonArray& array, double now, QString* error) {
    try {
        return decodeFolders(array, now);
    } catch (const DecodeError& decodeError) {
        if (error)
            *error = whatAndWhere(decodeError);
        return std::nullopt;
    }
}

std::optional<QList<AppFolder>> FolderCodec::decode(const QByteArray& json, double now, QString* error) {
    try {
        if (nestsDeeperThan(json, kMaxDepth))
            throw DecodeError{QStringLiteral("nested deeper than %1 levels").arg(kMaxDepth), {}};
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
        if (parseError.error != QJsonParseError::NoError)
            throw DecodeError{
                QStringLiteral("invalid JSON at offset %1: %2").arg(parseError.offset).arg(parseError.errorString()),
                {}};
        if (!document.isArray())
            throw DecodeError{QStringLiteral("expected an array of folders but found ") +
                                  (document.isObject() ? QStringLiteral("an object") : QStringLiteral("nothing")),
                              QStringLiteral("the top level")};
        return decodeFolders(document.array(), now);
    } catch (const DecodeError& decodeError) {
        if (error)
            *error = decodeErrorText(decodeError);
        return std::nullopt;
    }
}

std::optional<QByteArray> FolderCodec::encodeFolder(const AppFolder& folder, qsizetype index, QString* error) {
    JsonWriter writer;
    try {
        writeFolder(writer, folder);
    } catch (EncodeError& encodeError) {
        if (error)
            *error = QStringLiteral("The data couldn't be written because it isn't in the correct format. (") +
                     encodeError.detail.replace(QStringLiteral(" at ."), QStringLiteral(" at [%1].").arg(index)) + u')';
        return std::nullopt;
    }
    return writer.bytes();
}

QByteArray FolderCodec::joinFolders(const QList<QByteArray>& encodedFolders) {
    qsizetype size = 2 + std::max<qsizetype>(encodedFolders.size() - 1, 0);
    for (const QByteArray& folder : encodedFolders)
        size += folder.size();
    QByteArray text;
    text.reserve(size);
    text.append('[');
    for (qsizetype i = 0; i < encodedFolders.size(); ++i) {
        if (i > 0)
            text.append(',');
        text.append(encodedFolders.at(i));
    }
    text.append(']');
    return text;
}

std::optional<QByteArray> FolderCodec::encode(const QList<AppFolder>& folders, QString* error) {
    QList<QByteArray> encoded;
    encoded.reserve(folders.size());
    for (qsizetype i = 0; i < folders.size(); ++i) {
        std::optional<QByteArray> folder = encodeFolder(folders.at(i), i, error);
        if (!folder)
            return std::nullopt;
        encoded.append(std::move(*folder));
    }
    return joinFolders(encoded);
}
