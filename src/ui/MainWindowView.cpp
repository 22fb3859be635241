#include "MainWindowView.h"
#include "platform/Protocol.h"

#include "AboutView.h"
#include "AppearanceSettingsView.h"
#include "FolderTransferActions.h"
#include "FoldersListView.h"
#include "GeneralSettingsView.h"
#include "MainWindowNavigation.h"
#include "ModalLayer.h"
#include "OnboardingView.h"
#include "PopupSettingsView.h"
#include "TitleBar.h"
#include "TrafficLights.h"
#include "discovery/FolderExchange.h"
#include "model/FolderID.h"
#include "model/FolderStore.h"
#include "platform/DistributedNotifications.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/NotificationNames.h"
#include "platform/Scheduler.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/NoticeBanner.h"
#include "widgets/SearchInputField.h"
#include "widgets/Shapes.h"
#include "widgets/TextButton.h"
#include "widgets/Theme.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr double windowCornerRadius = 12;
// The window has no system title bar: its own is part of the content.
constexpr double titleBarInset = 0;
// The save notice lines up with the folder list's cards.
constexpr int noticeSideMargin = 16;
constexpr int noticeTopMargin = 4;
constexpr int noticeBottomMargin = 4;

} // namespace

MainWindowView::MainWindowView(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_services(services)
    , m_environment(services.environment)
    , m_titleBar(new TitleBar(services.environment.localization, this))
    , m_saveNoticeRow(new QWidget(this))
    , m_saveNotice(new NoticeBanner(m_saveNoticeRow))
    , m_newsNotice(new NoticeBanner(m_saveNoticeRow, NoticeBanner::Tone::Neutral))
    , m_pages(new QStackedWidget(this))
    , m_onboarding(new OnboardingView(
          services.environment, [this](bool createFirstFolder) { onboardingFinished(createFirstFolder); }, m_pages))
    , m_folderList(new FoldersListView(
          services.environment, [this] { addFolder(); }, m_pages)) {
    setObjectName(Protocol::MainWindow::identifier);
    setWindowTitle(Protocol::MainWindow::title);
    if (services.translucentWindows)
        setAttribute(Qt::WA_TranslucentBackground);
    setMinimumSize(int(MainWindowSizing::minimumWidth), int(MainWindowSizing::settingsMinimumFrameHeight));
    resize(MainWindowSizing::preferredFolderListSize.toSize());

    m_pages->addWidget(m_onboarding);
    m_pages->addWidget(m_folderList);
    // Each settings page is measured when it shows, and again when its content changes height.
    const auto addSettingsPage = [this](NavigationPage page, QWidget* view) {
        m_settingsPages.insert(page, view);
        m_pages->addWidget(view);
    };
    auto* general = new GeneralSettingsView(m_environment, m_pages);
    auto* tile = new AppearanceSettingsView(m_environment, m_pages);
    auto* popup = new PopupSettingsView(m_environment, m_pages);
    auto* about = new AboutView(m_environment, m_pages);
    addSettingsPage(NavigationPage::General, general);
    addSettingsPage(NavigationPage::Tile, tile);
    addSettingsPage(NavigationPage::Popup, popup);
    addSettingsPage(NavigationPage::About, about);
    const auto remeasure = [this](NavigationPage page) {
        return [this, page] { reportPageHeight(page, m_settingsPages.value(page)->sizeHint().height()); };
    };
    connect(general, &GeneralSettingsView::heightChanged, this, remeasure(NavigationPage::General));
    connect(tile, &AppearanceSettingsView::heightChanged, this, remeasure(NavigationPage::Tile));
    connect(popup, &PopupSettingsView::heightChanged, this, remeasure(NavigationPage::Popup));
    connect(about, &AboutView::heightChanged, this, remeasure(NavigationPage::About));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_titleBar);
    // Above the page rather than over it: the notice covers none of the page's controls.
    auto* noticeRow = new QVBoxLayout(m_saveNoticeRow);
    noticeRow->setContentsMargins(noticeSideMargin, noticeTopMargin, noticeSideMargin, noticeBottomMargin);
    noticeRow->setSpacing(noticeTopMargin + noticeBottomMargin);
    noticeRow->addWidget(m_saveNotice);
    noticeRow->addWidget(m_newsNotice);
    m_saveNoticeRow->hide();
    layout->addWidget(m_saveNoticeRow);
    layout->addWidget(m_pages, 1);
    m_modalLayer = new ModalLayer(
        m_environment, m_pages, [this](const AppFolder& folder) { deleteConfirmedFolder(folder); }, this);

    m_pages->installEventFilter(this);
    m_folderList->searchField()->lineEdit()->installEventFilter(this);
    connect(m_titleBar->trafficLights(), &TrafficLights::closeClicked, this, &QWidget::close);
    connect(m_titleBar->trafficLights(), &TrafficLights::minimizeClicked, this, &QWidget::showMinimized);
    connect(m_titleBar, &TitleBar::themeClicked, this, [this] {
        AppSettings& settings = m_environment.settings;
        // Following the desktop ends here: the button turns to the other of the two looks now shown.
        settings.setAppTheme(settings.resolvedTheme() == AppThemeMode::Light ? AppThemeMode::Dark
                                                                             : AppThemeMode::Light);
    });
    connect(m_titleBar, &TitleBar::settingsClicked, this, [this] {
        if (isSettingsPage(m_selection)) {
            setSelection(NavigationPage::AllFolders);
        } else {
            m_highlightedSettingsTab = NavigationPage::General;
            setSelection(NavigationPage::General);
        }
    });
    connect(m_titleBar, &TitleBar::tabSelected, this, [this](NavigationPage page) {
        // The content changes at once; the highlight slides there on its own spring.
        m_highlightedSettingsTab = page;
        setSelection(page);
    });
    connect(&m_environment.settings, &AppSettings::changed, this, &MainWindowView::settingChanged);
    connect(&m_environment.store, &FolderStore::foldersFileBehindChanged, this, &MainWindowView::updateSaveNotice);

    const auto addCommand = [this](const QKeySequence& keys, NavigationPage page) {
        auto* command = new QShortcut(keys, this);
        connect(command, &QShortcut::activated, this, [this, page] {
            if (m_services.showMainWindow)
                m_services.showMainWindow(page);
        });
    };
    addCommand(QKeySequence(Qt::CTRL | Qt::Key_O), NavigationPage::AllFolders);
    addCommand(QKeySequence(Qt::CTRL | Qt::Key_Comma), NavigationPage::General);

    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        if (m_pages->currentWidget() == m_folderList && m_modalLayer->shownDialog() == ModalDialog::None)
            m_folderList->searchField()->lineEdit()->setFocus(Qt::ShortcutFocusReason);
    });
    // A text field's own undo comes first: it takes the keys while it has the focus.
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, this, [this] {
        if (m_modalLayer->shownDialog() == ModalDialog::None)
            undoDelete();
    });
    const auto report = [this](const QString& title, const QString& message) { showNews(title, message); };
    connect(m_folderList, &FoldersListView::newsReported, this, report);
    connect(general, &GeneralSettingsView::newsReported, this, report);
    auto* newFolder = new QShortcut(QKeySequence::New, this);
    connect(newFolder, &QShortcut::activated, this, [this] {
        if (m_environment.settings.hasCompletedOnboarding() && m_modalLayer->shownDialog() == ModalDialog::None)
            addFolder();
    });

    m_services.notifications.addObserver(NotificationName::mainWindowNavigationRequested, this,
                                         [this](const Notification&) { consumePendingDestination(); });
    applyTheme();
    retranslate();
    showPage();
}

