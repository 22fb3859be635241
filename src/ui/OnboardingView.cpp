#include "OnboardingView.h"

#include "EasedTransition.h"
#include "LaunchAtLoginNote.h"
#include "MainWindowEnvironment.h"
#include "OnboardingFeatureRow.h"
#include "OnboardingOptionCard.h"
#include "OnboardingStepIndicator.h"
#include "OnboardingToggleRow.h"
#include "platform/Symbols.h"
#include "platform/SystemTray.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/RowNote.h"
#include "widgets/SegmentedTabs.h"
#include "widgets/Shapes.h"
#include "widgets/TextButton.h"
#include "widgets/TextLabel.h"
#include "widgets/Theme.h"
#include "widgets/ToggleSwitch.h"

#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr double stepChangeDuration = 0.2;
constexpr double choiceDuration = 0.16;
constexpr int slideDistance = 24;
constexpr int heroIconSide = 64;

int indexOf(OnboardingStep step) {
    return int(step);
}

QLabel* label(double points, QFont::Weight weight, QWidget* parent, bool secondary = false) {
    return new TextLabel({.points = points,
                          .weight = weight,
                          .role = secondary ? QPalette::PlaceholderText : QPalette::WindowText,
                          .wraps = true},
                         parent);
}

// The application's mark: its icon, or where the bundle has none the folder-grid symbol in white on
// an accent tile.
QPixmap heroIcon(const QImage& appIcon) {
    constexpr double scale = 2;
    if (!appIcon.isNull()) {
        QImage image =
            appIcon.scaled(QSize(heroIconSide, heroIconSide) * scale, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(scale);
        return QPixmap::fromImage(image);
    }
    QImage image(QSize(heroIconSide, heroIconSide) * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QLinearGradient fill(0, 0, 0, heroIconSide);
    fill.setColorAt(0, QColor(64, 156, 255));
    fill.setColorAt(1, QColor(0, 102, 230));
    painter.fillPath(Shapes::continuousRoundedRect(QRectF(0, 0, heroIconSide, heroIconSide), 13), fill);
    if (std::optional<QImage> glyph = Symbols::image(QStringLiteral("square.grid.2x2.fill"), 32 * scale, false)) {
        glyph->setDevicePixelRatio(scale);
        painter.drawImage(QPointF((heroIconSide - 32) / 2.0, (heroIconSide - 32) / 2.0), *glyph);
    }
    painter.end();
    return QPixmap::fromImage(image);
}

// A card holding rows one below the other, hairlines between them.
class Panel final : public QWidget {
public:
    explicit Panel(QWidget* parent)
        : QWidget(parent) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(16, 14, 16, 14);
        layout->setSpacing(14);
    }
    void addRow(QWidget* row) {
        if (layout()->count() > 0) {
            auto* line = new QWidget(this);
            line->setFixedHeight(1);
            line->setAutoFillBackground(true);
            line->setBackgroundRole(QPalette::Mid);
            layout()->addWidget(line);
        }
        layout()->addWidget(row);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        Theme::paintPanel(painter, rect(), 12, palette());
    }
};
// A switch row with its note under it, as one row of the panel.
QWidget* withNote(QWidget* row, RowNote* note) {
    auto* block = new QWidget(row->parentWidget());
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(row);
    layout->addWidget(note);
    return block;
}

} // namespace

