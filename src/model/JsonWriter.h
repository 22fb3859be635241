#pragma once

#include <QByteArray>
#include <QString>

// A compact JSON writer that keeps keys in the order they are written. It checks nothing
// about nesting; callers write well-formed documents.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(const char* name);

    void value(const QString& text);
    void value(bool flag);
    // False, writing nothing, when the number is NaN or infinite.
    bool value(double number);

    const QByteArray& bytes() const { return m_bytes; }

private:
    void separate();

    QByteArray m_bytes;
    bool m_needsComma = false;
};
