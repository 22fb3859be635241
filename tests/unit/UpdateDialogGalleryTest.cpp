// The updater's window in each of its states, in both languages and both themes, written next to
// the test as update-dialog-gallery-<language>-<theme>.png for a person to look at; and how its
// keys, buttons and release notes behave.
#include "GalleryLooks.h"
#include "MainWindowTestBed.h"
#include "settings/LocalizationKeys.h"
#include "ui/UpdateDialog.h"
#include "widgets/DialogPanel.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QString htmlNotes = QStringLiteral(
    "<h2>What's new</h2><ul><li>Folders remember their order.</li><li>Faster popups &amp; tiles.</li></ul>"
    "<p>Details on <a href=\"https://trellin.app/notes\">the site</a>.</p><img src=\"file:///etc/passwd\"/>"
    "<script>alert(1)</script>");

UpdateCheckResult result(UpdateCheckResult::Status status) {
    UpdateCheckResult result;
    result.status = status;
    result.currentVersion = QStringLiteral("1");
    result.currentShortVersion = QStringLiteral("0.1.0");
    if (status == UpdateCheckResult::Status::Newer) {
        result.version = QStringLiteral("2");
        result.shortVersion = QStringLiteral("0.2.0");
        result.notes = htmlNotes;
        result.downloadURL = QStringLiteral("https://trellin.app/downloads/Trellin-0.2.0.zip");
    }
    if (status == UpdateCheckResult::Status::Failed) {
        result.reason = QStringLiteral("The update feed could not be read: Connection refused");
        result.problem = UpdateCheckResult::Problem::FeedUnreadable;
        result.detail = QStringLiteral("Connection refused");
    }
    return result;
}

QStringList buttonTexts(const UpdateDialog& dialog) {
    QStringList texts;
    for (const TextButton* button : dialog.panel()->buttons())
        texts << button->text();
    return texts;
}

} // namespace

class UpdateDialogGalleryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void galleryOfStates_data() { addGalleryLooks(); }

    void galleryOfStates() {
        QFETCH(bool, ukrainian);
        QFETCH(bool, dark);
        MainWindowTestBed bed;
        bed.settings->setLanguage(ukrainian ? AppLanguage::Ukrainian : AppLanguage::English);
        bed.settings->setAppTheme(dark ? AppThemeMode::Dark : AppThemeMode::Light);
        UpdateDialog dialog(bed.localization, *bed.settings);
        dialog.setPageOpener([](const QUrl&, const std::function<void(bool)>& done) { done(false); });
        UpdateCheckResult linkOnly = result(UpdateCheckResult::Status::Newer);
        linkOnly.notes.clear();
        linkOnly.notesLink = QStringLiteral("https://trellin.app/notes/0.2.0.html");
        UpdateCheckResult broken = result(UpdateCheckResult::Status::Failed);
        broken.problem = UpdateCheckResult::Problem::NotAnAppcast;
        broken.feedFault = UpdateCheckResult::FeedFault::Malformed;
        broken.feedLine = 9;
        QList<QImage> shots;
        for (const UpdateCheckResult& shown :
             {result(UpdateCheckResult::Status::Current), result(UpdateCheckResult::Status::Newer), linkOnly,
              result(UpdateCheckResult::Status::Failed), broken}) {
            dialog.present(shown, true);
            // The page with only a link to its notes is shown after Download found no browser.
            if (shown.notesLink == linkOnly.notesLink)
                dialog.panel()->buttons().constLast()->click();
            QTest::qWait(30);
            QVERIFY(dialog.isVisible());
            // Every text is the table's, never a key.
            QVERIFY(!dialog.panel()->titleLabel()->text().startsWith(QStringLiteral("update.")));
            for (const QString& text : buttonTexts(dialog))
                QVERIFY2(!text.startsWith(QStringLiteral("update.")), qPrintable(text));
            QImage image(dialog.size() * 2, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(2);
            image.fill(QColor(120, 140, 170));
            QPainter painter(&image);
            dialog.render(&painter, {}, {}, QWidget::DrawWindowBackground | QWidget::DrawChildren);
            shots << image;
        }
        int height = 0;
        for (const QImage& image : shots)
            height = std::max(height, image.height());
        QImage sheet(shots.size() * (shots.first().width() + 20) + 20, height + 40, QImage::Format_RGB32);
        sheet.fill(QColor(120, 140, 170));
        QPainter painter(&sheet);
        int x = 20;
        for (QImage image : shots) {
            image.setDevicePixelRatio(1);
            painter.drawImage(x, 20, image);
            x += image.width() + 20;
        }
        const QString name =
            QStringLiteral("update-dialog-gallery-%1.png").arg(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(sheet.save(QCoreApplication::applicationDirPath() + u'/' + name));
    }

    // A failure reads in the interface language, with what the system said kept as it said it.
    void failuresAreWordedInTheInterfaceLanguage() {
        MainWindowTestBed bed;
        bed.settings->setLanguage(AppLanguage::Ukrainian);
        const UpdateCheckResult failed = result(UpdateCheckResult::Status::Failed);
        QCOMPARE(UpdateDialog::failureText(bed.localization, failed),
                 QStringLiteral("Не вдалося прочитати стрічку оновлень: Connection refused"));
        UpdateCheckResult unknown = failed;
        unknown.problem = UpdateCheckResult::Problem::None;
        QCOMPARE(UpdateDialog::failureText(bed.localization, unknown), failed.reason);
        // A feed that is no appcast is described by its kind of fault, never by the parser's English.
        UpdateCheckResult broken = failed;
        broken.problem = UpdateCheckResult::Problem::NotAnAppcast;
        broken.detail = QStringLiteral("Opening and ending tag mismatch (line 9)");
        broken.feedFault = UpdateCheckResult::FeedFault::Malformed;
        broken.feedLine = 9;
        QCOMPARE(UpdateDialog::failureText(bed.localization, broken),
                 QStringLiteral("Стрічку оновлень пошкоджено в рядку 9."));
        broken.feedFault = UpdateCheckResult::FeedFault::NotRss;
        QCOMPARE(UpdateDialog::failureText(bed.localization, broken),
                 bed.localization.text(L10nKey::updateFailedNotRss));
        broken.feedFault = UpdateCheckResult::FeedFault::NoChannel;
        QCOMPARE(UpdateDialog::failureText(bed.localization, broken),
                 bed.localization.text(L10nKey::updateFailedNoChannel));
        // From a checker that names no fault, the detail is all there is to say.
        broken.feedFault = UpdateCheckResult::FeedFault::Unknown;
        QVERIFY(UpdateDialog::failureText(bed.localization, broken).endsWith(broken.detail));
    }

    // Download with no browser to take the page keeps the window and says why in one line; a
    // browser that takes it closes the window.
    void downloadWithoutBrowserSaysSo() {
        MainWindowTestBed bed;
        UpdateDialog dialog(bed.localization, *bed.settings);
        bool hasBrowser = false;
        std::function<void(bool)> pending;
        dialog.setPageOpener([&pending](const QUrl&, std::function<void(bool)> done) { pending = std::move(done); });
        dialog.present(result(UpdateCheckResult::Status::Newer), true);
        QVERIFY(dialog.openFailureLabel() && dialog.openFailureLabel()->isHidden());
        dialog.panel()->buttons().constLast()->click();
        QVERIFY(pending);
        // The browser answers later; the window waits for it.
        QVERIFY(dialog.isVisible());
        std::exchange(pending, nullptr)(hasBrowser);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.openFailureLabel()->isVisible());
        QCOMPARE(dialog.openFailureLabel()->text(), bed.localization.text(L10nKey::updateNoBrowser));
        // It stays said across a change of language, and goes with the next result.
        bed.settings->setLanguage(AppLanguage::Ukrainian);
        QVERIFY(dialog.openFailureLabel()->isVisible());
        dialog.present(result(UpdateCheckResult::Status::Newer), true);
        QVERIFY(dialog.openFailureLabel()->isHidden());
        hasBrowser = true;
        dialog.panel()->buttons().constLast()->click();
        std::exchange(pending, nullptr)(hasBrowser);
        QVERIFY(!dialog.isVisible());
        // An answer that comes after the window is gone is dropped.
        {
            auto late = std::make_unique<UpdateDialog>(bed.localization, *bed.settings);
            late->setPageOpener([&pending](const QUrl&, std::function<void(bool)> done) { pending = std::move(done); });
            late->present(result(UpdateCheckResult::Status::Newer), true);
            late->panel()->buttons().constLast()->click();
        }
        std::exchange(pending, nullptr)(false);
    }

    void notesArePlainTextOnly() {
        const QString notes = UpdateDialog::plainNotes(htmlNotes);
        QVERIFY(notes.contains(QStringLiteral("Folders remember their order.")));
        QVERIFY(notes.contains(QStringLiteral("Faster popups & tiles.")));
        QVERIFY(!notes.contains(u'<'));
        QVERIFY(!notes.contains(QStringLiteral("alert")));
        QVERIFY(!notes.contains(QStringLiteral("passwd")));
        QCOMPARE(UpdateDialog::plainNotes(QStringLiteral("  1 < 2, plain text\n")),
                 QStringLiteral("1 < 2, plain text"));
        QCOMPARE(UpdateDialog::plainNotes(QString(100'000, u'x')).size(), 20'000);
    }

    // Return downloads, Escape closes without opening anything; a download address the browser must
    // not be given leaves no Download button.
    void keysAndButtons() {
        MainWindowTestBed bed;
        UpdateDialog dialog(bed.localization, *bed.settings);
        QList<QUrl> opened;
        dialog.setPageOpener([&opened](const QUrl& url, const std::function<void(bool)>& done) {
            opened << url;
            done(true);
        });
        dialog.present(result(UpdateCheckResult::Status::Newer), false);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(dialog.notesView());
        QCOMPARE(dialog.notesView()->accessibleName(), QStringLiteral("Release Notes"));
        QCOMPARE(buttonTexts(dialog), (QStringList{QStringLiteral("Later"), QStringLiteral("Download")}));
        // Tab goes round the notes and both buttons.
        QSet<QWidget*> reached;
        for (int i = 0; i < 6; ++i) {
            reached << QApplication::focusWidget();
            QVERIFY(!QApplication::focusWidget()->accessibleName().isEmpty());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(reached.size(), 3);
        dialog.notesView()->setFocus();
        QTest::keyClick(dialog.notesView(), Qt::Key_Return);
        QCOMPARE(opened, (QList<QUrl>{QUrl(QStringLiteral("https://trellin.app/downloads/Trellin-0.2.0.zip"))}));
        QVERIFY(!dialog.isVisible());

        UpdateCheckResult unsafe = result(UpdateCheckResult::Status::Newer);
        unsafe.downloadURL = QStringLiteral("file:///usr/bin/xterm");
        dialog.present(unsafe, true);
        QCOMPARE(buttonTexts(dialog), QStringList{QStringLiteral("Later")});
        QTest::keyClick(dialog.panel(), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());

        dialog.present(result(UpdateCheckResult::Status::Newer), true);
        QTest::keyClick(dialog.panel(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(opened.size(), 1);
    }

    // A change of theme or language while the window shows is taken at once.
    void followsSettings() {
        MainWindowTestBed bed;
        bed.settings->setAppTheme(AppThemeMode::Light);
        UpdateDialog dialog(bed.localization, *bed.settings);
        dialog.present(result(UpdateCheckResult::Status::Current), true);
        const QColor light = dialog.palette().color(QPalette::Window);
        bed.settings->setAppTheme(AppThemeMode::Dark);
        bed.settings->setLanguage(AppLanguage::Ukrainian);
        QVERIFY(dialog.palette().color(QPalette::Window) != light);
        QCOMPARE(dialog.panel()->titleLabel()->text(), bed.localization.text(L10nKey::updateTitleCurrent));
        QVERIFY(dialog.panel()->titleLabel()->text() != QStringLiteral("You’re up to date"));
    }
};

QTEST_MAIN(UpdateDialogGalleryTest)
#include "UpdateDialogGalleryTest.moc"