OnboardingView::OnboardingView(const MainWindowEnvironment& environment, std::function<void(bool)> onFinish,
                               QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_onFinish(std::move(onFinish))
    , m_workflowPopupPosition(environment.settings.popupPosition())
    , m_heroIcon(new QLabel(this))
    , m_heroTitle(label(20, QFont::Bold, this))
    , m_heroSubtitle(label(12.5, QFont::Normal, this, true))
    , m_stage(new QWidget(this))
    , m_indicator(new OnboardingStepIndicator(this))
    , m_back(new TextButton(TextButton::Style::Secondary, {}, this))
    , m_primary(new TextButton(TextButton::Style::Prominent, {}, this))
    , m_stepMotion(std::make_unique<EasedTransition>(environment.scheduler, environment.clock))
    , m_choiceMotion(std::make_unique<EasedTransition>(environment.scheduler, environment.clock)) {
    m_heroIcon->setPixmap(heroIcon(environment.appIcon));
    m_heroIcon->setAlignment(Qt::AlignCenter);
    m_heroTitle->setAlignment(Qt::AlignCenter);
    m_heroSubtitle->setAlignment(Qt::AlignCenter);
    m_pages = {buildWelcome(), buildWorkflow(), buildQuickSetup()};
    m_stage->installEventFilter(this);
    m_stage->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(0, 0, 0, 0);
    footer->addWidget(m_back);
    footer->addStretch(1);
    footer->addWidget(m_indicator, 0, Qt::AlignVCenter);
    footer->addStretch(1);
    footer->addWidget(m_primary);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 18);
    layout->setSpacing(0);
    layout->addWidget(m_heroIcon);
    layout->addSpacing(10);
    layout->addWidget(m_heroTitle);
    layout->addSpacing(2);
    layout->addWidget(m_heroSubtitle);
    layout->addSpacing(24);
    layout->addWidget(m_stage, 1);
    layout->addSpacing(10);
    layout->addLayout(footer);

    QSizePolicy keepsPlace = m_back->sizePolicy();
    keepsPlace.setRetainSizeWhenHidden(true);
    m_back->setSizePolicy(keepsPlace);
    connect(m_primary, &QAbstractButton::clicked, this, &OnboardingView::advance);
    connect(m_back, &QAbstractButton::clicked, this, &OnboardingView::goBack);
    connect(&environment.settings, &AppSettings::changed, this, &OnboardingView::settingChanged);
    connect(&environment.settings, &AppSettings::launchAtLoginFailureChanged, this, &OnboardingView::updateNotes);
    connect(&environment.systemTray, &SystemTray::availabilityChanged, this, &OnboardingView::updateNotes);
    const std::array<QWidget*, 9> order{m_aboveDock,
                                        m_center,
                                        m_theme->segmentButton(0),
                                        m_theme->segmentButton(1),
                                        m_theme->segmentButton(2),
                                        m_menuBar->toggleSwitch(),
                                        m_launchAtLogin->toggleSwitch(),
                                        m_back,
                                        m_primary};
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    m_aboveDock->setChecked(m_workflowPopupPosition == PopupPosition::AboveDock);
    m_center->setChecked(m_workflowPopupPosition == PopupPosition::Center);
    m_aboveDock->setEmphasis(m_aboveDock->isChecked() ? 1 : 0);
    m_center->setEmphasis(m_center->isChecked() ? 1 : 0);
    syncWithSettings();
    retranslate();
    stepLooksChanged();
    placePages(1);
}

OnboardingView::~OnboardingView() = default;

QWidget* OnboardingView::buildStepPage(OnboardingStep step, QWidget* content) {
    auto* page = new QWidget(m_stage);
    const int index = indexOf(step);
    m_pageTitles[index] = label(15, QFont::Bold, page);
    m_pageSubtitles[index] = label(12, QFont::Normal, page, true);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pageTitles[index]);
    layout->addSpacing(3);
    layout->addWidget(m_pageSubtitles[index]);
    layout->addSpacing(14);
    layout->addWidget(content);
    layout->addStretch(1);
    page->setVisible(step == m_step);
    return page;
}

QWidget* OnboardingView::buildWelcome() {
    auto* panel = new Panel(nullptr);
    const std::array<const char*, 3> symbols{"square.grid.2x2.fill", "dock.rectangle", "dock.rectangle"};
    for (int i = 0; i < 3; ++i) {
        m_features[i] = new OnboardingFeatureRow(QString::fromLatin1(symbols[i]), panel);
        panel->layout()->addWidget(m_features[i]);
    }
    return buildStepPage(OnboardingStep::Welcome, panel);
}

