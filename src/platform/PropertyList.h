#pragma once

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

// Parses XML or binary. On failure returns none and, when `error` is given, says why.
std::optional<Document> parse(const QByteArray& bytes, QString* error = nullptr);
std::optional<Document> readFile(const QString& path, QString* error = nullptr);

std::optional<QByteArray> serialize(const QVariant& root, Format format, QString* error = nullptr);

// Writes through a temporary file in the same folder and a rename, so readers never see half a file.
bool writeFileAtomically(const QString& path, const QVariant& root, Format format, QString* error = nullptr);

} // namespace PropertyList