MainWindowView::~MainWindowView() = default;

QWidget* MainWindowView::currentPage() const {
    return m_pages->currentWidget();
}

void MainWindowView::setSelection(NavigationPage page) {
    const NavigationPage old = m_selection;
    m_selection = page;
    selectionChanged(old, page);
}

void MainWindowView::selectionChanged(NavigationPage old, NavigationPage now) {
    if (old == NavigationPage::AllFolders && isSettingsPage(now)) {
        m_highlightedSettingsTab = now;
        m_folderListSize = MainWindowSizing::preferredFolderListSize;
        m_titleBar->setHighlightedTab(now, false);
    } else if (isSettingsPage(now)) {
        m_titleBar->setHighlightedTab(m_highlightedSettingsTab, true);
    }
    showPage();
    const bool betweenSettingsPages = isSettingsPage(old) && isSettingsPage(now);
    m_isDelayingSettingsTabResize = betweenSettingsPages;
    scheduleWindowSizeUpdate(betweenSettingsPages ? MainWindowSizing::settingsTabResizeDelay : 0);
}

void MainWindowView::showPage() {
    const bool onboarding = !m_environment.settings.hasCompletedOnboarding();
    QWidget* page = onboarding                                  ? static_cast<QWidget*>(m_onboarding)
                    : m_selection == NavigationPage::AllFolders ? static_cast<QWidget*>(m_folderList)
                                                                : m_settingsPages.value(m_selection);
    m_pages->setCurrentWidget(page);
    m_titleBar->setSettingsButtonVisible(!onboarding);
    m_titleBar->setOnSettingsPage(!onboarding && isSettingsPage(m_selection));
    retranslate();
    if (!onboarding && isSettingsPage(m_selection) && !m_settingsPageHeights.contains(m_selection))
        reportPageHeight(m_selection, page->sizeHint().height());
}

