#include "PopupSettingsView.h"

#include "MainWindowEnvironment.h"
#include "SettingsFormats.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/SettingsPageBody.h"
#include "widgets/SettingsRow.h"
#include "widgets/SettingsSection.h"
#include "widgets/SettingsSlider.h"
#include "widgets/ToggleSwitch.h"

#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr double pickerWidth = 216;
constexpr double blurPickerWidth = 336;
constexpr qint64 columnChoices[] = {3, 4, 5, 6};
constexpr PopupPosition positions[] = {PopupPosition::Center, PopupPosition::AboveDock};
constexpr PopupAnimation animations[] = {PopupAnimation::Spring, PopupAnimation::None};
constexpr PopupBlur blurs[] = {PopupBlur::Thin, PopupBlur::Regular, PopupBlur::Dark};

template <typename T, std::size_t N> int indexOf(const T (&choices)[N], T value) {
    return int(std::find(choices, choices + N, value) - choices) % int(N);
}

// A column count outside the choices (an edited preferences file) shows as the nearest choice.
int columnIndex(qint64 columns) {
    return int(std::clamp<qint64>(columns, columnChoices[0], columnChoices[3]) - columnChoices[0]);
}

template <typename T, std::size_t N> QStringList displayNames(const Localization& localization, const T (&choices)[N]) {
    QStringList names;
    for (T choice : choices)
        names.append(localization.text(L10nKey::displayNameKey(choice)));
    return names;
}

} // namespace

PopupSettingsView::PopupSettingsView(const MainWindowEnvironment& environment, QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_showTitle(new ToggleSwitch)
    , m_showNames(new ToggleSwitch)
    , m_iconSize(new SettingsSlider)
    , m_columns(new SegmentedPicker(
          {QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")}, pickerWidth))
    , m_opacity(new SettingsSlider)
    , m_position(new SegmentedPicker(displayNames(environment.localization, positions), pickerWidth))
    , m_animation(new SegmentedPicker(displayNames(environment.localization, animations), pickerWidth))
    , m_blur(new SegmentedPicker(displayNames(environment.localization, blurs), blurPickerWidth)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(SettingsPageBody::pageMargins);
    auto* body = new SettingsPageBody(18, this);
    layout->addWidget(body);
    connect(body, &SettingsPageBody::heightChanged, this, &PopupSettingsView::heightChanged);

    m_layoutSection = body->addSection(QStringLiteral(" "));
    m_layoutSection->addRow({}, m_showTitle);
    m_layoutSection->addRow({}, m_showNames);
    m_layoutSection->addRow({}, m_iconSize);
    m_layoutSection->addRow({}, m_columns);
    m_visualSection = body->addSection(QStringLiteral(" "));
    m_visualSection->addRow({}, m_opacity);
    m_visualSection->addRow({}, m_position);
    m_visualSection->addRow({}, m_animation);
    m_visualSection->addRow({}, m_blur);

    const Localization& localization = environment.localization;
    m_iconSize->setRange(40, 72);
    m_iconSize->setStep(1);
    // Icons are sized in whole points; a fraction would show one size and draw another.
    m_iconSize->setSnapsToSteps(true);
    m_iconSize->setValueText(
        [&localization](double value) { return SettingsFormats::pointsText(localization, value); });
    m_opacity->setRange(0.5, 1.0);
    m_opacity->setStep(0.01);
    m_opacity->setValueText(&SettingsFormats::percentText);
    showValues();

    AppSettings& settings = environment.settings;
    connect(m_showTitle, &ToggleSwitch::clicked, this, [&settings](bool on) { settings.setPopupShowTitle(on); });
    connect(m_showNames, &ToggleSwitch::clicked, this, [&settings](bool on) { settings.setPopupShowAppName(on); });
    connect(m_iconSize, &SettingsSlider::valueChanged, this,
            [&settings](double value) { settings.setPopupIconSize(value); });
    connect(m_columns, &SegmentedPicker::selectionChanged, this,
            [&settings](int index) { settings.setPopupColumns(columnChoices[index]); });
    connect(m_opacity, &SettingsSlider::valueChanged, this,
            [&settings](double value) { settings.setPopupOpacity(value); });
    connect(m_position, &SegmentedPicker::selectionChanged, this,
            [&settings](int index) { settings.setPopupPosition(positions[index]); });
    connect(m_animation, &SegmentedPicker::selectionChanged, this,
            [&settings](int index) { settings.setPopupAnimationStyle(animations[index]); });
    connect(m_blur, &SegmentedPicker::selectionChanged, this,
            [&settings](int index) { settings.setPopupBlurStyle(blurs[index]); });
    connect(&settings, &AppSettings::changed, this, &PopupSettingsView::settingChanged);
    retranslate();
}

void PopupSettingsView::showValues() {
    const AppSettings& settings = m_environment.settings;
    m_showTitle->setChecked(settings.popupShowTitle());
    m_showNames->setChecked(settings.popupShowAppName());
    m_iconSize->setValue(settings.popupIconSize());
    m_columns->setSelection(columnIndex(settings.popupColumns()));
    m_opacity->setValue(settings.popupOpacity());
    m_position->setSelection(indexOf(positions, settings.popupPosition()));
    m_animation->setSelection(indexOf(animations, settings.popupAnimationStyle()));
    m_blur->setSelection(indexOf(blurs, settings.popupBlurStyle()));
}

void PopupSettingsView::settingChanged(AppSettings::Field field) {
    using Field = AppSettings::Field;
    switch (field) {
    case Field::PopupShowTitle:
    case Field::PopupShowAppName:
    case Field::PopupIconSize:
    case Field::PopupColumns:
    case Field::PopupOpacity:
    case Field::PopupPosition:
    case Field::PopupAnimationStyle:
    case Field::PopupBlurStyle:
        showValues();
        break;
    case Field::Language:
        retranslate();
        break;
    default:
        break;
    }
}

void PopupSettingsView::retranslate() {
    const Localization& localization = m_environment.localization;
    m_layoutSection->setTitle(localization.text(L10nKey::popupSectionLayout));
    m_visualSection->setTitle(localization.text(L10nKey::popupSectionVisual));
    const char* const layoutTitles[] = {L10nKey::popupShowTitle, L10nKey::popupShowNames, L10nKey::popupIconSize,
                                        L10nKey::popupColumns};
    const char* const visualTitles[] = {L10nKey::popupOpacity, L10nKey::popupPosition, L10nKey::popupAnimation,
                                        L10nKey::popupBlur};
    for (int i = 0; i < 4; ++i) {
        m_layoutSection->rows().at(i)->setTitle(localization.text(layoutTitles[i]));
        m_visualSection->rows().at(i)->setTitle(localization.text(visualTitles[i]));
    }
    m_position->setLabels(displayNames(localization, positions));
    m_animation->setLabels(displayNames(localization, animations));
    m_blur->setLabels(displayNames(localization, blurs));
    m_iconSize->refreshValueText();
    m_opacity->refreshValueText();
}
