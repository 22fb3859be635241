#include "FoldersListView.h"

#include "FolderCardView.h"
#include "FolderTransferActions.h"
#include "discovery/FolderExchange.h"
#include "model/FolderStore.h"
#include "platform/Scheduler.h"
#include "platform/Symbols.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/SearchInputField.h"
#include "widgets/SegmentedTabs.h"
#include "widgets/TextButton.h"
#include "widgets/TextLabel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr int overlayBarWidth = 8;
// How long the overlay scroll bar stays after the list stopped moving.
constexpr double overlayHideDelay = 0.8;

QLabel* label(double points, QFont::Weight weight, QPalette::ColorRole role, QWidget* parent) {
    return new TextLabel(
        {.points = points, .weight = weight, .role = role, .alignment = Qt::AlignCenter, .wraps = true}, parent);
}

void setSymbol(QLabel* target, const QString& name, double points, const QColor& color) {
    const std::optional<QImage> image = Symbols::image(name, points, false, color);
    target->setPixmap(image ? QPixmap::fromImage(*image) : QPixmap());
}

QString rgba(const QColor& color) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alphaF(), 0, 'f', 2);
}

} // namespace

FoldersListView::FoldersListView(const MainWindowEnvironment& environment, std::function<void()> onAddFolder,
                                 QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_onAddFolder(std::move(onAddFolder)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 8, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(buildHeader());

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_column = new QWidget(m_scroll);
    m_column->setAutoFillBackground(false);
    m_columnLayout = new QVBoxLayout(m_column);
    m_columnLayout->setContentsMargins(0, 0, 0, 0);
    m_columnLayout->setSpacing(10);
    m_columnLayout->addStretch(1);
    m_scroll->setWidget(m_column);
    setUpOverlayScrollBar();
    layout->addWidget(m_scroll, 1);

    m_noFolders = buildEmptyState(m_noFoldersSymbol,
                                  {m_noFoldersText = label(17, QFont::DemiBold, QPalette::PlaceholderText, this)});
    m_noResultsTitle = label(16, QFont::DemiBold, QPalette::WindowText, this);
    m_noResultsHint = label(14, QFont::Normal, QPalette::PlaceholderText, this);
    m_noResults = buildEmptyState(m_noResultsSymbol, {m_noResultsTitle, m_noResultsHint});
    layout->addWidget(m_noFolders, 1);
    layout->addWidget(m_noResults, 1);

    auto* footer = new QHBoxLayout;
    m_footer = new TextLabel({.points = 11.5, .weight = QFont::Medium, .role = QPalette::PlaceholderText}, this);
    m_newFolder = new TextButton(TextButton::Style::Prominent, QString(), this);
    m_newFolder->setSymbol(QStringLiteral("plus"));
    m_newFolder->setPointSize(12.5);
    connect(m_newFolder, &QAbstractButton::clicked, this, [this] {
        if (m_onAddFolder)
            m_onAddFolder();
    });
    buildFoldersMenu();
    footer->addWidget(m_footer);
    footer->addStretch(1);
    footer->addWidget(m_foldersMenuButton);
    footer->addWidget(m_newFolder);
    layout->addLayout(footer);

    FolderStore& store = environment.store;
    connect(&store, &FolderStore::foldersChanged, this, &FoldersListView::rebuild);
    connect(&store, &FolderStore::newlyAddedFolderIDChanged, this, &FoldersListView::newFolderAdded);
    connect(&environment.settings, &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::Language)
            retranslate();
    });
    setTabOrder(m_search->lineEdit(), m_foldersMenuButton);
    setTabOrder(m_foldersMenuButton, m_newFolder);
    retranslate();
    recolor();
    rebuild();
}

FoldersListView::~FoldersListView() {
    if (m_overlayHide)
        m_overlayHide->cancel();
}

void FoldersListView::buildFoldersMenu() {
    m_foldersMenuButton = new TextButton(TextButton::Style::Secondary, QString(), this);
    m_foldersMenuButton->setSymbol(QStringLiteral("folder"));
    m_foldersMenu = new QMenu(this);
    const auto report = [this](const QString& title, const QString& message) { Q_EMIT newsReported(title, message); };
    QAction* exportAction = m_foldersMenu->addAction(QString());
    QAction* importAction = m_foldersMenu->addAction(QString());
    m_foldersMenu->addSeparator();
    QAction* desktopAction = m_foldersMenu->addAction(QString());
    connect(exportAction, &QAction::triggered, this,
            [this, report] { FolderTransferActions::exportFolders(m_environment, window(), report); });
    connect(importAction, &QAction::triggered, this,
            [this, report] { FolderTransferActions::importFolders(m_environment, window(), report); });
    connect(desktopAction, &QAction::triggered, this,
            [this, report] { FolderTransferActions::importDesktopAppFolders(m_environment, report); });
    // The desktop is asked each time the menu opens: its folders may have come meanwhile.
    connect(m_foldersMenu, &QMenu::aboutToShow, this,
            [this, desktopAction] { desktopAction->setVisible(m_environment.exchange.hasDesktopAppFolders()); });
    connect(m_foldersMenuButton, &QAbstractButton::clicked, this, [this] {
        m_foldersMenu->popup(m_foldersMenuButton->mapToGlobal(QPoint(0, m_foldersMenuButton->height())));
    });
}

