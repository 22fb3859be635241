// The main window's sizes: what each page makes of the window.
#include "ui/MainWindowSizing.h"

#include <QTest>

using namespace MainWindowSizing;

class MainWindowSizingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void folderListTakesItsStoredSizeAboveItsMinimum() {
        // 521 is below the list's minimum height, so the minimum wins.
        PageSizing sizing = sizingFor(NavigationPage::AllFolders, 700, std::nullopt, preferredFolderListSize, 0);
        QCOMPARE(sizing.minimumFrameHeight, 550.0);
        QCOMPARE(*sizing.frame, QSizeF(560, 550));
        // Without a stored height the list keeps the window's width, at least 540.
        sizing = sizingFor(NavigationPage::AllFolders, 700, std::nullopt, QSizeF(560, 0), 0);
        QCOMPARE(*sizing.frame, QSizeF(700, 550));
        sizing = sizingFor(NavigationPage::AllFolders, 400, std::nullopt, QSizeF(560, 0), 0);
        QCOMPARE(sizing.frame->width(), 540.0);
        // A title bar over the content counts once.
        QCOMPARE(*sizingFor(NavigationPage::AllFolders, 560, std::nullopt, QSizeF(560, 800), 28).frame,
                 QSizeF(560, 800));
    }

    void settingsPageFitsItsMeasuredHeight() {
        // 100 + 120 is less than the minimum of 260.
        QCOMPARE(*sizingFor(NavigationPage::General, 560, 100, preferredFolderListSize, 0).frame, QSizeF(560, 260));
        // Heights round up to whole points; the width stays the window's.
        QCOMPARE(*sizingFor(NavigationPage::Popup, 610, 400.2, preferredFolderListSize, 0).frame, QSizeF(610, 521));
        QCOMPARE(sizingFor(NavigationPage::About, 500, 300, preferredFolderListSize, 0).frame->width(), 540.0);
        // Not measured yet: nothing changes.
        const PageSizing unmeasured = sizingFor(NavigationPage::Tile, 560, std::nullopt, preferredFolderListSize, 0);
        QVERIFY(!unmeasured.frame);
        QCOMPARE(unmeasured.minimumFrameHeight, 260.0);
        QVERIFY(!sizingFor(NavigationPage::Tile, 560, 0.0, preferredFolderListSize, 0).frame);
    }
};

QTEST_APPLESS_MAIN(MainWindowSizingTest)
#include "MainWindowSizingTest.moc"
