#include "TitleBar.h"

#include "TrafficLights.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/GlyphButton.h"
#include "widgets/SegmentedTabs.h"
#include "widgets/TextLabel.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>
#include <QWindow>

namespace {

// The tabs, in the pages' order.
constexpr NavigationPage tabPages[] = {NavigationPage::General, NavigationPage::Tile, NavigationPage::Popup,
                                       NavigationPage::About};
constexpr const char* tabTitleKeys[] = {L10nKey::settingsTabGeneral, L10nKey::settingsTabAppearance,
                                        L10nKey::settingsTabPopup, L10nKey::settingsTabAbout};
constexpr Spring tabSpring{0.34, 0.82};

GlyphButtonStyle barButtonStyle() {
    GlyphButtonStyle style;
    style.pointSize = 14;
    style.frame = {28, 28};
    style.pressedOpacity = 0.6;
    return style;
}

QList<SegmentedTabs::Segment> tabSegments(const Localization& localization) {
    const QString symbols[] = {QStringLiteral("gearshape.fill"), QStringLiteral("square.grid.2x2"),
                               QStringLiteral("macwindow"), QStringLiteral("info.circle.fill")};
    QList<SegmentedTabs::Segment> segments;
    for (int i = 0; i < 4; ++i)
        segments.append({localization.text(tabTitleKeys[i]).toUpper(), symbols[i]});
    return segments;
}

} // namespace

TitleBar::TitleBar(const Localization& localization, QWidget* parent)
    : QWidget(parent)
    , m_localization(localization)
    , m_lights(new TrafficLights(this))
    , m_title(new TextLabel({.points = 13, .weight = QFont::Bold, .alignment = Qt::AlignCenter}, this))
    , m_theme(new GlyphButton(barButtonStyle(), QStringLiteral("moon.fill"), this))
    , m_settings(new GlyphButton(barButtonStyle(), QStringLiteral("gearshape.fill"), this))
    , m_tabs(new SegmentedTabs(tabSegments(localization),
                               {.titlePointSize = 11.5,
                                .bold = true,
                                .letterSpacing = 0.6,
                                .symbolPointSize = 15,
                                .padding = 14,
                                .height = 46,
                                .track = false},
                               this)) {
    m_tabs->setSelectionSpring(tabSpring);
    m_tabs->hide();
    connect(m_theme, &QAbstractButton::clicked, this, &TitleBar::themeClicked);
    connect(m_settings, &QAbstractButton::clicked, this, &TitleBar::settingsClicked);
    connect(m_tabs, &SegmentedTabs::currentChanged, this, [this](int index) { Q_EMIT tabSelected(tabPages[index]); });
    // The traffic lights take no keyboard focus; the usual window commands press them instead.
    const auto press = [this](QKeySequence keys, TrafficLightKind kind) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [this, kind] { m_lights->button(kind)->click(); });
    };
    press(QKeySequence(Qt::CTRL | Qt::Key_W), TrafficLightKind::Close);
    press(QKeySequence(Qt::CTRL | Qt::Key_M), TrafficLightKind::Minimize);
    setFixedHeight(barHeight);
    retranslate();
    recolor();
}

void TitleBar::setTitle(const QString& title) {
    m_title->setText(title);
}

QString TitleBar::title() const {
    return m_title->text();
}

void TitleBar::setOnSettingsPage(bool onSettingsPage) {
    m_onSettingsPage = onSettingsPage;
    m_settings->setSymbol(onSettingsPage ? QStringLiteral("square.grid.3x1.folder.badge.plus")
                                         : QStringLiteral("gearshape.fill"));
    m_tabs->setVisible(onSettingsPage);
    setFixedHeight(onSettingsPage ? barHeight + tabsHeight : barHeight);
    retranslate();
    layOut();
}

void TitleBar::setSettingsButtonVisible(bool visible) {
    m_settings->setVisible(visible);
    layOut();
}

void TitleBar::setTheme(AppThemeMode theme) {
    m_theme->setSymbol(theme == AppThemeMode::Light ? QStringLiteral("moon.fill") : QStringLiteral("sun.max.fill"));
}

void TitleBar::setHighlightedTab(NavigationPage page, bool animated) {
    for (int i = 0; i < 4; ++i)
        if (tabPages[i] == page)
            m_tabs->setCurrentIndex(i, animated ? std::optional<Spring>(tabSpring) : std::nullopt);
}

void TitleBar::retranslate() {
    QStringList titles;
    for (const char* key : tabTitleKeys)
        titles.append(m_localization.text(key).toUpper());
    m_tabs->setTitles(titles);
    m_lights->setAccessibleNames(m_localization.text(L10nKey::windowClose),
                                 m_localization.text(L10nKey::windowMinimize),
                                 m_localization.text(L10nKey::windowZoom));
    m_theme->setAccessibleName(m_localization.text(L10nKey::windowTheme));
    m_settings->setAccessibleName(
        m_localization.text(m_onSettingsPage ? L10nKey::windowShowFolders : L10nKey::settingsTitle));
    layOut();
}

void TitleBar::recolor() {
    const QColor ink = palette().color(QPalette::PlaceholderText);
    m_theme->setColor(ink);
    m_settings->setColor(ink);
}

void TitleBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        recolor();
    QWidget::changeEvent(event);
}

void TitleBar::resizeEvent(QResizeEvent*) {
    layOut();
}

void TitleBar::layOut() {
    const int middle = barHeight / 2;
    m_lights->move(16, middle - m_lights->height() / 2);
    m_settings->move(width() - 12 - m_settings->width(), middle - m_settings->height() / 2);
    m_theme->move((!m_settings->isHidden() ? m_settings->x() - 4 : width() - 12) - m_theme->width(),
                  middle - m_theme->height() / 2);
    const int titleLeft = m_lights->geometry().right() + 12;
    const int titleRight = m_theme->x() - 12;
    // Centred on the window, and never under the buttons.
    const int half = std::max(0, std::min(width() / 2 - titleLeft, titleRight - width() / 2));
    m_title->setGeometry(width() / 2 - half, 0, 2 * half, barHeight);
    const QSize tabs = m_tabs->sizeHint();
    m_tabs->setGeometry((width() - tabs.width()) / 2, barHeight, tabs.width(), tabs.height());
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
    // Only the bar's empty part reaches here: its controls take their own clicks.
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
    QWidget::mousePressEvent(event);
}