QWidget* OnboardingView::buildWorkflow() {
    auto* cards = new QWidget;
    auto* row = new QHBoxLayout(cards);
    row->setContentsMargins(-3, 0, -3, 0); // the cards' focus-ring room reaches into the margins
    row->setSpacing(8);
    m_aboveDock = new OnboardingOptionCard(PopupPosition::AboveDock, cards);
    m_center = new OnboardingOptionCard(PopupPosition::Center, cards);
    for (OnboardingOptionCard* card : {m_aboveDock, m_center}) {
        row->addWidget(card);
        connect(card, &QAbstractButton::clicked, this, [this, card] { chooseWorkflow(card->position()); });
    }
    return buildStepPage(OnboardingStep::Workflow, cards);
}

QWidget* OnboardingView::buildQuickSetup() {
    auto* panel = new Panel(nullptr);
    auto* themeRow = new QWidget(panel);
    auto* themeLayout = new QHBoxLayout(themeRow);
    themeLayout->setContentsMargins(0, 0, 0, 0);
    m_themeTitle = label(13, QFont::DemiBold, themeRow);
    m_theme = new SegmentedTabs({{}, {}, {}}, {.titlePointSize = 12, .padding = 14, .height = 28}, themeRow);
    themeLayout->addWidget(m_themeTitle, 1);
    themeLayout->addWidget(m_theme, 0, Qt::AlignVCenter);
    connect(m_theme, &SegmentedTabs::currentChanged, this,
            [this](int index) { m_environment.settings.setAppTheme(kAppThemeModes.at(std::size_t(index))); });
    panel->addRow(themeRow);
    m_menuBar = new OnboardingToggleRow(panel);
    m_launchAtLogin = new OnboardingToggleRow(panel);
    m_menuBarNote = new RowNote(panel);
    m_launchAtLoginNote = new RowNote(panel);
    panel->addRow(withNote(m_menuBar, m_menuBarNote));
    panel->addRow(withNote(m_launchAtLogin, m_launchAtLoginNote));
    // Only the user's own toggling writes: an untouched switch leaves its setting unstored.
    connect(m_menuBar, &OnboardingToggleRow::toggledByUser, this,
            [this](bool on) { m_environment.settings.setShowMenuBar(on); });
    connect(m_launchAtLogin, &OnboardingToggleRow::toggledByUser, this,
            [this](bool on) { m_environment.settings.setLaunchAtLogin(on); });
    return buildStepPage(OnboardingStep::QuickSetup, panel);
}

OnboardingOptionCard* OnboardingView::optionCard(PopupPosition position) const {
    return position == PopupPosition::AboveDock ? m_aboveDock : m_center;
}

bool OnboardingView::isAnimating() const {
    return m_stepMotion->isRunning() || m_choiceMotion->isRunning();
}

void OnboardingView::advance() {
    switch (m_step) {
    case OnboardingStep::Welcome:
        showStep(OnboardingStep::Workflow);
        break;
    case OnboardingStep::Workflow:
        showStep(OnboardingStep::QuickSetup);
        break;
    case OnboardingStep::QuickSetup:
        // A second press (a repeated key, a double click) must not finish twice.
        if (m_finished)
            return;
        m_finished = true;
        if (m_onFinish)
            m_onFinish(false);
        break;
    }
}

void OnboardingView::goBack() {
    if (m_step != OnboardingStep::Welcome)
        showStep(OnboardingStep(indexOf(m_step) - 1));
}

void OnboardingView::chooseWorkflow(PopupPosition position) {
    m_workflowPopupPosition = position;
    m_environment.settings.setPopupPosition(position);
    m_aboveDock->setChecked(position == PopupPosition::AboveDock);
    m_center->setChecked(position == PopupPosition::Center);
    // The choice is stored at once; only its look eases in, so a quick second choice is never undone.
    const double aboveFrom = m_aboveDock->emphasis();
    const double centerFrom = m_center->emphasis();
    const double aboveTo = m_aboveDock->isChecked() ? 1 : 0;
    const double centerTo = 1 - aboveTo;
    m_choiceMotion->run(choiceDuration, [=, this](double p) {
        m_aboveDock->setEmphasis(aboveFrom + (aboveTo - aboveFrom) * p);
        m_center->setEmphasis(centerFrom + (centerTo - centerFrom) * p);
    });
}

