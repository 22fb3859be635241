#include "DesktopEntryText.h"

namespace {

// Quotes an argument for an Exec line, then escapes it as a string value.
QString execArgument(const QString& argument) {
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted = u'"' + quoted + u'"';
    // A literal percent sign is written as "%%" in an Exec line.
    quoted.replace(u'%', QStringLiteral("%%"));
    return DesktopEntryText::stringValue(quoted);
}

} // namespace

QString DesktopEntryText::stringValue(QString value) {
    value.remove(QChar(u'\0'));
    value.replace(u'\\', QStringLiteral("\\\\"));
    value.replace(u'\n', QStringLiteral("\\n"));
    value.replace(u'\r', QStringLiteral("\\r"));
    value.replace(u'\t', QStringLiteral("\\t"));
    qsizetype leading = 0;
    while (leading < value.size() && value.at(leading) == u' ')
        ++leading;
    if (leading == value.size())
        return QStringLiteral("\\s").repeated(leading);
    qsizetype trailing = 0;
    while (value.at(value.size() - 1 - trailing) == u' ')
        ++trailing;
    return QStringLiteral("\\s").repeated(leading) + value.mid(leading, value.size() - leading - trailing) +
           QStringLiteral("\\s").repeated(trailing);
}

// GIO checks that an entry's program exists before it expands field codes, so it would refuse a
// program path holding "%%" and nothing would start; such a path is given to the shell as an
// argument, which GIO leaves alone.
QString DesktopEntryText::execLine(const QString& program, const QStringList& arguments) {
    QStringList words;
    if (program.contains(u'%'))
        words << QStringLiteral("/bin/sh") << QStringLiteral("-c")
              << (arguments.isEmpty() ? QStringLiteral("exec \"$0\"") : QStringLiteral("exec \"$0\" \"$@\""));
    words << program << arguments;
    QStringList line;
    for (const QString& word : words)
        line << execArgument(word);
    return line.join(u' ');
}
