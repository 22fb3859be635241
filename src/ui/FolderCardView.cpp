#include "FolderCardView.h"

#include "AppGridItem.h"
#include "AppReorder.h"
#include "FolderEdit.h"
#include "FolderNameFilter.h"
#include "FolderNameHint.h"
#include "IconGrid.h"
#include "IconPickerPopover.h"
#include "model/FolderLaunch.h"
#include "model/FolderStore.h"
#include "platform/LifetimeBound.h"
#include "platform/Scheduler.h"
#include "platform/Symbols.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/FolderGlyph.h"
#include "widgets/Fonts.h"
#include "widgets/GlyphButton.h"
#include "widgets/TextButton.h"
#include "widgets/TextLabel.h"
#include "widgets/Theme.h"
#include "widgets/ToggleSwitch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr double cornerRadius = 12;
constexpr double glyphPoints = 16;

QLabel* textLabel(double points, QFont::Weight weight, QPalette::ColorRole role, QWidget* parent) {
    return new TextLabel({.points = points, .weight = weight, .role = role}, parent);
}

} // namespace

FolderCardView::FolderCardView(const MainWindowEnvironment& environment, const AppFolder& folder, bool newlyAdded,
                               QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_folder(folder)
    , m_isExpanded(newlyAdded) {
    // A card keeps its full height; the list scrolls instead of squeezing it.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(10);
    buildHeader();
    buildBody();
    layout->addWidget(m_header);
    layout->addWidget(m_renameRow);
    layout->addWidget(m_body);
    connect(&environment.settings, &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::Language)
            retranslate();
    });
    retranslate();
    recolor();
    refresh();
}

void FolderCardView::buildHeader() {
    m_header = new QWidget(this);
    m_header->setCursor(Qt::PointingHandCursor);
    m_header->installEventFilter(this);
    auto* row = new QHBoxLayout(m_header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    m_glyph = new FolderGlyph(m_folder.emoji, palette().color(QPalette::Text), glyphPoints, m_header);
    m_glyph->setFixedSize(28, 28);
    m_glyphButton = new FolderGlyphButton(glyphPoints, m_header);
    connect(m_glyphButton, &QAbstractButton::clicked, this, &FolderCardView::openIconPicker);

    m_nameLabel = textLabel(13.5, QFont::DemiBold, QPalette::WindowText, m_header);
    // While editing, the name has a line of its own under the header: a field that holds a full
    // 20-letter name does not fit beside the count, the switch and the chevron in a narrow window.
    m_renameRow = new QWidget(this);
    m_nameField = new QLineEdit(m_renameRow);
    m_nameField->setFont(Fonts::rounded(13.5, QFont::DemiBold));
    FolderNameFilter::attach(*m_nameField);
    fitNameField();
    connect(m_nameField, &QLineEdit::returnPressed, this, &FolderCardView::finishEditing);
    m_countLabel = textLabel(11.5, QFont::Medium, QPalette::PlaceholderText, m_header);

    m_inDockSwitch = new ToggleSwitch(m_header);
    connect(m_inDockSwitch, &QAbstractButton::clicked, this, &FolderCardView::inDockClicked);

    GlyphButtonStyle chevronStyle;
    chevronStyle.pointSize = 12;
    chevronStyle.bold = true;
    chevronStyle.frame = QSizeF(24, 24);
    m_chevron = new GlyphButton(chevronStyle, QStringLiteral("chevron.right"), m_header);
    connect(m_chevron, &QAbstractButton::clicked, this, &FolderCardView::toggleExpanded);

    GlyphButtonStyle moreStyle = chevronStyle;
    moreStyle.bold = false;
    moreStyle.pointSize = 15;
    m_moreButton = new GlyphButton(moreStyle, QStringLiteral("ellipsis"), m_header);
    m_menu = new QMenu(this);
    QAction* openAllAction = m_menu->addAction(QString());
    connect(openAllAction, &QAction::triggered, this, &FolderCardView::openAll);
    connect(m_moreButton, &QAbstractButton::clicked, this,
            [this] { m_menu->popup(m_moreButton->mapToGlobal(QPoint(0, m_moreButton->height()))); });
    m_header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_header, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_header->mapToGlobal(at)); });

    row->addWidget(m_glyph);
    row->addWidget(m_glyphButton);
    row->addWidget(m_nameLabel);
    row->addWidget(m_countLabel);
    row->addStretch(1);
    row->addWidget(m_inDockSwitch);
    row->addWidget(m_moreButton);
    row->addWidget(m_chevron);

    // The field lines up with the name it replaces; the filter's hint sits right under it.
    auto* rename = new QVBoxLayout(m_renameRow);
    rename->setContentsMargins(m_glyphButton->width() + row->spacing(), 0, 0, 0);
    rename->setSpacing(2);
    m_nameHint = new FolderNameHint(*m_nameField, m_environment.localization, m_renameRow);
    m_nameHint->setFixedWidth(m_nameField->minimumWidth());
    rename->addWidget(m_nameField);
    rename->addWidget(m_nameHint);
    // Tab follows the card from top to bottom.
    setTabOrder(m_glyphButton, m_inDockSwitch);
    setTabOrder(m_inDockSwitch, m_moreButton);
    setTabOrder(m_moreButton, m_chevron);
    setTabOrder(m_chevron, m_nameField);
}

