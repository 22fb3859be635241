#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What is looked at in a property list before the library reads it: documents the library would
// crash on, or take the whole stack or memory to read.
namespace PropertyListChecks {

// libplist 2.2's binary reader accepts a dictionary key holding a NUL character, and handing that
// key out then fails an assertion, which ends the process.
bool binaryKeyHoldsNul(const QByteArray& bytes);

// Why the objects of a binary property list must not be read: nested deeper than `limit`, a
// container inside itself, or more values than `maxValues` once every reference is read out (an
// object may be referred to many times, and the library makes a copy for each). None when the
// shape is sound.
std::optional<QString> binaryShapeFault(const QByteArray& bytes, int limit, quint64 maxValues);

// How deep the elements of an XML text nest, counted up to just past `limit`. Comments, character
// data sections, declarations and empty elements add nothing.
int xmlDepth(const QByteArray& xml, int limit);

} // namespace PropertyListChecks
