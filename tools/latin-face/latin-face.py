#!/usr/bin/python3
"""Writes a copy of a font without its Cyrillic letters, under a family name of its own.

The interface's rounded face draws Cyrillic lower case with italic-like shapes ("пт" reads as
"nm"). Without Cyrillic in the copy, the text engine draws those letters in the next family of
the interface's list, whose Cyrillic is upright. The copy takes a new name because the original's
licence reserves its name for unmodified fonts.

Usage: latin-face.py <source.ttf> <output.ttf> <family> <style> <weight class>

The text engine draws letters the copy lacks in the next family's face of the same style name, so
the style and weight given here choose which face of that family sits beside this one.
"""
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

# Cyrillic, Cyrillic Supplement, Cyrillic Extended-A, -B and -C.
CYRILLIC = [(0x0400, 0x052F), (0x2DE0, 0x2DFF), (0xA640, 0xA69F), (0x1C80, 0x1C8F)]


def is_cyrillic(code_point):
    return any(first <= code_point <= last for first, last in CYRILLIC)


def rename(font, family, style):
    # Legacy names know only regular and bold; other styles become families of their own there.
    legacy = style in ("Regular", "Bold")
    names = {
        1: family if legacy else f"{family} {style}",
        2: style if legacy else "Regular",
        3: f"{family} {style}",
        4: family if style == "Regular" else f"{family} {style}",
        6: f"{family}-{style}".replace(" ", ""),
    }
    table = font["name"]
    # Variation and old typographic names would still carry the original's name.
    table.names = [record for record in table.names if record.nameID not in (16, 17, 18, 21, 22, 25)]
    for record in table.names:
        if record.nameID in names:
            record.string = names[record.nameID]
    table.setName(family, 16, 3, 1, 0x409)
    table.setName(style, 17, 3, 1, 0x409)


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    source, output, family, style, weight = sys.argv[1:]
    font = TTFont(source)
    # Keep the build reproducible: the copy carries the source's dates.
    font.recalcTimestamp = False
    kept = sorted(code for code in font.getBestCmap() if not is_cyrillic(code))

    options = subset.Options()
    options.layout_features = ["*"]
    options.layout_scripts = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.notdef_outline = True
    options.glyph_names = True
    options.legacy_kern = True
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=kept)
    subsetter.subset(font)

    rename(font, family, style)
    font["OS/2"].usWeightClass = int(weight)
    left = [code for code in font.getBestCmap() if is_cyrillic(code)]
    if left:
        sys.exit(f"latin-face: {len(left)} Cyrillic characters are still in {output}")
    font.save(output)


if __name__ == "__main__":
    main()
