#include "FolderID.h"

#include <QtEndian>
#include <array>

QString FolderID::canonical(const QUuid& id) {
    return id.toString(QUuid::WithoutBraces).toUpper();
}

namespace {

// The value of a hexadecimal digit, or -1.
int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

std::optional<QUuid> FolderID::parse(const QString& text) {
    if (text.size() != 36)
        return std::nullopt;
    // Read here rather than by QUuid: a folders file holds thousands, and the form is checked anyway.
    // The two halves are gathered in registers; bytes written and read back digit by digit stall.
    quint64 high = 0;
    quint64 low = 0;
    int digits = 0;
    for (qsizetype i = 0; i < 36; ++i) {
        const char16_t c = text.at(i).unicode();
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-')
                return std::nullopt;
            continue;
        }
        const int value = hexValue(c);
        if (value < 0)
            return std::nullopt;
        quint64& half = digits++ < 16 ? high : low;
        half = half << 4 | quint64(value);
    }
    std::array<uchar, 16> bytes{};
    qToBigEndian(high, bytes.data());
    qToBigEndian(low, bytes.data() + 8);
    return QUuid::fromRfc4122(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}