void MainWindowView::reportPageHeight(NavigationPage page, double height) {
    if (m_settingsPageHeights.value(page, -1) == height)
        return;
    m_settingsPageHeights.insert(page, height);
    // A page that changes its height resizes the window, unless a tab switch is about to.
    if (page == m_selection && !m_isDelayingSettingsTabResize)
        scheduleWindowSizeUpdate(0);
}

void MainWindowView::consumePendingDestination() {
    const std::optional<NavigationPage> destination = m_services.navigation.takePendingDestination();
    if (destination && m_environment.settings.hasCompletedOnboarding()) {
        if (isSettingsPage(*destination))
            m_highlightedSettingsTab = *destination;
        setSelection(*destination);
    }
    scheduleWindowSizeUpdate(0);
}

void MainWindowView::scheduleWindowSizeUpdate(double delay) {
    if (m_pendingWindowSizeUpdate)
        m_pendingWindowSizeUpdate->cancel();
    m_pendingWindowSizeUpdate = m_environment.scheduler.schedule(this, delay, [this] {
        m_isDelayingSettingsTabResize = false;
        applyWindowSize();
    });
}

void MainWindowView::applyWindowSize() {
    if (isMinimized() || isFullScreen())
        return;
    const NavigationPage page =
        m_environment.settings.hasCompletedOnboarding() ? m_selection : NavigationPage::AllFolders;
    std::optional<double> measured;
    // A settings page keeps all of its room while the save notice shows: the window grows instead.
    if (m_settingsPageHeights.contains(page))
        measured = m_settingsPageHeights.value(page) + saveNoticeHeight();
    const MainWindowSizing::PageSizing sizing =
        MainWindowSizing::sizingFor(page, width(), measured, m_folderListSize, titleBarInset);
    // The lock is the fixed size: once a page is sized, neither dimension can be dragged.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (sizing.frame) {
        setFixedSize(sizing.frame->toSize());
    } else {
        setMinimumSize(int(MainWindowSizing::minimumWidth), int(sizing.minimumFrameHeight));
    }
}

void MainWindowView::addFolder() {
    m_environment.store.setFolderToEdit(std::nullopt);
    m_environment.store.setShowingFolderEditor(true);
}

void MainWindowView::onboardingFinished(bool createFirstFolder) {
    m_environment.settings.setHasCompletedOnboarding(true);
    showPage();
    // The keyboard moves on with the page, to its search.
    if (m_pages->currentWidget() == m_folderList)
        m_folderList->searchField()->lineEdit()->setFocus(Qt::OtherFocusReason);
    scheduleWindowSizeUpdate(0);
    if (createFirstFolder)
        m_environment.scheduler.schedule(this, firstFolderEditorDelay, [this] { addFolder(); });
    offerDesktopAppFolders();
}

void MainWindowView::offerDesktopAppFolders() {
    if (!m_environment.exchange.hasDesktopAppFolders())
        return;
    const Localization& texts = m_environment.localization;
    showNews(texts.text(L10nKey::onboardingDesktopFolders), texts.text(L10nKey::foldersDesktopSubtitle),
             desktopFoldersOfferDuration);
    m_newsNotice->setAction(texts.text(L10nKey::foldersDesktopImport), [this] {
        FolderTransferActions::importDesktopAppFolders(
            m_environment, [this](const QString& title, const QString& message) { showNews(title, message); });
    });
}

void MainWindowView::deleteConfirmedFolder(const AppFolder& folder) {
    FolderStore& store = m_environment.store;
    store.setFolderPendingDelete(std::nullopt);
    // The store's own copy says whether the folder is in the Dock now, which the dialog's may not,
    // and is what an undo puts back.
    const AppFolder* stored = store.folder(folder.id);
    if (!stored)
        return;
    const DeletedFolder deleted{*stored, store.indexOf(folder.id)};
    const bool inDock = stored->isInDock;
    if (inDock) {
        m_environment.distributedNotifications.post(NotificationName::TRFolderDeleteBadge, {},
                                                    {{Protocol::Key::id, FolderID::canonical(folder.id)}});
        store.deleteFolder(folder.id, deletedFolderRemovalDelay);
    } else {
        store.deleteFolder(folder.id, 0);
    }
    const Localization& texts = m_environment.localization;
    showNews(texts.format(L10nKey::folderDeleted, {deleted.folder.name}), QString());
    m_undoable = deleted;
    m_newsNotice->setAction(texts.text(L10nKey::folderUndo), [this] { undoDelete(); });
}

