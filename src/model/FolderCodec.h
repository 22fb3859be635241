#pragma once

#include "AppFolder.h"

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QString>

#include <optional>

// The folders file's JSON form: a compact array of folder objects.
namespace FolderCodec {

// Documents nested deeper than this are refused as not a folders file.
inline constexpr int kMaxDepth = 256;

// The whole list or nothing: any error anywhere fails the document. `now` (seconds since
// 2001-01-01) stands in for a missing creation time.
std::optional<QList<AppFolder>> decode(const QByteArray& json, double now, QString* error = nullptr);

// The same rules for an array already parsed, as a document that holds folder records has it.
// `error` says only what is wrong and where, e.g. "missing required key at [0].name".
std::optional<QList<AppFolder>> decode(const QJsonArray& folders, double now, QString* error = nullptr);

// Whether the arrays and objects of a JSON text nest deeper than `limit`: a reader refuses such a
// text before the parser descends into it.
bool nestsDeeperThan(const QByteArray& json, int limit);

// Fails only on a non-finite number, which JSON cannot hold.
std::optional<QByteArray> encode(const QList<AppFolder>& folders, QString* error = nullptr);
// One folder's object as `encode` writes it at `index` of the list (the index is only for the
// error's text).
std::optional<QByteArray> encodeFolder(const AppFolder& folder, qsizetype index, QString* error = nullptr);
// The file's text from folder objects made by `encodeFolder`, in order.
QByteArray joinFolders(const QList<QByteArray>& encodedFolders);

} // namespace FolderCodec
