#include "PrintfFormat.h"

#include <QList>

namespace {

enum class Kind { Integer, Text, Percent, Invalid };

struct Directive {
    qsizetype begin = 0;
    qsizetype end = 0; // one past the conversion character
    int position = 0;  // 1-based for "%n$…", 0 for the next argument in turn
    Kind kind = Kind::Invalid;
};

// Far more than any text needs; a larger position is taken for a typing error, not an allocation.
constexpr int kMaxPosition = 64;

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Reads the directive starting at the '%' at `begin`.
Directive readDirective(const QString& format, qsizetype begin) {
    Directive directive;
    directive.begin = begin;
    qsizetype i = begin + 1;
    const qsizetype size = format.size();
    if (i < size && format[i] == u'%') {
        directive.end = i + 1;
        directive.kind = Kind::Percent;
        return directive;
    }

    qsizetype digitsEnd = i;
    while (digitsEnd < size && isDigit(format[digitsEnd]))
        ++digitsEnd;
    if (digitsEnd > i && digitsEnd < size && format[digitsEnd] == u'$') {
        bool ok = false;
        const int position = QStringView(format).mid(i, digitsEnd - i).toInt(&ok);
        if (!ok || position < 1 || position > kMaxPosition) {
            directive.end = digitsEnd + 1;
            return directive;
        }
        directive.position = position;
        i = digitsEnd + 1;
    }

    // Length modifiers change nothing here: every integer argument is a 64-bit value already.
    static const QString modifiers = QStringLiteral("hlqztj");
    while (i < size && modifiers.contains(format[i]))
        ++i;

    if (i >= size) {
        directive.end = size;
        return directive;
    }
    const QChar conversion = format[i];
    directive.end = i + 1;
    if (conversion == u'd' || conversion == u'i' || conversion == u'u')
        directive.kind = Kind::Integer;
    else if (conversion == u'@' || conversion == u's')
        directive.kind = Kind::Text;
    return directive;
}

QList<Directive> directivesOf(const QString& format) {
    QList<Directive> directives;
    qsizetype i = format.indexOf(u'%');
    while (i >= 0) {
        const Directive directive = readDirective(format, i);
        directives.append(directive);
        i = format.indexOf(u'%', directive.end);
    }
    return directives;
}

QString integerText(const QVariant& value) {
    bool ok = false;
    const int type = value.typeId();
    if (type == QMetaType::ULongLong || type == QMetaType::UInt || type == QMetaType::ULong) {
        const qulonglong number = value.toULongLong(&ok);
        if (ok)
            return QString::number(number);
    }
    const qlonglong number = value.toLongLong(&ok);
    return ok ? QString::number(number) : value.toString();
}

} // namespace

QString PrintfFormat::apply(const QString& format, const QVariantList& arguments) {
    QString result;
    result.reserve(format.size() + 16);
    qsizetype copied = 0;
    qsizetype nextArgument = 0;
    for (const Directive& directive : directivesOf(format)) {
        result.append(QStringView(format).mid(copied, directive.begin - copied));
        copied = directive.end;
        const QStringView written = QStringView(format).mid(directive.begin, directive.end - directive.begin);
        if (directive.kind == Kind::Percent) {
            result.append(u'%');
            continue;
        }
        if (directive.kind == Kind::Invalid) {
            result.append(written);
            continue;
        }
        const qsizetype index = directive.position > 0 ? directive.position - 1 : nextArgument++;
        if (index >= arguments.size()) {
            result.append(written);
            continue;
        }
        const QVariant& argument = arguments.at(index);
        result.append(directive.kind == Kind::Integer ? integerText(argument) : argument.toString());
    }
    result.append(QStringView(format).mid(copied));
    return result;
}

QString PrintfFormat::signature(const QString& format) {
    QString kinds;
    bool invalid = false;
    qsizetype nextArgument = 0;
    for (const Directive& directive : directivesOf(format)) {
        if (directive.kind == Kind::Percent)
            continue;
        if (directive.kind == Kind::Invalid) {
            invalid = true;
            continue;
        }
        const qsizetype index = directive.position > 0 ? directive.position - 1 : nextArgument++;
        const QChar kind = directive.kind == Kind::Integer ? u'd' : u'@';
        if (index >= kinds.size())
            kinds.resize(index + 1, u'?');
        if (kinds[index] == u'?')
            kinds[index] = kind;
        else if (kinds[index] != kind)
            invalid = true;
    }
    if (invalid)
        kinds.append(u'!');
    return kinds;
}
