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

void JsonWriter::value(const QString& text) {
    separate();
    m_bytes += '"';
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            m_bytes += "\\\"";
            break;
        case '\\':
            m_bytes += "\\\\";
            break;
        case '\n':
            m_bytes += "\\n";
            break;
        case '\r':
            m_bytes += "\\r";
            break;
        case '\t':
            m_bytes += "\\t";
            break;
        case '\b':
            m_bytes += "\\b";
            break;
        case '\f':
            m_bytes += "\\f";
            break;
        default:
            if (byte < 0x20) {
                static const char hex[] = "0123456789abcdef";
                m_bytes += "\\u00";
                m_bytes += hex[byte >> 4];
                m_bytes += hex[byte & 0xF];
            } else {
                m_bytes += c;
            }
        }
    }
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