QWidget* FoldersListView::buildHeader() {
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    m_count = new TextLabel({.points = 15, .weight = QFont::Bold}, header);
    m_tabs = new SegmentedTabs({{QString(), QString()}, {QString(), QString()}}, SegmentedTabs::Style{}, header);
    m_tabs->setSelectionSpring(Spring{0.3, 0.85});
    connect(m_tabs, &SegmentedTabs::currentChanged, this, [this](int index) {
        m_filter = index == 1 ? FolderVisibilityFilter::InDock : FolderVisibilityFilter::All;
        refreshVisibility();
    });
    m_search = new SearchInputField(QString(), QStringLiteral("magnifyingglass"), header);
    m_search->setFixedWidth(searchFieldWidth);
    m_search->setClearsOnEscape(true);
    connect(m_search, &SearchInputField::textChanged, this, &FoldersListView::refreshVisibility);
    row->addWidget(m_count);
    row->addStretch(1);
    row->addWidget(m_tabs);
    row->addWidget(m_search);
    return header;
}

QWidget* FoldersListView::buildEmptyState(QLabel*& symbol, QList<QLabel*> texts) {
    auto* state = new QWidget(this);
    auto* column = new QVBoxLayout(state);
    column->setSpacing(8);
    column->addStretch(1);
    symbol = new QLabel(state);
    symbol->setAlignment(Qt::AlignCenter);
    column->addWidget(symbol);
    for (QLabel* text : texts) {
        text->setParent(state);
        column->addWidget(text);
    }
    column->addStretch(1);
    state->hide();
    return state;
}

void FoldersListView::setUpOverlayScrollBar() {
    // The list's own bar stays off so the cards keep their width; this one floats over their edge
    // and shows only while the list moves or the pointer is over it.
    m_overlayBar = new QScrollBar(Qt::Vertical, m_scroll);
    m_overlayBar->setFocusPolicy(Qt::NoFocus);
    m_overlayBar->hide();
    QScrollBar* inner = m_scroll->verticalScrollBar();
    connect(inner, &QScrollBar::rangeChanged, m_overlayBar, [this](int minimum, int maximum) {
        m_overlayBar->setRange(minimum, maximum);
        m_overlayBar->setPageStep(m_scroll->verticalScrollBar()->pageStep());
        if (maximum <= minimum)
            m_overlayBar->hide();
    });
    connect(inner, &QScrollBar::valueChanged, this, [this](int value) {
        m_overlayBar->setValue(value);
        flashScrollBar();
    });
    connect(m_overlayBar, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);
    m_scroll->installEventFilter(this);
    m_overlayBar->installEventFilter(this);
}

void FoldersListView::placeOverlayScrollBar() {
    const QRect viewport = m_scroll->viewport()->geometry();
    m_overlayBar->setGeometry(viewport.right() + 1 - overlayBarWidth, viewport.top(), overlayBarWidth,
                              viewport.height());
    m_overlayBar->raise();
}

void FoldersListView::flashScrollBar() {
    const QScrollBar* inner = m_scroll->verticalScrollBar();
    if (inner->maximum() <= inner->minimum())
        return;
    placeOverlayScrollBar();
    m_overlayBar->show();
    if (m_overlayHide)
        m_overlayHide->cancel();
    m_overlayHide = m_environment.scheduler.schedule(this, overlayHideDelay, [this] {
        if (!m_overlayHovered && !m_overlayBar->isSliderDown())
            m_overlayBar->hide();
    });
}

