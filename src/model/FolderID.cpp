#include "FolderID.h"

#include <QtEndian>
#include <array>

QString FolderID::canonical(const QUuid& id) {
    return id.toString(QUuid::WithoutBraces).toUpper();
}

namespace {

// The values of the hexadecimal digits, -1 for every other character. A table, since an id's digits
// and letters come in no order a branch could guess.
constexpr std::array<qint8, 128> kHexValues = [] {
    std::array<qint8, 128> values{};
    values.fill(-1);
    for (int c = '0'; c <= '9'; ++c)
        values[size_t(c)] = qint8(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        values[size_t(c)] = values[size_t(c - 'a' + 'A')] = qint8(c - 'a' + 10);
    return values;
}();

int hexValue(char16_t c) {
    return c < kHexValues.size() ? kHexValues[c] : -1;
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
