#include "AppearanceSettingsView.h"

#include "BackgroundColorRow.h"
#include "CustomColorPickerPopup.h"
#include "SettingsFormats.h"
#include "TileColorHex.h"
#include "TilePreviewStrip.h"
#include "model/FolderStore.h"
#include "model/TileColors.h"
#include "platform/Symbols.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/SettingsPageBody.h"
#include "widgets/SettingsRow.h"
#include "widgets/SettingsSection.h"
#include "widgets/SettingsSlider.h"
#include "widgets/TextLabel.h"
#include "widgets/ToggleSwitch.h"

#include <QEvent>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr double emptySymbolPoints = 18;
constexpr double emptyMessagePoints = 13;
// Corner radius shown when there is no folder to read one from.
constexpr double defaultCornerRadius = 12;

constexpr std::array<TileBackgroundMode, 3> kModes{TileBackgroundMode::Solid, TileBackgroundMode::Gradient,
                                                   TileBackgroundMode::Glass};

SettingsSlider* slider(double minimum, double maximum, double step) {
    auto* control = new SettingsSlider;
    control->setRange(minimum, maximum);
    control->setStep(step);
    return control;
}

} // namespace

AppearanceSettingsView::AppearanceSettingsView(const MainWindowEnvironment& environment, QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_body(new SettingsPageBody(18, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(SettingsPageBody::pageMargins);
    layout->addWidget(m_body);
    buildPreview();
    buildControls();
    connect(m_body, &SettingsPageBody::heightChanged, this, [this] {
        updateGeometry();
        Q_EMIT heightChanged();
    });
    connect(&environment.store, &FolderStore::foldersChanged, this, &AppearanceSettingsView::refresh);
    connect(&environment.settings, &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::Language)
            retranslate();
        else if (field == AppSettings::Field::AppTheme)
            recolor();
    });
    retranslate();
    recolor();
    refresh();
}

void AppearanceSettingsView::buildPreview() {
    m_previewSection = m_body->addSection({});
    m_previewStack = new QStackedWidget;
    m_strip = new TilePreviewStrip(m_environment);
    connect(m_strip, &TilePreviewStrip::selectionChanged, this, [this](int index) {
        if (index >= 0 && index < m_environment.store.folders().size())
            selectPreview(m_environment.store.folders().at(index).id);
    });

    m_empty = new QWidget;
    m_empty->setFixedHeight(m_strip->sizeHint().height());
    auto* emptyLayout = new QVBoxLayout(m_empty);
    emptyLayout->setSpacing(8);
    emptyLayout->addStretch(1);
    m_emptySymbol = new QLabel(m_empty);
    m_emptySymbol->setAlignment(Qt::AlignCenter);
    m_emptyMessage = new TextLabel({.points = emptyMessagePoints,
                                    .weight = QFont::Medium,
                                    .role = QPalette::PlaceholderText,
                                    .alignment = Qt::AlignCenter,
                                    .wraps = true},
                                   m_empty);
    emptyLayout->addWidget(m_emptySymbol);
    emptyLayout->addWidget(m_emptyMessage);
    emptyLayout->addStretch(1);

    m_previewStack->addWidget(m_strip);
    m_previewStack->addWidget(m_empty);
    m_previewSection->addContent(m_previewStack);
}

void AppearanceSettingsView::buildControls() {
    m_styleSection = m_body->addSection({});
    m_cornerRadius = slider(4, 20, 1);
    m_cornerRadius->setValueText(
        [this](double value) { return SettingsFormats::pointsText(m_environment.localization, value); });
    connect(m_cornerRadius, &SettingsSlider::valueChanged, this, &AppearanceSettingsView::setCornerRadius);
    m_opacity = slider(0.3, 1.0, 0.01);
    m_opacity->setValueText(&SettingsFormats::percentText);
    connect(m_opacity, &SettingsSlider::valueChanged, this, &AppearanceSettingsView::setOpacity);
    m_border = new ToggleSwitch;
    connect(m_border, &ToggleSwitch::clicked, this, &AppearanceSettingsView::setBorderEnabled);
    m_borderWidth = slider(0.5, 15.0, 0.5);
    m_borderWidth->setValueText(
        [this](double value) { return SettingsFormats::borderWidthText(m_environment.localization, value); });
    connect(m_borderWidth, &SettingsSlider::valueChanged, this, &AppearanceSettingsView::setBorderWidth);
    m_borderOpacity = slider(0.0, 1.0, 0.01);
    m_borderOpacity->setValueText(&SettingsFormats::percentText);
    connect(m_borderOpacity, &SettingsSlider::valueChanged, this, &AppearanceSettingsView::setBorderOpacity);
    m_backgroundMode = new SegmentedPicker(QStringList(kModes.size(), QString()), backgroundModePickerWidth);
    connect(m_backgroundMode, &SegmentedPicker::selectionChanged, this, [this](int index) {
        if (index >= 0 && index < int(kModes.size()))
            setBackgroundMode(kModes.at(std::size_t(index)));
    });
    m_colorRow = new BackgroundColorRow;
    m_colorRow->setFixedWidth(int(trailingControlWidth));
    connect(m_colorRow, &BackgroundColorRow::presetChosen, this, &AppearanceSettingsView::choosePreset);
    connect(m_colorRow, &BackgroundColorRow::customRequested, this, &AppearanceSettingsView::openCustomColorPicker);

    for (QWidget* control : std::initializer_list<QWidget*>{m_cornerRadius, m_opacity, m_border, m_borderWidth,
                                                            m_borderOpacity, m_backgroundMode, m_colorRow})
        m_styleSection->addRow(QString(), control);
}

