#pragma once

#include "settings/AppSettings.h"

#include <QWidget>

struct MainWindowEnvironment;
class SegmentedPicker;
class SettingsRow;
class SettingsSection;
class SettingsSlider;
class ToggleSwitch;

// The folder popup's settings in two groups: its layout (title, names, icon size, columns) and its
// look (opacity, position, animation, blur). Each control writes its setting at once and follows it
// when it changes elsewhere.
class PopupSettingsView final : public QWidget {
    Q_OBJECT
public:
    explicit PopupSettingsView(const MainWindowEnvironment& environment, QWidget* parent = nullptr);

    ToggleSwitch* showTitleSwitch() const { return m_showTitle; }
    ToggleSwitch* showNamesSwitch() const { return m_showNames; }
    SettingsSlider* iconSizeSlider() const { return m_iconSize; }
    SegmentedPicker* columnsPicker() const { return m_columns; }
    SettingsSlider* opacitySlider() const { return m_opacity; }
    SegmentedPicker* positionPicker() const { return m_position; }
    SegmentedPicker* animationPicker() const { return m_animation; }
    SegmentedPicker* blurPicker() const { return m_blur; }

Q_SIGNALS:
    // The natural height (sizeHint) changed.
    void heightChanged();

private:
    void retranslate();
    void settingChanged(AppSettings::Field field);
    void showValues();

    const MainWindowEnvironment& m_environment;
    ToggleSwitch* m_showTitle;
    ToggleSwitch* m_showNames;
    SettingsSlider* m_iconSize;
    SegmentedPicker* m_columns;
    SettingsSlider* m_opacity;
    SegmentedPicker* m_position;
    SegmentedPicker* m_animation;
    SegmentedPicker* m_blur;
    SettingsSection* m_layoutSection;
    SettingsSection* m_visualSection;
};
