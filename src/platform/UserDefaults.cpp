#include "UserDefaults.h"

#include "VariantKinds.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

using VariantKinds::isReal;
using VariantKinds::isSignedInteger;
using VariantKinds::isUnsignedInteger;

namespace {

constexpr qint64 integerMax = std::numeric_limits<qint64>::max();
constexpr qint64 integerMin = std::numeric_limits<qint64>::min();

qint64 saturatedInteger(quint64 value) {
    return value > quint64(integerMax) ? integerMax : qint64(value);
}

qint64 truncatedInteger(double value) {
    if (std::isnan(value))
        return 0;
    // 2^63 is exact as a double; anything at or beyond it does not fit.
    if (value >= 9223372036854775808.0)
        return integerMax;
    if (value <= -9223372036854775808.0)
        return integerMin;
    return qint64(value);
}

// Index of the first character after leading white space.
qsizetype skipSpace(const QString& text) {
    qsizetype index = 0;
    while (index < text.size() && text.at(index).isSpace())
        ++index;
    return index;
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool stringToBool(const QString& text) {
    qsizetype index = skipSpace(text);
    if (index < text.size() && (text.at(index) == u'+' || text.at(index) == u'-'))
        ++index;
    while (index < text.size() && text.at(index) == u'0')
        ++index;
    if (index >= text.size())
        return false;
    const QChar c = text.at(index);
    return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9');
}

qint64 stringToInteger(const QString& text) {
    qsizetype index = skipSpace(text);
    bool negative = false;
    if (index < text.size() && (text.at(index) == u'+' || text.at(index) == u'-')) {
        negative = text.at(index) == u'-';
        ++index;
    }
    // Accumulate towards the sign so that the most negative value is reachable; saturate on overflow.
    qint64 value = 0;
    for (; index < text.size() && isAsciiDigit(text.at(index)); ++index) {
        const int digit = text.at(index).unicode() - u'0';
        if (negative) {
            if (value < (integerMin + digit) / 10)
                return integerMin;
            value = value * 10 - digit;
        } else {
            if (value > (integerMax - digit) / 10)
                return integerMax;
            value = value * 10 + digit;
        }
    }
    return value;
}

// from_chars leaves the value alone when it is out of range, where strtod gives ±HUGE_VAL on
// overflow and ±0 on underflow. Tell the two apart from the decimal exponent of the text.
double outOfRangeValue(std::string_view number) {
    const bool negative = number.starts_with('-');
    qint64 magnitude = 0; // position of the leading significant digit relative to the point
    bool afterPoint = false;
    bool significant = false;
    size_t index = negative ? 1 : 0;
    for (; index < number.size(); ++index) {
        const char c = number[index];
        if (c == '.') {
            afterPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (!significant && c == '0') {
                if (afterPoint)
                    --magnitude;
                continue;
            }
            significant = true;
            if (!afterPoint)
                ++magnitude;
        } else {
            break;
        }
    }
    qint64 exponent = 0;
    if (index < number.size() && (number[index] == 'e' || number[index] == 'E')) {
        ++index;
        const bool negativeExponent = index < number.size() && number[index] == '-';
        if (index < number.size() && (number[index] == '-' || number[index] == '+'))
            ++index;
        for (; index < number.size() && number[index] >= '0' && number[index] <= '9'; ++index)
            exponent = std::min<qint64>(exponent * 10 + (number[index] - '0'), 1'000'000'000'000);
        if (negativeExponent)
            exponent = -exponent;
    }
    const double result = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -result : result;
}

double stringToDouble(const QString& text) {
    // Always the C notation ("1.5"), never the user's locale.
    const QByteArray bytes = text.mid(skipSpace(text)).toLatin1();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-')
            return 0;
    }
    double value = 0;
    const std::from_chars_result result = std::from_chars(begin, end, value);
    if (result.ec == std::errc::result_out_of_range)
        return outOfRangeValue(std::string_view(begin, size_t(result.ptr - begin)));
    if (result.ec != std::errc())
        return 0;
    return value;
}

} // namespace

namespace DefaultsConversions {

bool toBool(const QVariant& value) {
    const int type = value.typeId();
    if (type == QMetaType::Bool)
        return value.toBool();
    if (isSignedInteger(type))
        return value.toLongLong() != 0;
    if (isUnsignedInteger(type))
        return value.toULongLong() != 0;
    if (isReal(type))
        return value.toDouble() != 0;
    if (type == QMetaType::QString)
        return stringToBool(value.toString());
    return false;
}

qint64 toInteger(const QVariant& value) {
    const int type = value.typeId();
    if (type == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    if (isSignedInteger(type))
        return value.toLongLong();
    if (isUnsignedInteger(type))
        return saturatedInteger(value.toULongLong());
    if (isReal(type))
        return truncatedInteger(value.toDouble());
    if (type == QMetaType::QString)
        return stringToInteger(value.toString());
    return 0;
}

double toDouble(const QVariant& value) {
    const int type = value.typeId();
    if (type == QMetaType::Bool)
        return value.toBool() ? 1.0 : 0.0;
    if (isSignedInteger(type))
        return double(value.toLongLong());
    if (isUnsignedInteger(type))
        return double(value.toULongLong());
    if (isReal(type))
        return value.toDouble();
    if (type == QMetaType::QString)
        return stringToDouble(value.toString());
    return 0;
}

std::optional<QString> toString(const QVariant& value) {
    const int type = value.typeId();
    if (type == QMetaType::QString)
        return value.toString();
    if (isSignedInteger(type))
        return QString::number(value.toLongLong());
    if (isUnsignedInteger(type))
        return QString::number(value.toULongLong());
    if (isReal(type))
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    return std::nullopt;
}

std::optional<QStringList> toStringArray(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    QStringList strings;
    const QVariantList list = value.toList();
    strings.reserve(list.size());
    for (const QVariant& item : list) {
        if (item.typeId() != QMetaType::QString)
            return std::nullopt;
        strings.append(item.toString());
    }
    return strings;
}

} // namespace DefaultsConversions

bool UserDefaults::boolForKey(const QString& key) const {
    return DefaultsConversions::toBool(object(key));
}

qint64 UserDefaults::integerForKey(const QString& key) const {
    return DefaultsConversions::toInteger(object(key));
}

double UserDefaults::doubleForKey(const QString& key) const {
    return DefaultsConversions::toDouble(object(key));
}

std::optional<QString> UserDefaults::stringForKey(const QString& key) const {
    return DefaultsConversions::toString(object(key));
}

std::optional<QStringList> UserDefaults::stringArrayForKey(const QString& key) const {
    return DefaultsConversions::toStringArray(object(key));
}