void OnboardingView::showStep(OnboardingStep step) {
    m_stepMotion->finish();
    QWidget* focused = window()->focusWidget();
    const bool focusLeaves = focused && (m_pages[indexOf(m_step)]->isAncestorOf(focused) ||
                                         (focused == m_back && step == OnboardingStep::Welcome));
    m_leavingStep = m_step;
    m_step = step;
    stepLooksChanged();
    // Focus on a page that leaves, or on Back as it turns off, goes to the way on.
    if (focusLeaves)
        m_primary->setFocus(Qt::TabFocusReason);
    m_stepMotion->run(stepChangeDuration, [this](double p) { placePages(p); });
    if (step == OnboardingStep::Workflow && !m_didApplyWorkflowDefault) {
        m_didApplyWorkflowDefault = true;
        chooseWorkflow(PopupPosition::AboveDock);
    }
}

void OnboardingView::stepLooksChanged() {
    const Localization& texts = m_environment.localization;
    const bool last = m_step == OnboardingStep::QuickSetup;
    m_primary->setText(texts.text(last ? L10nKey::onboardingStart : L10nKey::onboardingNext));
    m_primary->setAccessibleName(m_primary->text());
    // Hidden rather than disabled on the first step: there is nowhere to go back to, and Tab skips it.
    m_back->setVisible(m_step != OnboardingStep::Welcome);
    // Both ends equally wide, so the marks stay in the middle whatever the labels say.
    m_back->setMinimumWidth(0);
    m_primary->setMinimumWidth(0);
    const int ends = std::max({m_back->sizeHint().width(), m_primary->sizeHint().width(), 96});
    m_back->setMinimumWidth(ends);
    m_primary->setMinimumWidth(ends);
    m_indicator->setAccessibleName(texts.format(L10nKey::onboardingStepIndicator, {indexOf(m_step) + 1, 3}));
}

void OnboardingView::placePages(double progress) {
    const int entering = indexOf(m_step);
    const int leaving = indexOf(m_leavingStep);
    const int direction = entering >= leaving ? 1 : -1;
    const QRect area = m_stage->rect();
    const bool done = progress >= 1 || entering == leaving;
    for (int i = 0; i < 3; ++i) {
        QWidget* page = m_pages[i];
        const bool shown = i == entering || (i == leaving && !done);
        page->setVisible(shown);
        // An effect costs a redraw through an offscreen buffer; pages at rest go without one.
        if (!shown || done) {
            page->setGraphicsEffect(nullptr);
            page->setGeometry(area);
            continue;
        }
        const double opacity = i == entering ? progress : 1 - progress;
        const double offset =
            i == entering ? direction * slideDistance * (1 - progress) : -direction * slideDistance * progress;
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(page->graphicsEffect());
        if (!effect) {
            effect = new QGraphicsOpacityEffect(page);
            page->setGraphicsEffect(effect);
        }
        effect->setOpacity(opacity);
        page->setGeometry(area.translated(int(std::lround(offset)), 0));
        page->setAttribute(Qt::WA_TransparentForMouseEvents, i == leaving);
    }
    m_pages[entering]->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    m_pages[entering]->raise();
    m_indicator->setPosition(leaving + (entering - leaving) * (done ? 1.0 : progress));
}

void OnboardingView::settingChanged(AppSettings::Field field) {
    if (field == AppSettings::Field::Language)
        retranslate();
    else if (field == AppSettings::Field::AppTheme || field == AppSettings::Field::ShowMenuBar ||
             field == AppSettings::Field::LaunchAtLogin)
        syncWithSettings();
}

void OnboardingView::syncWithSettings() {
    const AppSettings& settings = m_environment.settings;
    m_theme->setCurrentIndex(themeChoiceIndex(settings.appTheme()));
    m_menuBar->setOn(settings.showMenuBar());
    m_launchAtLogin->setOn(settings.launchAtLogin());
}

