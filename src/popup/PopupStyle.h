#pragma once

#include "model/Enums.h"
#include "widgets/ColorScheme.h"
#include "widgets/GlyphButton.h"
#include "widgets/Shadow.h"

#include <QColor>
#include <QFont>

// The popup's colours for one appearance.
struct PopupPalette {
    QColor title;
    QColor appName;
    QColor divider;
    QColor stroke;
    QColor pinSymbol;
    // A notice in the card: its text, its warning symbol and the tint behind them.
    QColor noticeText;
    QColor noticeSymbol;
    QColor noticeFill;
    ShadowStyle outerShadow;
    ShadowStyle innerShadow;

    static PopupPalette forScheme(ColorScheme scheme);
};

namespace PopupStyle {

QFont titleFont();
QFont appNameFont();
// An empty folder's message.
QFont emptyFolderFont();

// The card's fill. The platform blurs what lies behind the popup through a material (thin,
// regular or thick); here the materials are translucent fills of the appearance's base tone,
// thin letting most through and thick least, all at the popup's opacity. A screen that cannot
// show translucent windows gets the tone opaque.
QColor materialFill(PopupBlur blur, double opacity, ColorScheme scheme, bool translucent);

} // namespace PopupStyle

// The pin button: its symbol in the pin colour in a 22-point square, dimmed while pressed.
struct PopupPinButtonStyle {
    static GlyphButtonStyle style();
};

// The close button: a white symbol on a small circle that suits the appearance.
struct PopupCloseButtonStyle {
    ColorScheme colorScheme = ColorScheme::Dark;

    GlyphButtonStyle style() const;
};
