#pragma once

#include "PopupEnvironment.h"
#include "model/AppItem.h"
#include "widgets/ColorScheme.h"

#include <QAbstractButton>
#include <QImage>

#include <functional>

class SpringAnimation;

// One application in the popup's grid: its icon, and its name when the settings show names.
// A click (or Return, Enter or Space while it has keyboard focus) opens the application, and
// once it has opened `onLaunch` runs on the main queue; when it could not be opened,
// `onLaunchFailed` runs, even if the cell has been rebuilt since. The widget reaches `margin`
// points above and below its cell, room for the hover scale and the focus ring.
class PopupAppIconView final : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr double margin = 4.0;

    PopupAppIconView(const PopupEnvironment& environment, AppItem app, std::function<void()> onLaunch,
                     std::function<void()> onLaunchFailed, QWidget* parent = nullptr);

    // The cell's height without the margins, as the settings lay it out.
    static double cellHeight(const AppSettings& settings);

    const AppItem& app() const { return m_app; }
    bool isHovered() const { return m_isHovered; }
    double iconScale() const;
    void setColorScheme(ColorScheme scheme);
    // The focus ring shows once the keyboard moves around the popup, not for the opening's focus.
    void setFocusRingVisible(bool visible);
    bool isFocusRingVisible() const { return m_focusRingVisible; }

    // What a click does.
    void launch();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setHovered(bool hovered);
    QRectF iconRect() const;

    const PopupEnvironment& m_environment;
    AppItem m_app;
    std::function<void()> m_onLaunch;
    std::function<void()> m_onLaunchFailed;
    QImage m_appIcon;
    bool m_isHovered = false;
    ColorScheme m_colorScheme = ColorScheme::Dark;
    bool m_focusRingVisible = false;
    SpringAnimation* m_scale;
};