void OnboardingView::retranslate() {
    const Localization& texts = m_environment.localization;
    m_heroTitle->setText(texts.text(L10nKey::onboardingHeroTitle));
    m_heroSubtitle->setText(texts.text(L10nKey::onboardingHeroSubtitle));
    m_heroIcon->setAccessibleName(texts.text(L10nKey::appName));
    const std::array<std::pair<const char*, const char*>, 3> pages{{
        {L10nKey::onboardingWelcomeTitle, L10nKey::onboardingWelcomeSubtitle},
        {L10nKey::onboardingWorkflowTitle, L10nKey::onboardingWorkflowSubtitle},
        {L10nKey::onboardingQuickTitle, L10nKey::onboardingQuickSubtitle},
    }};
    for (int i = 0; i < 3; ++i) {
        m_pageTitles[i]->setText(texts.text(pages[i].first));
        m_pageSubtitles[i]->setText(texts.text(pages[i].second));
        m_pages[i]->setAccessibleName(m_pageTitles[i]->text());
    }
    const std::array<std::pair<const char*, const char*>, 3> features{{
        {L10nKey::onboardingFoldersTitle, L10nKey::onboardingFoldersSubtitle},
        {L10nKey::onboardingAppsTitle, L10nKey::onboardingAppsSubtitle},
        {L10nKey::onboardingMenuTitle, L10nKey::onboardingMenuSubtitle},
    }};
    for (int i = 0; i < 3; ++i)
        m_features[i]->setTexts(texts.text(features[i].first), texts.text(features[i].second));
    m_aboveDock->setTexts(texts.text(L10nKey::positionAboveDock), texts.text(L10nKey::onboardingOptionAboveDock));
    m_center->setTexts(texts.text(L10nKey::positionCenter), texts.text(L10nKey::onboardingOptionCenterScreen));
    m_themeTitle->setText(texts.text(L10nKey::onboardingThemeTitle));
    QStringList themes;
    for (const AppThemeMode choice : kAppThemeModes)
        themes.append(texts.text(L10nKey::displayNameKey(choice)));
    m_theme->setTitles(themes);
    m_theme->setAccessibleName(m_themeTitle->text());
    m_menuBar->setTexts(texts.text(L10nKey::onboardingMenuBarTitle), texts.text(L10nKey::onboardingMenuBarSubtitle));
    m_launchAtLogin->setTexts(texts.text(L10nKey::onboardingLaunchTitle),
                              texts.text(L10nKey::onboardingLaunchSubtitle));
    m_back->setText(texts.text(L10nKey::onboardingBack));
    m_back->setAccessibleName(m_back->text());
    updateNotes();
    stepLooksChanged();
}

void OnboardingView::updateNotes() {
    const Localization& texts = m_environment.localization;
    const QString launchNote = LaunchAtLoginNote::text(m_environment.settings.launchAtLoginFailure(), texts);
    const QString trayNote =
        m_environment.systemTray.isAvailable() ? QString() : texts.text(L10nKey::showMenuBarNoTray);
    m_launchAtLoginNote->setNote(launchNote, RowNote::Tone::Warning);
    m_menuBarNote->setNote(trayNote, RowNote::Tone::Info);
    // The switch is heard with its subtitle and, when there is one, its note, which is shown in the
    // subtitle's place.
    const auto describe = [](OnboardingToggleRow* row, const QString& subtitle, const QString& note) {
        row->toggleSwitch()->setAccessibleDescription(note.isEmpty() ? subtitle : subtitle + u' ' + note);
        row->setSubtitleShown(note.isEmpty());
    };
    describe(m_menuBar, texts.text(L10nKey::onboardingMenuBarSubtitle), trayNote);
    describe(m_launchAtLogin, texts.text(L10nKey::onboardingLaunchSubtitle), launchNote);
}

bool OnboardingView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_stage && event->type() == QEvent::Resize) {
        m_stepMotion->finish();
        placePages(1);
    }
    return QWidget::eventFilter(watched, event);
}

void OnboardingView::keyPressEvent(QKeyEvent* event) {
    // Return moves on from wherever the keyboard is, unless the control there takes it itself.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_primary->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void OnboardingView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QWidget* focused = window()->focusWidget();
    if (!focused || !isAncestorOf(focused))
        m_primary->setFocus(Qt::OtherFocusReason);
}
