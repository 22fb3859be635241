#pragma once

#include "FileSystem.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// Property lists through libplist, as QVariants (see UserDefaults for the value mapping).
namespace PropertyList {

enum class Format { Xml, Binary };

struct Document {
    QVariant root;
    Format format = Format::Xml;
};

// Documents nested deeper than this, or holding more values than this once read out, are refused
// as unreadable: reading them would exhaust the stack or the memory.
inline constexpr int kMaxDepth = 256;
inline constexpr quint64 kMaxValues = 4'000'000;

// Parses XML or binary. On failure returns none and, when `error` is given, says why.
std::optional<Document> parse(const QByteArray& bytes, QString* error = nullptr);
// Reads a regular file of at most `maxBytes` without blocking (see FileSystem::readFile).
std::optional<Document> readFile(const QString& path, QString* error = nullptr,
                                 qint64 maxBytes = FileSystem::kPropertyListLimit,
                                 FileSystem::Links links = FileSystem::Links::Follow);

std::optional<QByteArray> serialize(const QVariant& root, Format format, QString* error = nullptr);

// Writes through a temporary file in the same folder and a rename, so readers never see half a file.
// A link at `path` is replaced unless `links` says to follow it (see FileSystem).
bool writeFileAtomically(const QString& path, const QVariant& root, Format format, QString* error = nullptr,
                         FileSystem::Links links = FileSystem::Links::Refuse);

} // namespace PropertyList
