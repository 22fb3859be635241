#include "AppPickerView.h"

#include "AppPickerCell.h"
#include "AppPickerGrid.h"
#include "discovery/AppDiscovery.h"
#include "platform/Scheduler.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/Fonts.h"
#include "widgets/SearchInputField.h"

#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

AppPickerView::AppPickerView(const MainWindowEnvironment& environment, QWidget* parent)
    : DialogPanel(environment.localization.text(L10nKey::appPickerTitle), panelWidth, parent)
    , m_environment(environment)
    , m_alreadySelectedBundleIDs(environment.store.appPickerCurrentBundleIDs())
    , m_onConfirm(environment.store.appPickerCallback())
    , m_searchBox(new SearchInputField(environment.localization.text(L10nKey::appPickerSearchPlaceholder),
                                       QStringLiteral("magnifyingglass"), this))
    , m_searchEdit(m_searchBox->lineEdit())
    , m_grid(new AppPickerGrid(this)) {
    const Localization& localization = environment.localization;
    m_searchBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_searchBox->setFixedHeight(28);
    m_searchBox->setClearsOnEscape(true);
    m_searchEdit->setFont(Fonts::rounded(13, QFont::Normal));
    m_searchEdit->installEventFilter(this);
    connect(m_searchBox, &SearchInputField::textChanged, this, &AppPickerView::setSearchText);

    m_grid->setAccessibleName(localization.text(L10nKey::appPickerApps));
    m_grid->setFixedHeight(gridHeight);

    QVBoxLayout* content = contentLayout();
    content->addWidget(m_searchBox);
    content->addSpacing(2);
    content->addWidget(m_grid);

    m_cancelButton = DialogPanel::addButton(
        localization.text(L10nKey::cancel), TextButton::Style::Secondary, [this] { cancel(); }, false, true);
    m_addButton = DialogPanel::addButton(
        QString(), TextButton::Style::Prominent, [this] { confirm(); }, true, false);
    refreshAddButton();
    setTabOrder(m_searchEdit, m_grid);
    setTabOrder(m_grid, m_cancelButton);
    setTabOrder(m_cancelButton, m_addButton);
}

AppPickerView::~AppPickerView() {
    if (m_scan)
        m_scan->cancel();
}

QList<AppItem> AppPickerView::visibleApps(const QList<AppItem>& apps, const QString& searchText,
                                          const QLocale& locale) {
    if (searchText.trimmed().isEmpty())
        return apps;
    const QString needle = locale.toLower(searchText);
    QList<AppItem> shown;
    for (const AppItem& app : apps) {
        if (locale.toLower(app.name).contains(needle))
            shown.append(app);
    }
    return shown;
}

QList<AppItem> AppPickerView::pickedApps(const QList<AppItem>& apps, const QSet<QUuid>& selectedIDs) {
    QList<AppItem> picked;
    for (const AppItem& app : apps) {
        if (selectedIDs.contains(app.id))
            picked.append(app);
    }
    return picked;
}

bool AppPickerView::isAlreadyAdded(const AppItem& app) const {
    return m_alreadySelectedBundleIDs.contains(app.bundleID);
}

void AppPickerView::showEvent(QShowEvent* event) {
    DialogPanel::showEvent(event);
    if (event->spontaneous())
        return;
    m_searchEdit->setFocus(Qt::OtherFocusReason);
    if (m_scanStarted)
        return;
    // The scan reads the disk on the main thread: it waits for the next turn of the loop so the
    // dialog is drawn first. The picker may be gone by then.
    m_scanStarted = true;
    m_scan = m_environment.scheduler.schedule(this, 0, [this] {
        if (!m_closed)
            setAllApps(m_environment.discovery.scanApplications());
    });
}

void AppPickerView::setAllApps(QList<AppItem> apps) {
    m_allApps = std::move(apps);
    // Ids of an earlier list mean nothing in this one.
    m_selectedIDs.clear();
    rebuildCells();
    refreshAddButton();
}

void AppPickerView::rebuildCells() {
    QList<AppPickerCell*> cells;
    cells.reserve(m_allApps.size());
    for (const AppItem& app : std::as_const(m_allApps)) {
        const QUuid id = app.id;
        cells.append(new AppPickerCell(m_environment, app, isAlreadyAdded(app), [this, id] { toggle(id); }));
    }
    m_grid->setCells(cells);
    setSearchText(m_searchText);
}

void AppPickerView::setSearchText(const QString& text) {
    m_searchText = text;
    if (m_searchBox->text() != text)
        m_searchBox->setText(text);
    QHash<QUuid, AppPickerCell*> cellByID;
    for (AppPickerCell* cell : m_grid->cells())
        cellByID.insert(cell->app().id, cell);
    QList<AppPickerCell*> shown;
    for (const AppItem& app : visibleApps(m_allApps, m_searchText, m_environment.localization.locale())) {
        if (AppPickerCell* cell = cellByID.value(app.id))
            shown.append(cell);
    }
    m_grid->showOnly(shown);
    // Only a search can come up empty-handed; a blank one shows every application there is.
    const bool searching = !m_searchText.trimmed().isEmpty();
    m_grid->setEmptyText(
        searching ? m_environment.localization.format(L10nKey::appPickerNoMatch, {m_searchText.trimmed()}) : QString());
}

void AppPickerView::toggle(const QUuid& appID) {
    if (m_closed)
        return;
    const auto app =
        std::find_if(m_allApps.cbegin(), m_allApps.cend(), [&appID](const AppItem& item) { return item.id == appID; });
    // An app already in the folder would be skipped by the folder anyway; its cell stays as it is.
    if (app == m_allApps.cend() || isAlreadyAdded(*app))
        return;
    if (!m_selectedIDs.remove(appID))
        m_selectedIDs.insert(appID);
    const bool selected = m_selectedIDs.contains(appID);
    for (AppPickerCell* cell : m_grid->cells()) {
        if (cell->app().id == appID)
            cell->setSelected(selected);
    }
    refreshAddButton();
}

void AppPickerView::refreshAddButton() {
    const QString label = m_environment.localization.pluralText(L10nKey::appPickerAddCount, m_selectedIDs.size());
    m_addButton->setText(label);
    m_addButton->setAccessibleName(label);
    // Adding nothing is no choice to offer; Cancel is the way out then.
    m_addButton->setEnabled(!m_selectedIDs.isEmpty());
}

void AppPickerView::confirm() {
    // A second Return or click while the panel animates away must not hand the apps over again.
    if (m_closed)
        return;
    m_closed = true;
    const QList<AppItem> picked = pickedApps(m_allApps, m_selectedIDs);
    // The callback may change the store and the views around this one; only copies are used after it.
    const FolderStore::AppPickerCallback onConfirm = m_onConfirm;
    FolderStore& store = m_environment.store;
    if (onConfirm)
        onConfirm(picked);
    store.setAppPickerCallback({});
    store.setShowingAppPicker(false);
}

void AppPickerView::cancel() {
    if (m_closed)
        return;
    m_closed = true;
    dismiss();
}

void AppPickerView::dismiss() {
    // The modal layer animates the panel away when the flag drops.
    FolderStore& store = m_environment.store;
    store.setAppPickerCallback({});
    store.setShowingAppPicker(false);
}

bool AppPickerView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_searchEdit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && m_grid->currentCell()) {
        m_grid->setFocus(Qt::TabFocusReason);
        return true;
    }
    return DialogPanel::eventFilter(watched, event);
}
