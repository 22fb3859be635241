#pragma once

#include "NavigationPage.h"
#include "model/Enums.h"

#include <QWidget>

class GlyphButton;
class Localization;
class QLabel;
class SegmentedTabs;
class TrafficLights;

// The main window's own title bar: the traffic lights, the title, the theme and settings buttons
// and, on a settings page, the row of settings tabs. Dragging its empty part moves the window.
class TitleBar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int barHeight = 44;
    static constexpr int tabsHeight = 52;

    explicit TitleBar(const Localization& localization, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const;
    // The settings button's symbol and the tabs follow the page.
    void setOnSettingsPage(bool onSettingsPage);
    void setSettingsButtonVisible(bool visible);
    void setTheme(AppThemeMode theme);
    // Moves the tabs' highlight, along the tab spring when `animated`.
    void setHighlightedTab(NavigationPage page, bool animated);
    void retranslate();

    TrafficLights* trafficLights() const { return m_lights; }
    GlyphButton* themeButton() const { return m_theme; }
    GlyphButton* settingsButton() const { return m_settings; }
    SegmentedTabs* tabs() const { return m_tabs; }

Q_SIGNALS:
    void themeClicked();
    void settingsClicked();
    // The user chose a settings tab.
    void tabSelected(NavigationPage page);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void layOut();
    void recolor();

    const Localization& m_localization;
    TrafficLights* m_lights;
    QLabel* m_title;
    GlyphButton* m_theme;
    GlyphButton* m_settings;
    SegmentedTabs* m_tabs;
    bool m_onSettingsPage = false;
};