void MainWindowView::showNews(const QString& title, const QString& message, double duration) {
    // Other news ends the chance to undo a delete: its notice is gone.
    m_undoable.reset();
    m_newsNotice->setAction(QString(), nullptr);
    m_newsNotice->present(title, message);
    if (m_newsExpiry)
        m_newsExpiry->cancel();
    m_newsExpiry = m_environment.scheduler.schedule(this, duration, [this] {
        m_undoable.reset();
        m_newsNotice->dismiss();
        updateNoticeRow();
    });
    updateNoticeRow();
}

bool MainWindowView::undoDelete() {
    if (!m_undoable)
        return false;
    const DeletedFolder deleted = *std::exchange(m_undoable, std::nullopt);
    m_environment.store.restoreDeletedFolder(deleted.folder, deleted.index);
    if (m_newsExpiry)
        m_newsExpiry->cancel();
    m_newsNotice->dismiss();
    updateNoticeRow();
    return true;
}

void MainWindowView::settingChanged(AppSettings::Field field) {
    switch (field) {
    case AppSettings::Field::AppTheme:
        applyTheme();
        break;
    case AppSettings::Field::Language:
        retranslate();
        break;
    case AppSettings::Field::HasCompletedOnboarding:
        showPage();
        break;
    default:
        break;
    }
}

void MainWindowView::applyTheme() {
    const AppThemeMode theme = m_environment.settings.resolvedTheme();
    setPalette(Theme::palette(colorSchemeFor(theme)));
    Theme::applyToToolTips(colorSchemeFor(theme));
    m_titleBar->setTheme(theme);
    update();
}

void MainWindowView::retranslate() {
    const Localization& texts = m_environment.localization;
    const bool onboarding = !m_environment.settings.hasCompletedOnboarding();
    m_titleBar->setTitle(texts.text(onboarding                    ? L10nKey::onboardingWindowTitle
                                    : isSettingsPage(m_selection) ? L10nKey::settingsTitle
                                                                  : L10nKey::appName));
    m_titleBar->retranslate();
    updateSaveNotice();
}

void MainWindowView::updateSaveNotice() {
    const FolderStore& store = m_environment.store;
    if (store.foldersFileBehind()) {
        const Localization& texts = m_environment.localization;
        QString message = texts.text(L10nKey::saveFailedRetrying);
        if (!store.saveFailureReason().isEmpty())
            message += u' ' + texts.format(L10nKey::saveFailedReason, {store.saveFailureReason()});
        m_saveNotice->present(texts.text(L10nKey::saveFailedTitle), message);
    } else {
        m_saveNotice->dismiss();
    }
    updateNoticeRow();
}

void MainWindowView::updateNoticeRow() {
    const bool wasShown = !m_saveNoticeRow->isHidden();
    const bool show = !m_saveNotice->isHidden() || !m_newsNotice->isHidden();
    m_saveNoticeRow->setVisible(show);
    if (wasShown != show && !m_isDelayingSettingsTabResize)
        scheduleWindowSizeUpdate(0);
}

double MainWindowView::saveNoticeHeight() const {
    return m_saveNoticeRow->isHidden() ? 0 : m_saveNoticeRow->heightForWidth(width());
}

void MainWindowView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_configured) {
        m_configured = true;
        resize(MainWindowSizing::preferredFolderListSize.toSize());
        consumePendingDestination();
    }
    // The keyboard starts on the page, never on the window's own buttons: the search on the folder
    // list, the way on in the first-run page.
    QWidget* focused = focusWidget();
    if (!focused || m_titleBar->isAncestorOf(focused)) {
        if (m_pages->currentWidget() == m_folderList)
            m_folderList->searchField()->lineEdit()->setFocus(Qt::OtherFocusReason);
        else if (m_pages->currentWidget() == m_onboarding)
            m_onboarding->primaryButton()->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    // Closing hides the window; it is shown again as it was.
    event->ignore();
    hide();
}

bool MainWindowView::eventFilter(QObject* watched, QEvent* event) {
    // The dialogs cover the page, which moves when the title bar grows its tabs.
    if (watched == m_pages && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        m_modalLayer->setGeometry(m_pages->geometry());
    // The search field takes Ctrl+Z for its own text; with nothing of its own to undo, the keys
    // bring back the folder deleted last, as anywhere else in the window.
    auto* search = m_folderList->searchField()->lineEdit();
    if (watched == search && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo) && !search->isUndoAvailable() && undoDelete())
        return true;
    return QWidget::eventFilter(watched, event);
}

void MainWindowView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor background = palette().color(QPalette::Window);
    if (!testAttribute(Qt::WA_TranslucentBackground)) {
        painter.fillRect(rect(), background);
        return;
    }
    const QPainterPath outline =
        Shapes::continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), windowCornerRadius);
    painter.fillPath(outline, background);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.drawPath(outline);
}