bool FoldersListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_scroll || watched == m_overlayBar) {
        switch (event->type()) {
        case QEvent::Resize:
            placeOverlayScrollBar();
            break;
        case QEvent::Enter:
            m_overlayHovered = true;
            flashScrollBar();
            break;
        case QEvent::Leave:
            m_overlayHovered = false;
            flashScrollBar();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FoldersListView::setSelectedFilter(FolderVisibilityFilter filter) {
    m_filter = filter;
    m_tabs->setCurrentIndex(filter == FolderVisibilityFilter::InDock ? 1 : 0);
    refreshVisibility();
}

QList<FolderCardView*> FoldersListView::cards() const {
    return m_visibleCards;
}

void FoldersListView::rebuild() {
    const FolderStore& store = m_environment.store;
    const QList<AppFolder>& folders = store.folders();
    QHash<QUuid, FolderCardView*> kept;
    QList<FolderCardView*> ordered;
    for (const AppFolder& folder : folders) {
        FolderCardView* card = m_cards.take(folder.id);
        if (card) {
            // The same card takes the new value, so Done or a switch keeps it open (and mid-edit).
            card->setFolder(folder);
        } else if (!kept.contains(folder.id)) {
            card = new FolderCardView(m_environment, folder, store.newlyAddedFolderID() == folder.id, m_column);
            connect(card, &FolderCardView::newsReported, this, &FoldersListView::newsReported);
        } else {
            continue; // a second folder of the same id has no card of its own
        }
        kept.insert(folder.id, card);
        ordered.append(card);
    }
    for (FolderCardView* gone : std::as_const(m_cards)) {
        // Later, not now: the card may be what is running this (its own update of the store).
        gone->hide();
        gone->deleteLater();
    }
    m_cards = kept;
    for (qsizetype i = 0; i < ordered.size(); ++i)
        m_columnLayout->insertWidget(int(i), ordered[i]);
    refreshVisibility();
}

void FoldersListView::refreshVisibility() {
    const QList<AppFolder>& folders = m_environment.store.folders();
    const QList<AppFolder> visible =
        FolderVisibility::visibleFolders(folders, m_filter, m_search->text(), m_environment.localization.locale());
    QSet<QUuid> shown;
    for (const AppFolder& folder : visible)
        shown.insert(folder.id);
    m_visibleCards.clear();
    for (const AppFolder& folder : folders) {
        FolderCardView* card = m_cards.value(folder.id);
        if (!card || m_visibleCards.contains(card))
            continue;
        card->setVisible(shown.contains(folder.id));
        if (shown.contains(folder.id))
            m_visibleCards.append(card);
    }
    const Localization& localization = m_environment.localization;
    m_count->setText(localization.pluralText(L10nKey::folderCount, FolderVisibility::headerCount(folders, m_filter)));
    m_footer->setText(localization.footerText(folders.size(), FolderVisibility::inDockCount(folders)));
    m_noFolders->setVisible(folders.isEmpty());
    m_noResults->setVisible(!folders.isEmpty() && visible.isEmpty());
    m_scroll->setVisible(!visible.isEmpty());
}

void FoldersListView::newFolderAdded() {
    const std::optional<QUuid> id = m_environment.store.newlyAddedFolderID();
    if (!id)
        return;
    if (FolderCardView* card = m_cards.value(*id))
        card->setExpanded(true);
    m_pendingScrollFolderID = id;
    const QUuid folderID = *id;
    m_environment.scheduler.schedule(this, 0, [this, folderID] {
        scrollToCard(folderID);
        // Once more when the expanded card has settled to its full height.
        m_environment.scheduler.schedule(this, settleScrollDelay, [this, folderID] {
            scrollToCard(folderID);
            if (m_pendingScrollFolderID == folderID)
                m_pendingScrollFolderID.reset();
        });
    });
}

void FoldersListView::scrollToCard(const QUuid& folderID) {
    FolderCardView* card = m_cards.value(folderID);
    if (!card || !card->isVisibleTo(m_column))
        return;
    // The card may be new or just expanded: lay the column out first so its place is known.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // Anchored at the bottom: the whole card shows when it fits, its top edge first when it does not.
    m_scroll->ensureWidgetVisible(card, 0, 0);
}

void FoldersListView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    FolderStore& store = m_environment.store;
    if (!store.didStartDockStateMonitoring())
        store.setDidStartDockStateMonitoring(true);
    store.scheduleDockReconcile();
}

void FoldersListView::retranslate() {
    const Localization& localization = m_environment.localization;
    m_tabs->setTitles({localization.text(L10nKey::filterAll), localization.text(L10nKey::filterInDock)});
    m_search->setPlaceholder(localization.text(L10nKey::searchPlaceholder));
    m_scroll->setAccessibleName(localization.text(L10nKey::folderListName));
    m_newFolder->setText(localization.text(L10nKey::newFolder));
    m_foldersMenuButton->setText(localization.text(L10nKey::foldersMenu));
    m_foldersMenuButton->setAccessibleName(m_foldersMenuButton->text());
    const QList<QAction*> actions = m_foldersMenu->actions();
    actions.at(0)->setText(localization.text(L10nKey::foldersExport));
    actions.at(1)->setText(localization.text(L10nKey::foldersImport));
    actions.at(3)->setText(localization.text(L10nKey::foldersImportDesktop));
    m_noFoldersText->setText(localization.text(L10nKey::noFolders));
    m_noResultsTitle->setText(localization.text(L10nKey::noFoldersFoundTitle));
    m_noResultsHint->setText(localization.text(L10nKey::noFoldersFoundHint));
    refreshVisibility();
}

void FoldersListView::recolor() {
    const QPalette colors = palette();
    const QColor secondary = colors.color(QPalette::PlaceholderText);
    setSymbol(m_noFoldersSymbol, QStringLiteral("square.grid.3x1.folder.badge.plus"), 44, secondary);
    setSymbol(m_noResultsSymbol, QStringLiteral("magnifyingglass"), 34, secondary);
    QColor thumb = colors.color(QPalette::Text);
    thumb.setAlphaF(0.35);
    m_overlayBar->setStyleSheet(
        QStringLiteral("QScrollBar:vertical { background: transparent; width: %1px; margin: 2px 1px; }"
                       "QScrollBar::handle:vertical { background: %2; border-radius: 3px; min-height: 24px; }"
                       "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                       "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
            .arg(overlayBarWidth)
            .arg(rgba(thumb)));
    update();
}

void FoldersListView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        recolor();
}
