#pragma once

#include "MainWindowEnvironment.h"
#include "model/AppItem.h"
#include "model/FolderStore.h"
#include "widgets/DialogPanel.h"

#include <QList>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QUuid>

#include <memory>

class AppPickerGrid;
class QLineEdit;
class SearchInputField;
class WorkItem;

// The dialog a folder card opens to add applications: the installed applications as a grid of
// cells, narrowed by a search; a click (or Space) toggles a cell. Add hands the chosen ones to the
// callback the card left in the store, then closes; Cancel (Escape) closes without it. Shown by
// the modal layer while the store's `showingAppPicker` is set.
class AppPickerView final : public DialogPanel {
    Q_OBJECT
public:
    static constexpr double panelWidth = 440;
    static constexpr int gridHeight = 274;

    explicit AppPickerView(const MainWindowEnvironment& environment, QWidget* parent = nullptr);
    ~AppPickerView() override;

    // The apps a search shows: all of them for a blank search, else those whose name contains the
    // search as typed, without regard to case; in the order of `apps`.
    static QList<AppItem> visibleApps(const QList<AppItem>& apps, const QString& searchText, const QLocale& locale);
    // What Add hands over: the apps whose id is selected, shown or not, in the order of `apps`.
    static QList<AppItem> pickedApps(const QList<AppItem>& apps, const QSet<QUuid>& selectedIDs);

    void confirm();
    void cancel();
    // Adds or removes the app from the selection; apps already in the folder stay as they are.
    void toggle(const QUuid& appID);
    void setSearchText(const QString& text);

    const QSet<QString>& alreadySelectedBundleIDs() const { return m_alreadySelectedBundleIDs; }
    const QString& searchText() const { return m_searchText; }
    const QList<AppItem>& allApps() const { return m_allApps; }
    const QSet<QUuid>& selectedIDs() const { return m_selectedIDs; }
    bool isAlreadyAdded(const AppItem& app) const;

    QLineEdit* searchField() const { return m_searchEdit; }
    AppPickerGrid* grid() const { return m_grid; }
    TextButton* confirmButton() const { return m_addButton; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setAllApps(QList<AppItem> apps);
    void rebuildCells();
    void refreshAddButton();
    void dismiss();

    const MainWindowEnvironment& m_environment;
    QSet<QString> m_alreadySelectedBundleIDs;
    FolderStore::AppPickerCallback m_onConfirm;
    QString m_searchText;
    QList<AppItem> m_allApps;
    QSet<QUuid> m_selectedIDs;

    SearchInputField* m_searchBox;
    QLineEdit* m_searchEdit;
    AppPickerGrid* m_grid;
    TextButton* m_cancelButton = nullptr;
    TextButton* m_addButton = nullptr;
    std::shared_ptr<WorkItem> m_scan;
    bool m_scanStarted = false;
    // Set once Add or Cancel has run: the panel stays on screen while it animates away.
    bool m_closed = false;
};