QList<SettingsRow*> AppearanceSettingsView::rows() const {
    return m_styleSection->rows();
}

QSize AppearanceSettingsView::sizeHint() const {
    return m_body->sizeHint();
}

std::optional<AppFolder> AppearanceSettingsView::targetFolder() const {
    const QList<AppFolder>& folders = m_environment.store.folders();
    if (m_selectedPreviewID) {
        for (const AppFolder& folder : folders)
            if (folder.id == *m_selectedPreviewID)
                return folder;
    }
    if (folders.isEmpty())
        return std::nullopt;
    return folders.first();
}

void AppearanceSettingsView::selectPreview(const QUuid& id) {
    m_selectedPreviewID = id;
    refresh();
}

void AppearanceSettingsView::updateStyle(const std::function<void(TileStyleSettings&)>& change) {
    if (const auto folder = targetFolder())
        updateStyleOf(folder->id, change);
}

void AppearanceSettingsView::updateStyleOf(const QUuid& id, const std::function<void(TileStyleSettings&)>& change) {
    const AppFolder* current = m_environment.store.folder(id);
    if (!current)
        return;
    AppFolder folder = *current;
    change(folder.tileStyle);
    // A drag repeats values; only a real change is worth a save and a tile redraw.
    if (!(folder.tileStyle == current->tileStyle))
        m_environment.store.updateFolder(folder);
}

void AppearanceSettingsView::setCornerRadius(double value) {
    updateStyle([value](TileStyleSettings& style) { style.cornerRadius = value; });
}

void AppearanceSettingsView::setOpacity(double value) {
    updateStyle([value](TileStyleSettings& style) { style.opacity = value; });
}

void AppearanceSettingsView::setBorderEnabled(bool enabled) {
    updateStyle([enabled](TileStyleSettings& style) { style.borderEnabled = enabled; });
}

void AppearanceSettingsView::setBorderWidth(double value) {
    updateStyle([value](TileStyleSettings& style) { style.borderWidth = value; });
}

void AppearanceSettingsView::setBorderOpacity(double value) {
    updateStyle([value](TileStyleSettings& style) { style.borderOpacity = value; });
}

void AppearanceSettingsView::setBackgroundMode(TileBackgroundMode mode) {
    updateStyle([mode](TileStyleSettings& style) { style.backgroundMode = mode; });
}

void AppearanceSettingsView::choosePreset(TileBackground background) {
    // The custom circle opens the picker instead; it is never a preset.
    if (background == TileBackground::Custom)
        return;
    updateStyle([background](TileStyleSettings& style) {
        style.backgroundStyle = background;
        style.customHex.reset();
    });
}

void AppearanceSettingsView::chooseCustomColor(const QColor& color) {
    const QString hex = TileColorHex::hexString(color);
    updateStyle([&hex](TileStyleSettings& style) {
        style.backgroundStyle = TileBackground::Custom;
        style.customHex = hex;
    });
}

void AppearanceSettingsView::openCustomColorPicker() {
    const auto folder = targetFolder();
    if (!folder || m_colorPicker)
        return;
    // Starts from what the tile shows now: its custom colour, else its preset's colour.
    TileStyleSettings opaque = folder->tileStyle;
    opaque.opacity = 1;
    Rgba start = baseColor(opaque, m_environment.settings.resolvedTheme() == AppThemeMode::Light ? Appearance::Light
                                                                                                 : Appearance::Dark);
    start.alpha = 1;
    const Localization& localization = m_environment.localization;
    CustomColorPickerPopup::Names names{
        .popup = localization.text(L10nKey::backgroundCustom),
        .square = localization.text(L10nKey::colorPickerSquare),
        .hueBar = localization.text(L10nKey::colorPickerHue),
        .swatch =
            [&localization](const QString& hex) { return localization.format(L10nKey::colorPickerSwatch, {hex}); },
    };
    m_colorPicker = new CustomColorPickerPopup(TileColorHex::toQColor(start), CustomColorPickerPopup::defaultSwatches(),
                                               names, this);
    m_colorPicker->setAttribute(Qt::WA_DeleteOnClose);
    // The colour belongs to the folder the picker opened for, whatever the strip shows meanwhile.
    const QUuid id = folder->id;
    connect(m_colorPicker, &CustomColorPickerPopup::colorChanged, this, [this, id](const QColor& color) {
        const QString hex = TileColorHex::hexString(color);
        updateStyleOf(id, [&hex](TileStyleSettings& style) {
            style.backgroundStyle = TileBackground::Custom;
            style.customHex = hex;
        });
    });
    m_colorPicker->popUp(m_colorRow->customCircle());
}

