#pragma once

#include <QString>
#include <QVariantList>

// The printf-style format texts of the string tables: %d %i %u (with the length modifiers h, hh, l, ll,
// q, z, t, j) for integers, %@ and %s for text, %% for a percent sign, and the positional forms such as
// %2$d for translations that reorder their arguments.
class PrintfFormat {
public:
    // Fills the format with the arguments. Integers come out as plain digits, with no grouping. A
    // directive that is not understood, or that has no argument left, stays as written: a faulty
    // translation then shows itself instead of reading past the arguments or dropping text.
    static QString apply(const QString& format, const QVariantList& arguments);

    // The arguments the format takes, in argument order: 'd' an integer, '@' a text, '?' a position the
    // format never uses. A trailing '!' marks a directive that cannot be filled (an unknown conversion,
    // a lone "%", or one position used as two kinds). "" for a text without directives.
    static QString signature(const QString& format);
};
