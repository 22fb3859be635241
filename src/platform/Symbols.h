#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QString>

#include <optional>
#include <span>
#include <string_view>

// Named symbol images. The program names its symbols the way the macOS symbol set does
// ("folder.fill", "xmark", …); each such name maps to one glyph of the Material Icons font,
// found through the font's ligatures. A bundle keeps the glyphs' outlines, drawn from the font at
// build time, so that a process drawing only symbols loads no font at all.
namespace Symbols {

struct Entry {
    std::string_view name;     // the symbol name the program uses
    std::string_view ligature; // the Material Icons ligature that draws it
};

// Every symbol name the program knows, each once, with its glyph.
std::span<const Entry> table();

// The Material Icons ligature for a symbol name; none for a name not in the table.
std::optional<QString> materialName(const QString& name);
bool isKnown(const QString& name);

// Where the glyphs come from (Debian: fonts-material-design-icons-iconfont).
QString fontPath();

// The glyph font at a pixel size (set a symbol's ligature in it to draw the symbol as text);
// none when it cannot be loaded.
std::optional<QFont> font(double pixelSize);

// The glyph of a symbol name in the unit square, placed as the glyph's em square centred in it:
// from the outline file when one is in use and has it, from the font otherwise. None for an
// unknown name or when neither has it.
std::optional<QPainterPath> outline(const QString& name);
// The same, always from the font (which needs a QGuiApplication); what the outline file keeps.
std::optional<QPainterPath> fontOutline(const QString& name);
// Takes outlines from this file (see SymbolOutlineFile) from now on, falling back to the font
// for what it does not have.
void useOutlineFile(const QString& path);

// A square ARGB32-premultiplied image of side ceil(pointSize) with the glyph centred, drawn
// in `color` (only where the glyph is opaque). Bold is synthesised, as the font has one weight.
// None for an unknown name, a size that is not a positive number of at most 4096 points, or no
// outline for it.
std::optional<QImage> image(const QString& name, double pointSize, bool bold, const QColor& color = Qt::white);

} // namespace Symbols