bool AppearanceSettingsView::isShowingCustomColorPicker() const {
    return m_colorPicker != nullptr;
}

CustomColorPickerPopup* AppearanceSettingsView::colorPicker() const {
    return m_colorPicker;
}

void AppearanceSettingsView::refresh() {
    const QList<AppFolder>& folders = m_environment.store.folders();
    const auto folder = targetFolder();
    int index = 0;
    for (int i = 0; folder && i < folders.size(); ++i)
        if (folders.at(i).id == folder->id)
            index = i;
    m_strip->setFolders(folders, index);
    m_previewStack->setCurrentWidget(folder ? static_cast<QWidget*>(m_strip) : m_empty);
    m_styleSection->setEnabled(folder.has_value());

    const TileStyleSettings style = folder ? folder->tileStyle : TileStyleSettings();
    m_cornerRadius->setValue(folder ? style.cornerRadius : defaultCornerRadius);
    m_opacity->setValue(style.opacity);
    m_border->setChecked(style.borderEnabled);
    m_borderWidth->setValue(style.borderWidth);
    m_borderOpacity->setValue(style.borderOpacity);
    const auto mode = std::find(kModes.begin(), kModes.end(), style.backgroundMode);
    m_backgroundMode->setSelection(int(mode - kModes.begin()));
    QColor custom;
    if (style.customHex)
        if (const auto rgb = colorFromHex(*style.customHex))
            custom = TileColorHex::toQColor(*rgb);
    m_colorRow->setCurrent(style.backgroundStyle, custom);

    // Controls that would change nothing on the tile are shown dimmed and take no input: the
    // border's width and opacity while there is no border, the colour while glass ignores it.
    const QList<SettingsRow*> styleRows = rows();
    const auto rowOf = [&styleRows](QWidget* control) {
        for (SettingsRow* row : styleRows)
            if (row->trailing() == control)
                return row;
        return static_cast<SettingsRow*>(nullptr);
    };
    for (QWidget* control : std::initializer_list<QWidget*>{m_borderWidth, m_borderOpacity})
        if (SettingsRow* row = rowOf(control))
            row->setEnabled(style.borderEnabled);
    if (SettingsRow* row = rowOf(m_colorRow))
        row->setEnabled(style.backgroundMode != TileBackgroundMode::Glass);
}

void AppearanceSettingsView::retranslate() {
    const Localization& localization = m_environment.localization;
    const auto text = [&localization](const char* key) { return localization.text(QString::fromLatin1(key)); };
    m_previewSection->setTitle(text(L10nKey::appearancePreview));
    m_strip->setAccessibleTitle(text(L10nKey::appearancePreview));
    m_strip->retranslate();
    m_emptyMessage->setText(text(L10nKey::noFoldersToPreview));
    const QList<SettingsRow*> styleRows = rows();
    const std::array<const char*, 7> titles{
        L10nKey::cornerRadius,      L10nKey::tileOpacity,    L10nKey::tileBorder, L10nKey::tileBorderWidth,
        L10nKey::tileBorderOpacity, L10nKey::backgroundMode, L10nKey::background};
    for (int i = 0; i < styleRows.size() && i < int(titles.size()); ++i)
        styleRows.at(i)->setTitle(text(titles.at(std::size_t(i))));
    QStringList modes;
    for (const TileBackgroundMode mode : kModes)
        modes.append(text(L10nKey::displayNameKey(mode)));
    m_backgroundMode->setLabels(modes);
    QStringList colors;
    for (const auto& [background, raw] : kTileBackgroundCases)
        colors.append(text(L10nKey::displayNameKey(background)));
    m_colorRow->setNames(colors);
    for (SettingsSlider* control : {m_cornerRadius, m_opacity, m_borderWidth, m_borderOpacity})
        control->refreshValueText();
}

void AppearanceSettingsView::recolor() {
    const std::optional<QImage> symbol = Symbols::image(QStringLiteral("square.grid.2x2"), emptySymbolPoints, false,
                                                        palette().color(QPalette::PlaceholderText));
    m_emptySymbol->setPixmap(symbol ? QPixmap::fromImage(*symbol) : QPixmap());
    m_colorRow->setAppearanceLight(m_environment.settings.resolvedTheme() == AppThemeMode::Light);
}

void AppearanceSettingsView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        recolor();
}
