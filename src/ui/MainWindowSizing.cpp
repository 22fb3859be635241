#include "MainWindowSizing.h"

#include <algorithm>
#include <cmath>

namespace MainWindowSizing {

namespace {

// The frame around a content height, its top edge kept by the caller.
QSizeF frameFor(double width, double targetHeight, double minimumFrameHeight, double inset) {
    const double minimumContentHeight = minimumFrameHeight - inset;
    const double contentHeight = std::max(minimumContentHeight, targetHeight - inset);
    return {width, contentHeight + inset};
}

double widthAtLeastMinimum(double width) {
    return width <= minimumWidth ? minimumWidth : width;
}

} // namespace

PageSizing sizingFor(NavigationPage page, double currentContentWidth, std::optional<double> measuredHeight,
                     const QSizeF& storedFolderListSize, double titleBarInset) {
    if (page == NavigationPage::AllFolders) {
        const QSizeF target = storedFolderListSize.height() > 0
                                  ? storedFolderListSize
                                  : QSizeF(widthAtLeastMinimum(currentContentWidth), preferredFolderListSize.height());
        return {folderListMinimumFrameHeight,
                frameFor(target.width(), target.height(), folderListMinimumFrameHeight, titleBarInset)};
    }
    if (!measuredHeight || *measuredHeight <= 0)
        return {settingsMinimumFrameHeight, std::nullopt};
    const double target = std::ceil(std::max(settingsMinimumFrameHeight, *measuredHeight + settingsPageChrome));
    return {settingsMinimumFrameHeight,
            frameFor(widthAtLeastMinimum(currentContentWidth), target, settingsMinimumFrameHeight, titleBarInset)};
}

} // namespace MainWindowSizing
