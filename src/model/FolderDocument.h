#pragma once

#include "AppFolder.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

// The document folders travel in between machines:
// {"format": "trellin-folders", "version": 1, "folders": [...]}, the folder records exactly as the
// folders file holds them. Written compact, like the folders file, with a final newline.
namespace FolderDocument {

inline const QString format = QStringLiteral("trellin-folders");
constexpr int version = 1;

enum class Refusal {
    NotADocument,  // not JSON, not an object, or "format" missing or different
    FutureVersion, // written by a newer Trellin: a version this one does not know
    Damaged,       // ours, but its version or a folder record is broken, or an id repeats
};

struct Failure {
    Refusal refusal;
    QString detail; // English, for a log or the command line
};

std::optional<QByteArray> encode(const QList<AppFolder>& folders, QString* error = nullptr);

// Either the whole list or a Failure; never a partial list. `now` stands in for a missing
// creation time, as in the folders file.
std::variant<QList<AppFolder>, Failure> decode(const QByteArray& bytes, const QDateTime& now);

// One English line, e.g. "not a Trellin folders document (expected a JSON object)".
QString describe(const Failure& failure);

} // namespace FolderDocument
