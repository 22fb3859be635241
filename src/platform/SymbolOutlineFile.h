#pragma once

#include <QHash>
#include <QList>
#include <QPainterPath>
#include <QString>

#include <optional>
#include <utility>

// The symbols' glyph outlines, drawn from the font once at build time and kept in the bundle, so
// that drawing a symbol needs no font: no font database, text shaping or font file in a process
// that only draws a tile. Each outline fills the unit square the way the glyph's em square is
// centred in a symbol image.
//
// The file is a QDataStream: the magic "TRSO", a version, then per symbol its name, the byte size
// of its path and the path.
class SymbolOutlineFile {
public:
    explicit SymbolOutlineFile(QString path);

    // The outline of a symbol name; none when the file is missing or unreadable or has no such
    // name. Only the outlines asked for are read and kept.
    std::optional<QPainterPath> outline(const QString& name);

    static bool write(const QString& path, const QList<std::pair<QString, QPainterPath>>& outlines,
                      QString* error = nullptr);

private:
    QString m_path;
    QHash<QString, QPainterPath> m_read;
};
