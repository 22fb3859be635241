// The application picker, offscreen, over bundles made in a test home: what Add hands over and
// when, the filter, the label, the keyboard, and a scan that ends after the dialog is gone.
#include "MainWindowTestBed.h"
#include "ui/AppPickerCell.h"
#include "ui/AppPickerGrid.h"
#include "ui/AppPickerView.h"
#include "ui/FolderCardView.h"
#include "ui/ModalLayer.h"
#include "widgets/TextButton.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>
#include <optional>

namespace {

QStringList names(const QList<AppItem>& apps) {
    QStringList result;
    for (const AppItem& app : apps)
        result.append(app.name);
    return result;
}

QStringList names(const QList<AppPickerCell*>& cells) {
    QStringList result;
    for (const AppPickerCell* cell : cells)
        result.append(cell->app().name);
    return result;
}

AppPickerCell* cellNamed(const AppPickerView& view, const QString& name) {
    for (AppPickerCell* cell : view.grid()->cells())
        if (cell->app().name == name)
            return cell;
    qFatal("no such cell");
}

} // namespace

class AppPickerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindowTestBed> m_bed;
    std::optional<QList<AppItem>> m_handedOver;
    int m_handOvers = 0;

    void makeApps(const QStringList& appNames) {
        for (const QString& name : appNames)
            m_bed->home.makeBundle(
                QStringLiteral("Applications/%1.app").arg(name),
                {{"CFBundleIdentifier", QString("com.example." + name.toLower())}, {"CFBundleName", name}});
    }

    // The picker as a card leaves it: `inFolder` already there, Add recorded.
    std::unique_ptr<AppPickerView> openPicker(const QSet<QString>& inFolder = {}) {
        FolderStore& store = m_bed->store;
        store.setAppPickerCurrentBundleIDs(inFolder);
        store.setAppPickerCallback([this](const QList<AppItem>& apps) {
            m_handedOver = apps;
            ++m_handOvers;
        });
        store.setShowingAppPicker(true);
        auto view = std::make_unique<AppPickerView>(m_bed->environment);
        view->show();
        m_bed->clock.advance(0);
        return view;
    }