void FolderCardView::fitNameField() {
    // Wide enough for a full-length name of the widest letters the filter lets through, so a name
    // never scrolls inside its field. The style's frame and margins come from the field's own hint,
    // which is made for 17 "x".
    const QFontMetrics metrics(m_nameField->font());
    int widest = 0;
    for (char32_t scalar = 0x20; scalar < 0x0500; ++scalar) {
        if (FolderNameFilter::isAllowed(scalar))
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromUcs4(&scalar, 1)));
    }
    const int frame = m_nameField->sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    m_nameField->setFixedWidth(frame + FolderNameFilter::maximumLength * widest + 1);
}

void FolderCardView::buildBody() {
    m_body = new QWidget(this);
    auto* column = new QVBoxLayout(m_body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    m_editButton = new TextButton(TextButton::Style::Secondary, QString(), m_body);
    connect(m_editButton, &QAbstractButton::clicked, this, [this] { m_isEditing ? finishEditing() : beginEditing(); });
    m_deleteButton = new TextButton(TextButton::Style::Destructive, QString(), m_body);
    m_deleteButton->setSymbol(QStringLiteral("trash"));
    connect(m_deleteButton, &QAbstractButton::clicked, this, &FolderCardView::requestDelete);
    actions->addWidget(m_editButton);
    actions->addStretch(1);
    actions->addWidget(m_deleteButton);
    column->addLayout(actions);

    m_grid = new AppGrid(m_environment, m_body);
    connect(m_grid, &AppGrid::deleteRequested, this, &FolderCardView::removeApp);
    connect(m_grid, &AppGrid::moveRequested, this, &FolderCardView::moveApp);
    connect(m_grid, &AppGrid::moveToRequested, this, &FolderCardView::moveAppTo);
    column->addWidget(m_grid);

    m_emptyContent = new QWidget(m_body);
    auto* empty = new QVBoxLayout(m_emptyContent);
    empty->setContentsMargins(0, 6, 0, 6);
    empty->setSpacing(4);
    auto* symbol = new QLabel(m_emptyContent);
    symbol->setObjectName(QStringLiteral("emptySymbol"));
    symbol->setAlignment(Qt::AlignCenter);
    m_emptyTitle = textLabel(13, QFont::DemiBold, QPalette::WindowText, m_emptyContent);
    m_emptyHint = textLabel(11.5, QFont::Normal, QPalette::PlaceholderText, m_emptyContent);
    for (QLabel* label : {m_emptyTitle, m_emptyHint})
        label->setAlignment(Qt::AlignCenter);
    empty->addWidget(symbol);
    empty->addWidget(m_emptyTitle);
    empty->addWidget(m_emptyHint);
    column->addWidget(m_emptyContent);

    auto* addRow = new QHBoxLayout;
    m_addAppsButton = new TextButton(TextButton::Style::Borderless, QString(), m_body);
    m_addAppsButton->setSymbol(QStringLiteral("plus"));
    connect(m_addAppsButton, &QAbstractButton::clicked, this, &FolderCardView::requestAddApps);
    addRow->addWidget(m_addAppsButton);
    addRow->addStretch(1);
    column->addLayout(addRow);
}

void FolderCardView::setFolder(const AppFolder& folder) {
    m_folder = folder;
    refresh();
}

void FolderCardView::setExpanded(bool expanded) {
    if (!expanded && m_isEditing) {
        // Leaving by collapsing is the way to give up the edits.
        m_isEditing = false;
        m_editingApps.clear();
        m_editingIcon.clear();
        m_nameField->clear();
        m_grid->setDraggingAppID(std::nullopt);
        if (m_iconPicker)
            m_iconPicker->close();
    }
    m_isExpanded = expanded;
    refresh();
}

void FolderCardView::toggleExpanded() {
    setExpanded(!m_isExpanded);
}

void FolderCardView::beginEditing() {
    if (m_isEditing)
        return;
    m_nameField->setText(m_folder.name);
    m_nameHint->clearMessage();
    m_editingApps = m_folder.apps;
    m_editingIcon = m_folder.emoji;
    m_isEditing = true;
    m_isExpanded = true;
    refresh();
    m_nameField->setFocus(Qt::OtherFocusReason);
}

void FolderCardView::finishEditing() {
    if (!m_isEditing)
        return;
    // Apply the edits to the folder as the store holds it now, so a change made elsewhere meanwhile
    // (the Dock switch) is not undone; a folder deleted meanwhile is not brought back.
    if (const std::optional<AppFolder> stored = storedFolder()) {
        m_folder = FolderEdit::saved(*stored, editingName(), m_editingIcon, m_editingApps);
        m_environment.store.updateFolder(m_folder);
    }
    m_isEditing = false;
    m_editingApps.clear();
    m_editingIcon.clear();
    m_grid->setDraggingAppID(std::nullopt);
    if (m_iconPicker)
        m_iconPicker->close();
    refresh();
}

QString FolderCardView::editingName() const {
    return m_isEditing ? m_nameField->text() : QString();
}

std::optional<AppFolder> FolderCardView::storedFolder() const {
    if (const AppFolder* stored = m_environment.store.folder(m_folder.id))
        return *stored;
    return std::nullopt;
}

void FolderCardView::inDockClicked(bool checked) {
    if (checked && m_folder.apps.isEmpty()) {
        // An empty folder has no tile to show; the notice says why the switch stays off.
        m_inDockSwitch->setChecked(false);
        if (!m_environment.store.showingEmptyFolderAlert())
            m_environment.store.setShowingEmptyFolderAlert(true);
        return;
    }
    std::optional<AppFolder> stored = storedFolder();
    if (!stored) {
        m_inDockSwitch->setChecked(m_folder.isInDock);
        return;
    }
    stored->isInDock = checked;
    m_folder = *stored;
    m_environment.store.updateFolder(*stored);
    refresh();
}

void FolderCardView::requestAddApps() {
    const QList<AppItem>& current = m_isEditing ? m_editingApps : m_folder.apps;
    QSet<QString> bundleIDs;
    for (const AppItem& app : current)
        bundleIDs.insert(app.bundleID);
    FolderStore& store = m_environment.store;
    store.setAppPickerCurrentBundleIDs(bundleIDs);
    // The picker may outlive this card (the folder deleted or filtered away meanwhile).
    store.setAppPickerCallback(boundTo(this, [this](const QList<AppItem>& picked) { addApps(picked); }));
    store.setShowingAppPicker(true);
}

void FolderCardView::addApps(const QList<AppItem>& picked) {
    if (m_isEditing) {
        m_editingApps = FolderEdit::appended(m_editingApps, picked);
        refresh();
        return;
    }
    std::optional<AppFolder> stored = storedFolder();
    if (!stored)
        return;
    const QList<AppItem> apps = FolderEdit::appended(stored->apps, picked);
    if (apps.size() == stored->apps.size())
        return;
    stored->apps = apps;
    m_folder = *stored;
    m_environment.store.updateFolder(*stored);
    refresh();
}

void FolderCardView::removeApp(const QUuid& appID) {
    if (!m_isEditing)
        return;
    const auto found = std::find_if(m_editingApps.begin(), m_editingApps.end(),
                                    [&appID](const AppItem& app) { return app.id == appID; });
    if (found == m_editingApps.end())
        return;
    m_editingApps.erase(found);
    refresh();
}

void FolderCardView::openIconPicker() {
    if (!m_isEditing || m_iconPicker)
        return;
    // The picker starts on the glyph chosen so far, so closing it without a choice keeps that.
    // The picker is this card's child, so its choice cannot outlive the card.
    m_iconPicker = new IconPickerPopover(
        m_editingIcon, [this](const QString& icon) { chooseIcon(icon); }, this);
    m_iconPicker->setAttribute(Qt::WA_DeleteOnClose);
    m_iconPicker->grid()->setAccessibleName(m_environment.localization.text(L10nKey::editorIconLabel));
    m_iconPicker->popUp(m_glyphButton);
}

void FolderCardView::chooseIcon(const QString& icon) {
    if (!m_isEditing)
        return;
    m_editingIcon = icon;
    if (m_iconPicker)
        m_iconPicker->close();
    refresh();
}

void FolderCardView::dragEntered(const QUuid& targetID, const std::optional<QUuid>& offeredID) {
    m_grid->enterDrop(targetID, offeredID);
}

void FolderCardView::dragPerformed() {
    m_grid->endDragSoon();
}

std::optional<QUuid> FolderCardView::draggingAppID() const {
    return m_grid->draggingAppID();
}

void FolderCardView::moveApp(const QUuid& draggedID, const QUuid& targetID) {
    if (!m_isEditing)
        return;
    const QList<AppItem> moved = AppReorder::moved(m_editingApps, draggedID, targetID);
    if (moved == m_editingApps)
        return;
    m_editingApps = moved;
    syncTiles();
}

void FolderCardView::moveAppTo(const QUuid& appID, int index) {
    if (!m_isEditing)
        return;
    const QList<AppItem> moved = AppReorder::movedTo(m_editingApps, appID, index);
    if (moved == m_editingApps)
        return;
    m_editingApps = moved;
    syncTiles();
}

void FolderCardView::requestDelete() {
    m_environment.store.setFolderPendingDelete(m_folder);
}

void FolderCardView::refresh() {
    const QString glyph = m_isEditing ? m_editingIcon : m_folder.emoji;
    m_glyph->setSymbol(glyph);
    m_glyphButton->setSymbol(glyph);
    m_glyph->setVisible(!m_isEditing);
    m_glyphButton->setVisible(m_isEditing);
    m_nameLabel->setText(m_folder.name);
    m_nameLabel->setVisible(!m_isEditing);
    m_renameRow->setVisible(m_isEditing);
    // While editing the count follows the edits, so removing or adding shows at once.
    const qsizetype appCount = (m_isEditing ? m_editingApps : m_folder.apps).size();
    m_countLabel->setText(m_environment.localization.pluralText(L10nKey::appCount, appCount));
    m_inDockSwitch->setChecked(m_folder.isInDock);
    m_chevron->setRotation(m_isExpanded ? 90 : 0);
    m_chevron->setAccessibleName(m_folder.name);

    const Localization& localization = m_environment.localization;
    m_editButton->setText(localization.text(m_isEditing ? L10nKey::folderDone : L10nKey::folderEdit));
    m_editButton->setSymbol(m_isEditing ? QStringLiteral("checkmark.circle.fill")
                                        : QStringLiteral("square.and.pencil"));
    m_deleteButton->setVisible(m_isEditing);
    m_body->setVisible(m_isExpanded);
    if (m_isExpanded)
        syncTiles();
}

void FolderCardView::syncTiles() {
    const QList<AppItem>& apps = m_isEditing ? m_editingApps : m_folder.apps;
    m_grid->setApps(apps, m_isEditing);
    m_grid->setVisible(!apps.isEmpty());
    m_emptyContent->setVisible(apps.isEmpty());
    // Tab follows the order on screen.
    QWidget* previous = m_editButton;
    for (AppGridItem* tile : m_grid->tiles()) {
        setTabOrder(previous, tile->deleteBadge());
        previous = tile->deleteBadge();
    }
    setTabOrder(previous, m_addAppsButton);
}

void FolderCardView::retranslate() {
    const Localization& localization = m_environment.localization;
    m_inDockSwitch->setAccessibleName(localization.text(L10nKey::folderInDock));
    m_inDockSwitch->setAccessibleDescription(localization.text(L10nKey::emptyFolderAlertMessage));
    m_glyphButton->setAccessibleName(localization.text(L10nKey::editorIconLabel));
    m_moreButton->setAccessibleName(localization.text(L10nKey::folderMore));
    m_moreButton->setToolTip(localization.text(L10nKey::folderMore));
    m_menu->actions().first()->setText(localization.text(L10nKey::folderOpenAll));
    m_nameField->setPlaceholderText(localization.text(L10nKey::folderNamePlaceholder));
    m_nameField->setAccessibleName(localization.text(L10nKey::folderNamePlaceholder));
    m_addAppsButton->setText(localization.text(L10nKey::folderAddApps));
    m_deleteButton->setText(localization.text(L10nKey::folderDeleteTitle));
    m_emptyTitle->setText(localization.text(L10nKey::emptyFolderTitle));
    m_emptyHint->setText(localization.text(L10nKey::emptyFolderHint));
    m_grid->retranslate();
    m_nameHint->retranslate();
    refresh();
}

void FolderCardView::recolor() {
    const QPalette colors = palette();
    m_glyph->setColor(colors.color(QPalette::Text));
    m_chevron->setColor(colors.color(QPalette::PlaceholderText));
    m_moreButton->setColor(colors.color(QPalette::PlaceholderText));
    if (auto* symbol = m_emptyContent->findChild<QLabel*>(QStringLiteral("emptySymbol"))) {
        const std::optional<QImage> image =
            Symbols::image(QStringLiteral("folder.badge.plus"), 18, false, colors.color(QPalette::PlaceholderText));
        symbol->setPixmap(image ? QPixmap::fromImage(*image) : QPixmap());
    }
    update();
}

void FolderCardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Theme::paintPanel(painter, rect(), cornerRadius, palette());
}

void FolderCardView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        recolor();
}

bool FolderCardView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_header && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_header->rect().contains(mouse->position().toPoint())) {
            toggleExpanded();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FolderCardView::openAll() {
    // The card may be gone by the time the last open has finished.
    FolderLaunch::launchAll(m_folder, m_environment.workspace, boundTo(this, [this](const QStringList& failed) {
                                if (failed.isEmpty())
                                    return;
                                QStringList lines;
                                for (const QString& name : failed)
                                    lines.append(m_environment.localization.format(L10nKey::popupLaunchFailed, {name}));
                                Q_EMIT newsReported(m_folder.name, lines.join(QLatin1Char(' ')));
                            }));
}

QList<AppGridItem*> FolderCardView::tiles() const {
    return m_grid->tiles();
}
