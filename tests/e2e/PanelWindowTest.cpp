// The kit's small windows (the icon picker, the colour picker) on a real X server, as a person
// sees them over a window: with no compositor the window is cut to the panel, so its corners show
// what lies below rather than black; with a compositor it is see-through around the panel and
// casts a shadow. The screens are kept next to the test as panel-window-*.png.
#include "MainWindowTestBed.h"
#include "platform/linux/QtScreens.h"
#include "ui/CustomColorPickerPopup.h"
#include "ui/IconPickerPopover.h"
#include "widgets/Theme.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

namespace {

const QColor below(230, 0, 200);

bool near(const QColor& a, const QColor& b, int tolerance = 12) {
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

QImage screenShot() {
    QApplication::processEvents();
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class PanelWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_bed = std::make_unique<MainWindowTestBed>();
        // A plain opaque window under the panels, of a colour nothing in them has.
        m_below = std::make_unique<QWidget>();
        QPalette palette = Theme::palette(ColorScheme::Light);
        palette.setColor(QPalette::Window, below);
        m_below->setPalette(palette);
        m_below->setAutoFillBackground(true);
        m_below->setWindowFlag(Qt::FramelessWindowHint);
        m_below->setGeometry(40, 40, 760, 620);
        m_anchor = new QPushButton(QStringLiteral("Glyph"), m_below.get());
        m_anchor->setGeometry(60, 60, 80, 28);
        m_below->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_below.get()));
    }
    void cleanup() {
        m_below.reset();
        m_bed.reset();
        if (m_compositor) {
            m_compositor->terminate();
            m_compositor->waitForFinished(5000);
            m_compositor.reset();
        }
    }

    void withoutCompositorTheWindowTakesThePanelsShape() {
        QVERIFY2(!QtScreens().showsTranslucentWindows(), "this case wants a desktop without compositor");
        // The pickers follow the window they open from, here an opaque one.
        auto* icons = new IconPickerPopover(QStringLiteral("leaf"), {}, m_below.get());
        icons->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(!icons->isTranslucent());
        icons->popUp(m_anchor);
        QVERIFY(QTest::qWaitForWindowExposed(icons));
        QCOMPARE(icons->panelRect(), icons->rect());
        QTest::qWait(200);
        const QImage shot = screenShot();
        shot.save(QCoreApplication::applicationDirPath() + QStringLiteral("/panel-window-shaped.png"));
        const QRect frame = icons->geometry();
        // The very corner is outside the rounded panel: the window below shows there, not black.
        for (const QPoint corner : {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()}) {
            const QColor pixel = shot.pixelColor(corner);
            QVERIFY2(near(pixel, below), qPrintable(QStringLiteral("corner shows %1").arg(pixel.name())));
        }
        // The panel itself is drawn whole: its fill along the edges, its hairline at the middle of the top.
        const QColor base = icons->palette().color(QPalette::Base);
        QVERIFY(near(shot.pixelColor(frame.center().x(), frame.top() + 4), base));
        QVERIFY(!near(shot.pixelColor(frame.center().x(), frame.top()), below));
        icons->close();

        auto* colours =
            new CustomColorPickerPopup(Qt::red, CustomColorPickerPopup::defaultSwatches(), {}, m_below.get());
        colours->setAttribute(Qt::WA_DeleteOnClose);
        // It opens lined up with the anchor's right edge: room for it over the window below.
        m_anchor->move(400, 60);
        colours->popUp(m_anchor);
        QVERIFY(QTest::qWaitForWindowExposed(colours));
        QTest::qWait(200);
        const QImage colourShot = screenShot();
        colourShot.save(QCoreApplication::applicationDirPath() + QStringLiteral("/panel-window-shaped-colours.png"));
        const QRect colourFrame = colours->geometry();
        QVERIFY2(near(colourShot.pixelColor(colourFrame.topLeft()), below),
                 qPrintable(colourShot.pixelColor(colourFrame.topLeft()).name()));
        QVERIFY(near(colourShot.pixelColor(colourFrame.bottomRight()), below));
        colours->close();
    }

    void withCompositorThePanelCastsAShadow() {
        const QString xcompmgr = QStandardPaths::findExecutable(QStringLiteral("xcompmgr"));
        if (xcompmgr.isEmpty())
            QSKIP("xcompmgr is not installed");
        m_compositor = std::make_unique<QProcess>();
        m_compositor->start(xcompmgr, {});
        QVERIFY(m_compositor->waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QtScreens().showsTranslucentWindows(), 5000);

        auto* icons = new IconPickerPopover(QStringLiteral("leaf"), {}, m_below.get());
        icons->setAttribute(Qt::WA_DeleteOnClose);
        icons->setTranslucent(true);
        icons->popUp(m_anchor);
        QVERIFY(QTest::qWaitForWindowExposed(icons));
        QVERIFY(icons->shadowMargin() > 0);
        // The panel, not the window around it, lines up with the control that opened it.
        const QRect panel = icons->panelRect().translated(icons->pos());
        QCOMPARE(panel.left(), m_anchor->mapToGlobal(QPoint(0, 0)).x());
        QTest::qWait(300);
        const QImage shot = screenShot();
        shot.save(QCoreApplication::applicationDirPath() + QStringLiteral("/panel-window-composited.png"));
        const QRect frame = icons->geometry();
        // Around the panel the window below shows through; just under the panel it is shaded, not black.
        QVERIFY2(near(shot.pixelColor(frame.topLeft()), below), qPrintable(shot.pixelColor(frame.topLeft()).name()));
        const QColor shade = shot.pixelColor(panel.center().x(), panel.bottom() + 6);
        QVERIFY2(shade.red() < below.red() - 8 && shade.red() > 80, qPrintable(shade.name()));
        QVERIFY(near(shot.pixelColor(panel.topLeft()), below, 40));
        QVERIFY(near(shot.pixelColor(panel.center().x(), panel.top() + 4), icons->palette().color(QPalette::Base)));

        // A click on the shadow is a click beside the panel: the popup closes.
        QPointer<IconPickerPopover> open(icons);
        QTest::mouseClick(icons, Qt::LeftButton, {}, QPoint(2, 2));
        QTRY_VERIFY(!open);
    }

private:
    std::unique_ptr<MainWindowTestBed> m_bed;
    std::unique_ptr<QWidget> m_below;
    QPushButton* m_anchor = nullptr;
    std::unique_ptr<QProcess> m_compositor;
};

QTEST_MAIN(PanelWindowTest)
#include "PanelWindowTest.moc"
