#pragma once

#include <QString>
#include <QStringList>

// Values as a desktop entry file holds them, read back by desktops in the reverse order: the
// string's escapes first, then (for Exec) field codes, then the quoting of arguments.
namespace DesktopEntryText {

// A string value on one line: line breaks, tabs and backslashes escaped, spaces at either end
// kept (a reader strips them otherwise), NUL characters dropped (a key file cannot hold them).
QString stringValue(QString value);

// The Exec value that starts `program` with `arguments`, each reaching the program intact.
QString execLine(const QString& program, const QStringList& arguments = {});

} // namespace DesktopEntryText
