// The folder editor: the name filter, the icon list, the sheet's save and close, and the icon
// picker popover.
#include "MainWindowTestBed.h"
#include "model/Timestamp.h"
#include "platform/Symbols.h"
#include "ui/FolderIcons.h"
#include "ui/FolderNameFilter.h"
#include "ui/FolderNameHint.h"
#include "ui/IconGrid.h"
#include "ui/IconPickerPopover.h"
#include "ui/NewFolderSheet.h"
#include "widgets/TextButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTest>

namespace {

IconGridCell* cellFor(IconGrid* grid, const QString& icon) {
    for (IconGridCell* cell : grid->cells()) {
        if (cell->icon() == icon)
            return cell;
    }
    return nullptr;
}

// Types `text` the way a keyboard layout would deliver it, letters beyond Latin-1 included.
void type(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
    }
}

} // namespace

class FolderEditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_bed = std::make_unique<MainWindowTestBed>(); }
    void cleanup() { m_bed.reset(); }

    void nameFilter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        const QString thirty = QStringLiteral("abcdefghijklmnopqrstuvwxyzabcd");
        QTest::newRow("signs between words") << QStringLiteral("Work & Fun!") << QStringLiteral("Work  Fun");
        QTest::newRow("pasted 30 letters") << thirty << thirty.left(20);
        QTest::newRow("long and refused") << QStringLiteral("!") + thirty << thirty.left(20);
        QTest::newRow("russian") << QStringLiteral("я") << QStringLiteral("я");
        QTest::newRow("ukrainian") << QStringLiteral("ї Ігри Єва ґанок") << QStringLiteral("ї Ігри Єва ґанок");
        QTest::newRow("ukrainian long") << QStringLiteral("Інструменти") << QStringLiteral("Інструменти");
        QTest::newRow("yo") << QStringLiteral("Ёлка ёж") << QStringLiteral("лка ж");
        QTest::newRow("emoji") << QStringLiteral("Games 🎮👨‍👩‍👧") << QStringLiteral("Games ");
        QTest::newRow("tab and newline") << QStringLiteral("a\tb\nc") << QStringLiteral("abc");
        // A letter and its accent are one character, decided by the letter.
        const QString accented = QStringLiteral("e\u0301");
        QTest::newRow("accent kept") << accented.repeated(20) << accented.repeated(20);
        QTest::newRow("accent counts once") << accented.repeated(21) << accented.repeated(20);
        QTest::newRow("lone accent") << QStringLiteral("\u0301a") << QStringLiteral("a");
        QTest::newRow("lone surrogate") << QString(QChar(0xD83D)) + QStringLiteral("a") << QStringLiteral("a");
    }
    void nameFilter() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(FolderNameFilter::filtered(typed), kept);
    }

    void iconListIsFixedAndDrawable() {
        const std::span<const QLatin1String> icons = FolderIcons::availableIcons();
        QCOMPARE(icons.size(), std::size_t(99));
        QCOMPARE(QString(icons.front()), QStringLiteral("folder"));
        QCOMPARE(QString(icons.back()), QStringLiteral("photo"));
        QSet<QString> seen;
        for (const QLatin1String icon : icons) {
            QVERIFY2(Symbols::isKnown(QString(icon)), icon.data());
            seen.insert(QString(icon));
        }
        QCOMPARE(seen.size(), 99);
    }

    void savedFolderKeepsWhatTheEditorDoesNotShow() {
        const double now = 800'000'000;
        QVERIFY(!NewFolderSheet::savedFolder(std::nullopt, QStringLiteral(" \t\n "), QStringLiteral("leaf"), now));
        AppFolder edited = MainWindowTestBed::folder(QStringLiteral("Work"), 2, true);
        edited.tileStyle.cornerRadius = 20;
        edited.createdAt = 5;
        QVERIFY(!NewFolderSheet::savedFolder(edited, QStringLiteral("  "), QStringLiteral("leaf"), now));
        const AppFolder renamed =
            *NewFolderSheet::savedFolder(edited, QStringLiteral(" Play "), QStringLiteral("leaf"), now);
        QCOMPARE(renamed.id, edited.id);
        QCOMPARE(renamed.name, QStringLiteral("Play"));
        QCOMPARE(renamed.emoji, QStringLiteral("leaf"));
        QCOMPARE(renamed.apps.size(), 2);
        QVERIFY(renamed.isInDock);
        QVERIFY(renamed.tileStyle == edited.tileStyle);
        QCOMPARE(renamed.createdAt, 5.0);
        const AppFolder created =
            *NewFolderSheet::savedFolder(std::nullopt, QStringLiteral("New"), QStringLiteral("bolt"), now);
        QVERIFY(!created.id.isNull());
        QVERIFY(created.apps.isEmpty());
        QVERIFY(!created.isInDock);
        QVERIFY(created.tileStyle == TileStyleSettings());
        QCOMPARE(created.createdAt, now);
    }

    void creatingThroughTheKeyboard() {
        FolderStore& store = m_bed->store;
        store.setShowingFolderEditor(true);
        // Shown over a window whose focus was elsewhere, as the modal layer shows it.
        QWidget window;
        auto* elsewhere = new QLineEdit(&window);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        elsewhere->setFocus();
        NewFolderSheet& sheet = *new NewFolderSheet(m_bed->environment, &window);
        sheet.show();
        QCOMPARE(QApplication::focusWidget(), sheet.nameField());
        // A blank name is not saved and the sheet stays: Save is off until there is a name.
        QVERIFY(!sheet.saveButton()->isEnabled());
        QTest::keyClicks(sheet.nameField(), QStringLiteral("   "));
        QVERIFY(!sheet.saveButton()->isEnabled());
        QTest::keyClick(sheet.nameField(), Qt::Key_Return);
        QVERIFY(store.folders().isEmpty());
        QVERIFY(store.showingFolderEditor());
        type(sheet.nameField(), QStringLiteral("Ігри & Co!"));
        QVERIFY(sheet.saveButton()->isEnabled());
        QCOMPARE(sheet.nameHint()->message(), QStringLiteral("Removed: !"));
        type(sheet.nameField(), QStringLiteral(" "));
        QCOMPARE(sheet.nameField()->text(), QStringLiteral("   Ігри  Co "));
        QTest::mouseClick(cellFor(sheet.iconGrid(), QStringLiteral("gamecontroller")), Qt::LeftButton);
        QTest::keyClick(sheet.nameField(), Qt::Key_Return);
        QCOMPARE(store.folders().size(), 1);
        const AppFolder folder = store.folders().front();
        QCOMPARE(folder.name, QStringLiteral("Ігри  Co"));
        QCOMPARE(folder.emoji, QStringLiteral("gamecontroller"));
        QCOMPARE(folder.createdAt, Timestamp::fromUnix(m_bed->clock.now()));
        QCOMPARE(store.newlyAddedFolderID(), std::optional<QUuid>(folder.id));
        QVERIFY(!store.showingFolderEditor());
    }

    void editingKeepsAppsAndDockStateAndEscapeCancels() {
        FolderStore& store = m_bed->store;
        store.addFolder(MainWindowTestBed::folder(QStringLiteral("Work"), 2, true));
        const AppFolder original = store.folders().front();
        store.setFolderToEdit(original);
        store.setShowingFolderEditor(true);
        {
            NewFolderSheet sheet(m_bed->environment);
            sheet.show();
            QCOMPARE(sheet.nameField()->text(), QStringLiteral("Work"));
            QTest::keyClicks(sheet.nameField(), QStringLiteral("X"));
            QTest::keyClick(sheet.nameField(), Qt::Key_Escape);
            QCOMPARE(store.folders().front().name, QStringLiteral("Work"));
            QVERIFY(!store.showingFolderEditor());
            QVERIFY(!store.folderToEdit());
        }
        store.setFolderToEdit(original);
        store.setShowingFolderEditor(true);
        NewFolderSheet sheet(m_bed->environment);
        sheet.show();
        // Taken out of the Dock while the sheet is open: saving must not put it back.
        store.setFolderInDock(original.id, false);
        // Arrows move the ring, Space chooses, and Return, left to the dialog, saves.
        sheet.iconGrid()->setFocus();
        QTest::keyClick(sheet.iconGrid(), Qt::Key_Right);
        QTest::keyClick(sheet.iconGrid(), Qt::Key_Space);
        QTest::keyClick(sheet.iconGrid(), Qt::Key_Return);
        const AppFolder saved = store.folders().front();
        QCOMPARE(saved.emoji, QStringLiteral("briefcase"));
        QCOMPARE(saved.name, QStringLiteral("Work"));
        QCOMPARE(saved.apps.size(), 2);
        QVERIFY(!saved.isInDock);
        QVERIFY(!store.folderToEdit());
        // A folder deleted while its sheet is open stays deleted.
        store.setFolderToEdit(saved);
        store.setShowingFolderEditor(true);
        NewFolderSheet orphan(m_bed->environment);
        store.setFolders({});
        orphan.save();
        QVERIFY(store.folders().isEmpty());
        QVERIFY(!store.showingFolderEditor());
    }

    void theHintSaysWhatWasRemovedAndCountsNearTheLimit() {
        m_bed->store.setShowingFolderEditor(true);
        NewFolderSheet sheet(m_bed->environment);
        sheet.show();
        QLineEdit* field = sheet.nameField();
        const FolderNameHint* hint = sheet.nameHint();
        QVERIFY(hint->message().isEmpty() && hint->counter().isEmpty());
        // Pasted: each refused character named once, unprintable ones by their code.
        field->insert(QStringLiteral("a/b:c/d	e"));
        QCOMPARE(field->text(), QStringLiteral("abcde"));
        QCOMPARE(hint->message(), QStringLiteral("Removed: / : U+0009"));
        // The next clean edit clears it; the counter stays away below 15 characters.
        QTest::keyClicks(field, QStringLiteral("fghijklm"));
        QVERIFY(hint->message().isEmpty());
        QVERIFY(hint->counter().isEmpty());
        QTest::keyClicks(field, QStringLiteral("n"));
        QCOMPARE(field->text().size(), 14);
        QVERIFY(hint->counter().isEmpty());
        QTest::keyClicks(field, QStringLiteral("o"));
        QCOMPARE(hint->counter(), QStringLiteral("15/20"));
        QVERIFY(field->accessibleDescription().contains(QStringLiteral("15 of 20")));
        // Past the limit: cut, said so, and the counter stops at 20.
        field->insert(QStringLiteral("pqrstuvwxyz"));
        QCOMPARE(field->text().size(), 20);
        QCOMPARE(hint->counter(), QStringLiteral("20/20"));
        QCOMPARE(hint->message(), QStringLiteral("Names are at most 20 characters"));
        // Ukrainian letters are kept without a word; the hint follows the language.
        field->clear();
        type(field, QStringLiteral("Її Єє Ґґ Іі"));
        QCOMPARE(field->text(), QStringLiteral("Її Єє Ґґ Іі"));
        QVERIFY(hint->message().isEmpty());
        m_bed->settings->setLanguage(AppLanguage::Ukrainian);
        field->insert(QStringLiteral("ЁёЁ!"));
        QCOMPARE(field->text(), QStringLiteral("Її Єє Ґґ Іі"));
        QCOMPARE(hint->message(), QStringLiteral("Вилучено: Ё ё !"));
    }

    void popoverHandsOverTheChosenIcon() {
        QStringList chosen;
        IconPickerPopover popover(QStringLiteral("leaf"), [&](const QString& icon) { chosen.append(icon); });
        popover.popUp(nullptr);
        QCOMPARE(popover.size(), QSize(280, 200));
        QVERIFY(cellFor(popover.grid(), QStringLiteral("leaf"))->isChecked());
        QTest::mouseClick(cellFor(popover.grid(), QStringLiteral("bolt")), Qt::LeftButton);
        QCOMPARE(chosen, QStringList{QStringLiteral("bolt")});
        QVERIFY(!popover.isVisible());
        // Return chooses the ringed cell, even the current one; Escape closes without a choice.
        popover.popUp(nullptr);
        QTest::keyClick(popover.grid(), Qt::Key_Return);
        QCOMPARE(chosen.last(), QStringLiteral("bolt"));
        popover.popUp(nullptr);
        QTest::keyClick(popover.grid(), Qt::Key_Escape);
        QVERIFY(!popover.isVisible());
        QCOMPARE(chosen.size(), 2);
    }

private:
    std::unique_ptr<MainWindowTestBed> m_bed;
};

QTEST_MAIN(FolderEditorTest)
#include "FolderEditorTest.moc"
