#pragma once

#include "FolderVisibility.h"
#include "MainWindowEnvironment.h"

#include <QHash>
#include <QList>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class FolderCardView;
class QLabel;
class QMenu;
class QScrollArea;
class QScrollBar;
class QVBoxLayout;
class SearchInputField;
class SegmentedTabs;
class TextButton;
class WorkItem;

// The main window's folder list: a header with the folder count, the All / In Dock tabs and a
// search field; one card per visible folder in a scrolling column; an empty state when there is
// nothing to show; and a footer with the totals and the new-folder button. It reads the store and
// changes it only through its cards and `onAddFolder`.
class FoldersListView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int searchFieldWidth = 160;
    // The second scroll to a new card follows this long after the first, once the card has its size.
    static constexpr double settleScrollDelay = 0.12;

    FoldersListView(const MainWindowEnvironment& environment, std::function<void()> onAddFolder,
                    QWidget* parent = nullptr);
    ~FoldersListView() override;

    SearchInputField* searchField() const { return m_search; }
    SegmentedTabs* filterTabs() const { return m_tabs; }
    QScrollArea* scrollArea() const { return m_scroll; }
    // The overlay scroll bar drawn over the list's right edge.
    QScrollBar* overlayScrollBar() const { return m_overlayBar; }
    TextButton* newFolderButton() const { return m_newFolder; }
    // Export…, Import… and the desktop's app folders.
    TextButton* foldersMenuButton() const { return m_foldersMenuButton; }
    QMenu* foldersMenu() const { return m_foldersMenu; }
    QLabel* countLabel() const { return m_count; }
    QLabel* footerLabel() const { return m_footer; }
    // Shown instead of the list when the store has no folders, and when none passes filter and search.
    QWidget* noFoldersState() const { return m_noFolders; }
    QWidget* noResultsState() const { return m_noResults; }

    FolderVisibilityFilter selectedFilter() const { return m_filter; }
    void setSelectedFilter(FolderVisibilityFilter filter);
    // The visible cards, in the store's order.
    QList<FolderCardView*> cards() const;
    FolderCardView* card(const QUuid& folderID) const { return m_cards.value(folderID); }
    std::optional<QUuid> pendingScrollFolderID() const { return m_pendingScrollFolderID; }

Q_SIGNALS:
    // What came of an export or an import, for the window's notice.
    void newsReported(const QString& title, const QString& message);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildEmptyState(QLabel*& symbol, QList<QLabel*> texts);
    void setUpOverlayScrollBar();
    void rebuild();
    void refreshVisibility();
    void newFolderAdded();
    void scrollToCard(const QUuid& folderID);
    void flashScrollBar();
    void placeOverlayScrollBar();
    void retranslate();
    void recolor();
    void buildFoldersMenu();

    const MainWindowEnvironment& m_environment;
    std::function<void()> m_onAddFolder;
    TextButton* m_foldersMenuButton = nullptr;
    QMenu* m_foldersMenu = nullptr;
    FolderVisibilityFilter m_filter = FolderVisibilityFilter::All;
    std::optional<QUuid> m_pendingScrollFolderID;

    QLabel* m_count = nullptr;
    SegmentedTabs* m_tabs = nullptr;
    SearchInputField* m_search = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_column = nullptr;
    QVBoxLayout* m_columnLayout = nullptr;
    QScrollBar* m_overlayBar = nullptr;
    bool m_overlayHovered = false;
    std::shared_ptr<WorkItem> m_overlayHide;
    QWidget* m_noFolders = nullptr;
    QLabel* m_noFoldersSymbol = nullptr;
    QLabel* m_noFoldersText = nullptr;
    QWidget* m_noResults = nullptr;
    QLabel* m_noResultsSymbol = nullptr;
    QLabel* m_noResultsTitle = nullptr;
    QLabel* m_noResultsHint = nullptr;
    QLabel* m_footer = nullptr;
    TextButton* m_newFolder = nullptr;
    // Every folder's card, shown or not, so a card hidden by the search keeps its state.
    QHash<QUuid, FolderCardView*> m_cards;
    QList<FolderCardView*> m_visibleCards;
};
