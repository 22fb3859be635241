#include "JsonWriter.h"

#include <charconv>
#include <cmath>

void JsonWriter::separate() {
    if (m_needsComma)
        m_bytes += ',';
    m_needsComma = false;
}

void JsonWriter::beginObject() {
    separate();
    m_bytes += '{';
}

void JsonWriter::endObject() {
    m_bytes += '}';
    m_needsComma = true;
}

void JsonWriter::beginArray() {
    separate();
    m_bytes += '[';
}

void JsonWriter::endArray() {
    m_bytes += ']';
    m_needsComma = true;
}

void JsonWriter::key(const char* name) {
    value(QString::fromUtf8(name));
    m_bytes += ':';
    m_needsComma = false;
}

namespace {

const char hexDigits[] = "0123456789abcdef";

void appendEscape(QByteArray& bytes, char16_t unit) {
    bytes += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        bytes += hexDigits[(unit >> shift) & 0xF];
}

void appendEscaped(QByteArray& bytes, QStringView text) {
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            bytes += "\\\"";
            break;
        case '\\':
            bytes += "\\\\";
            break;
        case '\n':
            bytes += "\\n";
            break;
        case '\r':
            bytes += "\\r";
            break;
        case '\t':
            bytes += "\\t";
            break;
        case '\b':
            bytes += "\\b";
            break;
        case '\f':
            bytes += "\\f";
            break;
        default:
            if (byte < 0x20)
                appendEscape(bytes, byte);
            else
                bytes += c;
        }
    }
}

bool isUnpairedSurrogate(const QString& text, qsizetype index) {
    const QChar c = text.at(index);
    if (c.isHighSurrogate())
        return index + 1 == text.size() || !text.at(index + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return index == 0 || !text.at(index - 1).isHighSurrogate();
    return false;
}

} // namespace

void JsonWriter::value(const QString& text) {
    separate();
    m_bytes += '"';
    // A surrogate without its partner has no UTF-8 form, where it would turn into U+FFFD; written
    // as an escape it reads back as the same text, so saving never changes a name.
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isUnpairedSurrogate(text, i))
            continue;
        appendEscaped(m_bytes, QStringView(text).sliced(start, i - start));
        appendEscape(m_bytes, text.at(i).unicode());
        start = i + 1;
    }
    appendEscaped(m_bytes, QStringView(text).sliced(start));
    m_bytes += '"';
    m_needsComma = true;
}

void JsonWriter::value(bool flag) {
    separate();
    m_bytes += flag ? "true" : "false";
    m_needsComma = true;
}

bool JsonWriter::value(double number) {
    if (!std::isfinite(number))
        return false;
    separate();
    // The shortest text that reads back to the same double.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    m_bytes.append(buffer, result.ptr - buffer);
    m_needsComma = true;
    return true;
}
