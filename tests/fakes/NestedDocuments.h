#pragma once

#include <QByteArray>
#include <QList>

// Documents nested past any reader's patience, for the tests of what is refused.

// `levels` arrays in an XML property list, the innermost holding `inner`.
inline QByteArray nestedXml(int levels, const QByteArray& inner = {}) {
    return "<?xml version=\"1.0\"?><plist version=\"1.0\">" + QByteArray("<array>").repeated(levels) + inner +
           QByteArray("</array>").repeated(levels) + "</plist>";
}

// `levels` arrays in a binary property list, each holding the next `references` times (or, with
// `loop`, the last holding the first).
inline QByteArray nestedBinary(int levels, bool loop = false, int references = 1) {
    const auto bigEndian = [](QByteArray& out, quint64 value, int width) {
        for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
            out.append(char(value >> shift & 0xFF));
    };
    QByteArray out("bplist00");
    QList<quint64> offsets;
    for (int i = 0; i < levels; ++i) {
        offsets.append(quint64(out.size()));
        const bool last = i == levels - 1;
        if (last && !loop) {
            out.append(char(0xA0));
            continue;
        }
        out.append(char(0xA0 | references));
        for (int r = 0; r < references; ++r)
            bigEndian(out, last ? 0 : quint64(i + 1), 4);
    }
    const auto table = quint64(out.size());
    for (const quint64 offset : offsets)
        bigEndian(out, offset, 4);
    out.append(6, '\0');
    out.append(char(4));
    out.append(char(4));
    bigEndian(out, quint64(levels), 8);
    bigEndian(out, 0, 8);
    bigEndian(out, table, 8);
    return out;
}
