#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <optional>
#include <span>
#include <string_view>

// Named symbol images. The program names its symbols the way the macOS symbol set does
// ("folder.fill", "xmark", …); each such name maps to one glyph of the Material Icons font,
// drawn through the font's ligatures. Needs a QGuiApplication.
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

// A square ARGB32-premultiplied image of side ceil(pointSize) with the glyph centred, drawn
// in `color` (only where the glyph is opaque). Bold is synthesised, as the font has one weight.
// None for an unknown name, a size that is not a positive number of at most 4096 points,
// a missing font, or no QGuiApplication.
std::optional<QImage> image(const QString& name, double pointSize, bool bold, const QColor& color = Qt::white);

} // namespace Symbols
