#pragma once

#include "widgets/PanelWindow.h"

#include <QString>

#include <functional>

class IconGrid;

// The folder glyphs in a small popup window (280 × 200 points) next to the control that opened
// it: a click on a cell hands its symbol name to `onIconSelected` and closes the popover. The
// current glyph is outlined. Escape or a click outside closes it without a choice.
class IconPickerPopover final : public PanelWindow {
    Q_OBJECT
public:
    IconPickerPopover(const QString& selectedIcon, std::function<void(const QString&)> onIconSelected,
                      QWidget* parent = nullptr);

    // Shows the popover below `anchor` (or above it when the screen has no room below).
    void popUp(QWidget* anchor);
    IconGrid* grid() const { return m_grid; }

private:
    std::function<void(const QString&)> m_onIconSelected;
    IconGrid* m_grid;
};