private Q_SLOTS:
    void init() {
        m_bed = std::make_unique<MainWindowTestBed>();
        m_handedOver.reset();
        m_handOvers = 0;
    }
    void cleanup() { m_bed.reset(); }

    void confirmingNothingHandsOverAnEmptyListOnce() {
        makeApps({"Alpha", "Beta"});
        const auto view = openPicker();
        QCOMPARE(names(view->allApps()), QStringList({"Alpha", "Beta"}));
        // Icons are read after a cell is first painted; a placeholder until then.
        AppPickerCell* alpha = cellNamed(*view, "Alpha");
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        alpha->repaint();
        QVERIFY(!alpha->hasIcon());
        m_bed->clock.advance(0);
        QVERIFY(alpha->hasIcon());

        // Nothing chosen: Add is off, and neither a click nor Return adds.
        QVERIFY(!view->confirmButton()->isEnabled());
        QTest::mouseClick(view->confirmButton(), Qt::LeftButton);
        QTest::keyClick(view->searchField(), Qt::Key_Return);
        QCOMPARE(m_handOvers, 0);
        QVERIFY(m_bed->store.showingAppPicker());
        // A caller confirming anyway still hands over the empty list and closes.
        view->confirm();
        QCOMPARE(m_handOvers, 1);
        QVERIFY(m_handedOver->isEmpty());
        QVERIFY(!m_bed->store.showingAppPicker());
        QVERIFY(!m_bed->store.appPickerCallback());
        // The panel is still on screen while it animates away: a second press adds nothing more.
        view->confirm();
        QCOMPARE(m_handOvers, 1);
    }

    void selectionsHiddenByTheSearchAreAddedInListOrder() {
        makeApps({"Gamma", "Alpha", "Delta", "Beta"});
        const auto view = openPicker();
        QTest::mouseClick(cellNamed(*view, "Gamma"), Qt::LeftButton);
        QTest::mouseClick(cellNamed(*view, "Alpha"), Qt::LeftButton);
        QTest::mouseClick(cellNamed(*view, "Beta"), Qt::LeftButton);
        QTest::mouseClick(cellNamed(*view, "Beta"), Qt::LeftButton);
        QVERIFY(cellNamed(*view, "Alpha")->isSelected() && !cellNamed(*view, "Beta")->isSelected());
        QCOMPARE(cellNamed(*view, "Alpha")->accessibleDescription(), QStringLiteral("Selected"));
        QTest::keyClicks(view->searchField(), "DEL");
        QCOMPARE(names(view->grid()->shownCells()), QStringList({"Delta"}));
        QTest::mouseClick(cellNamed(*view, "Delta"), Qt::LeftButton);
        QCOMPARE(view->confirmButton()->text(), QStringLiteral("Add 3 Apps"));
        QTest::mouseClick(view->confirmButton(), Qt::LeftButton);
        QCOMPARE(names(*m_handedOver), QStringList({"Alpha", "Delta", "Gamma"}));
    }

    void anAppAlreadyInTheFolderIsShownAddedAndNotAddedTwice() {
        makeApps({"Alpha", "Beta"});
        const QString betaPath = m_bed->home.path("Applications/Beta.app");
        AppFolder folder = MainWindowTestBed::folder("Work", 0);
        folder.apps.append({QUuid::createUuid(), "Beta", "com.example.beta", AppItem::fileURLForPath(betaPath, true)});
        m_bed->store.addFolder(folder);
        QWidget page;
        ModalLayer layer(m_bed->environment, &page, [](const AppFolder&) {});
        layer.resize(700, 600);
        FolderCardView card(m_bed->environment, folder, false);
        card.requestAddApps();
        auto* view = qobject_cast<AppPickerView*>(layer.panel());
        QVERIFY(view);
        m_bed->clock.advance(0);

        AppPickerCell* beta = cellNamed(*view, "Beta");
        QVERIFY(beta->isAlreadyAdded() && !cellNamed(*view, "Alpha")->isAlreadyAdded());
        QCOMPARE(beta->accessibleDescription(), QStringLiteral("Already in the folder"));
        QTest::mouseClick(beta, Qt::LeftButton);
        QVERIFY(view->selectedIDs().isEmpty());
        QTest::mouseClick(cellNamed(*view, "Alpha"), Qt::LeftButton);
        view->confirm();
        QCOMPARE(names(m_bed->store.folders().first().apps), QStringList({"Beta", "Alpha"}));
        QCOMPARE(layer.shownDialog(), ModalDialog::None);
    }

    void theAddLabelCountsInEitherLanguage() {
        makeApps({"A1", "A2", "A3", "A4", "A5"});
        for (const AppLanguage language : {AppLanguage::English, AppLanguage::Ukrainian}) {
            m_bed->settings->setLanguage(language);
            const auto view = openPicker();
            QStringList labels;
            for (const int count : {1, 2, 5}) {
                while (view->selectedIDs().size() < count)
                    view->toggle(view->allApps().at(view->selectedIDs().size()).id);
                labels.append(view->confirmButton()->text());
            }
            if (language == AppLanguage::English)
                QCOMPARE(labels, QStringList({"Add 1 App", "Add 2 Apps", "Add 5 Apps"}));
            else
                QCOMPARE(labels, QStringList({"Додати 1 програму", "Додати 2 програми", "Додати 5 програм"}));
        }
    }

    void theSearchIgnoresCaseAndABlankSearchShowsAll() {
        const QList<AppItem> apps{{QUuid::createUuid(), "Safari", "a", {}},
                                  {QUuid::createUuid(), "Калькулятор", "b", {}},
                                  {QUuid::createUuid(), "Mail", "c", {}}};
        const QLocale locale("uk");
        QCOMPARE(names(AppPickerView::visibleApps(apps, " \n\t ", locale)), names(apps));
        QCOMPARE(names(AppPickerView::visibleApps(apps, "A", locale)), QStringList({"Safari", "Mail"}));
        QCOMPARE(names(AppPickerView::visibleApps(apps, "КАЛЬК", locale)), QStringList({"Калькулятор"}));
        QVERIFY(AppPickerView::visibleApps(apps, "Notes", locale).isEmpty());
    }

    void theKeyboardMovesTogglesConfirmsAndCancels() {
        makeApps({"Alpha", "Beta", "Gamma"});
        auto view = openPicker();
        QVERIFY(QTest::qWaitForWindowActive(view.get()));
        QCOMPARE(QApplication::focusWidget(), view->searchField());
        const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
        // Tab goes search, grid, Cancel, Add and round; Add only once something is chosen.
        QList<QWidget*> order;
        for (int i = 0; i < 3; ++i) {
            press(Qt::Key_Tab);
            order.append(QApplication::focusWidget());
        }
        QCOMPARE(order, QList<QWidget*>({view->grid(), view->buttons().first(), view->searchField()}));
        view->toggle(view->allApps().first().id);
        order.clear();
        for (int i = 0; i < 4; ++i) {
            press(Qt::Key_Tab);
            order.append(QApplication::focusWidget());
        }
        QCOMPARE(order,
                 QList<QWidget*>({view->grid(), view->buttons().first(), view->confirmButton(), view->searchField()}));

        view->toggle(view->allApps().first().id);
        press(Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), view->grid());
        press(Qt::Key_Right);
        press(Qt::Key_Right);
        press(Qt::Key_Left);
        QCOMPARE(view->grid()->currentCell()->app().name, QStringLiteral("Beta"));
        press(Qt::Key_Space);
        QVERIFY(view->grid()->currentCell()->isSelected());
        press(Qt::Key_Return);
        QCOMPARE(names(*m_handedOver), QStringList({"Beta"}));

        m_handedOver.reset();
        view = openPicker();
        // Escape in a search clears it first; only the second one cancels.
        QTest::keyClicks(view->searchField(), "be");
        QTest::keyClick(view->searchField(), Qt::Key_Escape);
        QCOMPARE(view->searchField()->text(), QString());
        QVERIFY(m_bed->store.showingAppPicker());
        QTest::keyClick(view->searchField(), Qt::Key_Escape);
        QVERIFY(!m_bed->store.showingAppPicker());
        QVERIFY(!m_handedOver);
    }

    void aSearchThatFindsNothingSaysSo() {
        makeApps({"Alpha", "Beta"});
        for (const AppLanguage language : {AppLanguage::English, AppLanguage::Ukrainian}) {
            m_bed->settings->setLanguage(language);
            const auto view = openPicker();
            QLabel* message = view->grid()->emptyLabel();
            QVERIFY(!message->isVisibleTo(view.get()));
            QTest::keyClicks(view->searchField(), " zz ");
            QVERIFY(view->grid()->shownCells().isEmpty());
            QVERIFY(message->isVisibleTo(view.get()));
            QCOMPARE(message->text(), language == AppLanguage::English
                                          ? QStringLiteral("No applications match “zz”")
                                          : QStringLiteral("Немає програм, що відповідають «zz»"));
            // Tab still lands on the grid; a screen reader hears the same.
            QCOMPARE(view->grid()->accessibleDescription(), message->text());
            view->searchField()->clear();
            QVERIFY(!message->isVisibleTo(view.get()));
            QVERIFY(view->grid()->accessibleDescription().isEmpty());
        }
    }

    void aScanEndingAfterThePickerIsGoneIsDropped() {
        makeApps({"Alpha"});
        auto* view = new AppPickerView(m_bed->environment);
        view->show();
        const int pending = m_bed->clock.pendingCount();
        QVERIFY2(pending >= 1, "the scan waits for the next turn");
        delete view;
        // The scan's turn comes and goes without touching the picker (a crash under the sanitizers).
        m_bed->clock.advance(0);
        QVERIFY(m_bed->clock.pendingCount() < pending);
        // A picker opened afterwards still scans and lists what is installed.
        const auto again = openPicker();
        QVERIFY(cellNamed(*again, "Alpha"));
    }

    void everyControlIsNamedForScreenReaders() {
        makeApps({"Alpha", "Beta"});
        const auto view = openPicker();
        QList<QWidget*> controls = view->findChildren<QWidget*>();
        for (QWidget* widget : std::as_const(controls)) {
            if (!(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy())
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(), widget->metaObject()->className());
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(cellNamed(*view, "Beta"))->text(QAccessible::Name),
                 QStringLiteral("Beta"));
        QCOMPARE(view->grid()->accessibleName(), QStringLiteral("Applications"));
    }
};

QTEST_MAIN(AppPickerTest)
#include "AppPickerTest.moc"
