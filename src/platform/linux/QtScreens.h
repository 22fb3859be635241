#pragma once

#include "platform/Screens.h"

// The toolkit's screens: a screen's geometry is its frame and its available geometry (what
// docks and panels that reserve an edge leave) its visible frame, both turned to y-up about
// the primary screen's lower edge.
class QtScreens final : public Screens {
public:
    QList<ScreenFrames> screens() const override;
    std::optional<ScreenFrames> mainScreen() const override;
    QPointF mouseLocation() const override;
    // On X11, whether a compositing manager owns the screen's _NET_WM_CM_S<n> selection;
    // elsewhere true.
    bool showsTranslucentWindows() const override;
    QRectF toYUp(const QRect& geometry) const override;
    QRect toWindowGeometry(const QRectF& frame) const override;
};
