#pragma once

#include "MainWindowEnvironment.h"
#include "model/AppFolder.h"

#include <QPointer>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

class BackgroundColorRow;
class CustomColorPickerPopup;
class QLabel;
class QStackedWidget;
class SegmentedPicker;
class SettingsPageBody;
class SettingsRow;
class SettingsSection;
class SettingsSlider;
class TilePreviewStrip;
class ToggleSwitch;

// The tile page: a strip of the folders' tiles to choose one from, and the controls of that
// folder's tile style. Every change goes straight to the store; there is nothing to apply.
class AppearanceSettingsView final : public QWidget {
    Q_OBJECT
public:
    static constexpr double trailingControlWidth = 316;
    static constexpr double backgroundModePickerWidth = 270;

    explicit AppearanceSettingsView(const MainWindowEnvironment& environment, QWidget* parent = nullptr);

    // The folder the controls edit: the chosen one while it exists, else the first; none without folders.
    std::optional<AppFolder> targetFolder() const;
    const std::optional<QUuid>& selectedPreviewID() const { return m_selectedPreviewID; }
    void selectPreview(const QUuid& id);

    // What a user does with the controls, as they report it.
    void setCornerRadius(double value);
    void setOpacity(double value);
    void setBorderEnabled(bool enabled);
    void setBorderWidth(double value);
    void setBorderOpacity(double value);
    void setBackgroundMode(TileBackgroundMode mode);
    void choosePreset(TileBackground background);
    void chooseCustomColor(const QColor& color);
    // Opens the colour picker from the folder's current colour; nothing without a folder.
    void openCustomColorPicker();
    bool isShowingCustomColorPicker() const;
    CustomColorPickerPopup* colorPicker() const;

    TilePreviewStrip* previewStrip() const { return m_strip; }
    QWidget* emptyPreview() const { return m_empty; }
    QLabel* emptyMessage() const { return m_emptyMessage; }
    SettingsSlider* cornerRadiusSlider() const { return m_cornerRadius; }
    SettingsSlider* opacitySlider() const { return m_opacity; }
    ToggleSwitch* borderSwitch() const { return m_border; }
    SettingsSlider* borderWidthSlider() const { return m_borderWidth; }
    SettingsSlider* borderOpacitySlider() const { return m_borderOpacity; }
    SegmentedPicker* backgroundModePicker() const { return m_backgroundMode; }
    BackgroundColorRow* colorRow() const { return m_colorRow; }
    QList<SettingsRow*> rows() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // The natural height changed (a language with longer texts, the preview replaced by its empty state).
    void heightChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildPreview();
    void buildControls();
    void refresh();
    void retranslate();
    void recolor();
    // Copies the target folder with `change` made to its style and hands it to the store.
    void updateStyle(const std::function<void(TileStyleSettings&)>& change);
    void updateStyleOf(const QUuid& id, const std::function<void(TileStyleSettings&)>& change);

    const MainWindowEnvironment& m_environment;
    std::optional<QUuid> m_selectedPreviewID;
    SettingsPageBody* m_body;
    SettingsSection* m_previewSection;
    SettingsSection* m_styleSection;
    QStackedWidget* m_previewStack;
    TilePreviewStrip* m_strip;
    QWidget* m_empty;
    QLabel* m_emptySymbol;
    QLabel* m_emptyMessage;
    SettingsSlider* m_cornerRadius;
    SettingsSlider* m_opacity;
    ToggleSwitch* m_border;
    SettingsSlider* m_borderWidth;
    SettingsSlider* m_borderOpacity;
    SegmentedPicker* m_backgroundMode;
    BackgroundColorRow* m_colorRow;
    QPointer<CustomColorPickerPopup> m_colorPicker;
};
