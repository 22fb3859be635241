#pragma once

#include "MainWindowEnvironment.h"
#include "MainWindowSizing.h"
#include "NavigationPage.h"
#include "model/AppFolder.h"
#include "settings/AppSettings.h"

#include <QMap>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class FoldersListView;
class LocalNotificationCenter;
class MainWindowNavigation;
class ModalLayer;
class NoticeBanner;
class OnboardingView;
class QStackedWidget;
class TitleBar;
class WorkItem;

// The main window: its own title bar over the folder list or one of the settings pages (the
// onboarding before the first run is complete), with the dialogs of the folder list drawn inside
// it. Closing hides it; it is made once and shown again.
class MainWindowView final : public QWidget {
    Q_OBJECT
public:
    struct Services {
        const MainWindowEnvironment& environment;
        MainWindowNavigation& navigation;
        LocalNotificationCenter& notifications;
        // False where the window system has no compositor: the window is then drawn opaque, with
        // square corners.
        bool translucentWindows = true;
        // The application's commands "menu.open" (Ctrl+O) and "menu.settings" (Ctrl+,): show the
        // main window on that page.
        std::function<void(NavigationPage)> showMainWindow = {};
    };

    // A folder in the Dock keeps its tile this long after its deletion, showing the delete badge.
    static constexpr double deletedFolderRemovalDelay = 2.0;
    // After the onboarding, the editor for a first folder opens this much later.
    static constexpr double firstFolderEditorDelay = 0.08;
    // A deleted folder can be brought back this long, from the notice or with Ctrl+Z; other news
    // (an export, an import) shows as long.
    static constexpr double undoDeleteDuration = 8.0;
    // When the first-run guide ends on a desktop with app folders of its own (GNOME's), they are
    // offered, once, this long.
    static constexpr double desktopFoldersOfferDuration = 30.0;

    explicit MainWindowView(Services services, QWidget* parent = nullptr);
    ~MainWindowView() override;

    NavigationPage selection() const { return m_selection; }
    NavigationPage highlightedSettingsTab() const { return m_highlightedSettingsTab; }
    void setSelection(NavigationPage page);

    // Opens the folder editor for a new folder.
    void addFolder();
    void onboardingFinished(bool createFirstFolder);
    // The delete dialog's confirmation.
    void deleteConfirmedFolder(const AppFolder& folder);
    // A settings page's natural content height, in points.
    void reportPageHeight(NavigationPage page, double height);

    TitleBar* titleBar() const { return m_titleBar; }
    FoldersListView* folderList() const { return m_folderList; }
    ModalLayer* modalLayer() const { return m_modalLayer; }
    // Shown under the title bar while the folders file is behind the list in memory.
    NoticeBanner* saveNotice() const { return m_saveNotice; }
    // News for a few seconds under the title bar: a deleted folder (with Undo), an export or import.
    NoticeBanner* newsNotice() const { return m_newsNotice; }
    void showNews(const QString& title, const QString& message, double duration = undoDeleteDuration);
    // Brings back the folder deleted last while its notice shows; false when there is none.
    bool undoDelete();
    QWidget* currentPage() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void settingChanged(AppSettings::Field field);
    void consumePendingDestination();
    void selectionChanged(NavigationPage old, NavigationPage now);
    void scheduleWindowSizeUpdate(double delay);
    void applyWindowSize();
    void showPage();
    void retranslate();
    void applyTheme();
    void updateSaveNotice();
    void updateNoticeRow();
    void offerDesktopAppFolders();
    double saveNoticeHeight() const;

    Services m_services;
    const MainWindowEnvironment& m_environment;
    NavigationPage m_selection = NavigationPage::AllFolders;
    NavigationPage m_highlightedSettingsTab = NavigationPage::General;
    QMap<NavigationPage, double> m_settingsPageHeights;
    std::shared_ptr<WorkItem> m_pendingWindowSizeUpdate;
    bool m_isDelayingSettingsTabResize = false;
    bool m_configured = false;
    QSizeF m_folderListSize = MainWindowSizing::preferredFolderListSize;

    TitleBar* m_titleBar;
    QWidget* m_saveNoticeRow;
    NoticeBanner* m_saveNotice;
    NoticeBanner* m_newsNotice;
    std::shared_ptr<WorkItem> m_newsExpiry;
    // The folder deleted last and its place, while it can be brought back.
    struct DeletedFolder {
        AppFolder folder;
        qsizetype index = 0;
    };
    std::optional<DeletedFolder> m_undoable;
    QStackedWidget* m_pages;
    OnboardingView* m_onboarding;
    FoldersListView* m_folderList;
    QMap<NavigationPage, QWidget*> m_settingsPages;
    ModalLayer* m_modalLayer;
};
