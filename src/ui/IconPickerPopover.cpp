#include "IconPickerPopover.h"

#include "IconGrid.h"

#include <QShortcut>
#include <QVBoxLayout>

namespace {

constexpr int popoverWidth = 280;
constexpr int popoverHeight = 200;
constexpr int gap = 6;

} // namespace

IconPickerPopover::IconPickerPopover(const QString& selectedIcon, std::function<void(const QString&)> onIconSelected,
                                     QWidget* parent)
    : PanelWindow(parent)
    , m_onIconSelected(std::move(onIconSelected))
    , m_grid(new IconGrid(selectedIcon, this)) {
    setPanelSize(QSize(popoverWidth, popoverHeight));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_grid);
    setFocusProxy(m_grid);
    const auto choose = [this](const QString& icon) {
        // The callback may destroy what opened the popover; close first, then hand the choice over.
        const auto onIconSelected = m_onIconSelected;
        close();
        if (onIconSelected)
            onIconSelected(icon);
    };
    connect(m_grid, &IconGrid::iconClicked, this, choose);
    // Return chooses the ringed cell even when it is the current glyph (the grid leaves that case alone).
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, choose] { choose(m_grid->currentIcon()); });
    }
}

void IconPickerPopover::popUp(QWidget* anchor) {
    PanelWindow::popUp(anchor, gap, AnchoredPopup::Edge::Leading);
    m_grid->setFocus(Qt::PopupFocusReason);
}
