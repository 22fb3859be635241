#include "FocusRing.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPen>
#include <QPointer>
#include <QWidget>

namespace {

// Which widget last took focus from the keyboard. One widget has focus at a time, and a widget
// keeps it until another takes it or its window goes to the back.
struct FocusOrigin {
    QPointer<const QWidget> widget;
    bool keyboard = false;
    bool lastInputWasKeyboard = false;
};

FocusOrigin& origin() {
    static FocusOrigin value;
    return value;
}

// Watches every focus change and every key and button press of the application.
class FocusOriginTracker final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        FocusOrigin& state = origin();
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            state.lastInputWasKeyboard = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
            state.lastInputWasKeyboard = false;
            break;
        case QEvent::FocusIn:
            if (object->isWidgetType())
                take(state, static_cast<const QWidget*>(object), static_cast<QFocusEvent*>(event)->reason());
            break;
        default:
            break;
        }
        return false;
    }

private:
    static void take(FocusOrigin& state, const QWidget* widget, Qt::FocusReason reason) {
        switch (reason) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            state.keyboard = true;
            break;
        case Qt::MouseFocusReason:
            state.keyboard = false;
            break;
        case Qt::ActiveWindowFocusReason:
            // The same control again, as it was before its window went to the back.
            if (state.widget == widget)
                return;
            state.keyboard = false;
            break;
        default:
            // Focus the program moves on (arrow keys in a grid, a dialog's first field) shows a
            // ring when the keyboard was what the user last touched.
            state.keyboard = state.lastInputWasKeyboard;
            break;
        }
        state.widget = widget;
    }
};

void installTracker() {
    if (auto* application = QCoreApplication::instance())
        application->installEventFilter(new FocusOriginTracker(application));
}
Q_COREAPP_STARTUP_FUNCTION(installTracker)

QPainterPath band(const QPainterPath& outline, double outset) {
    QPainterPathStroker stroker;
    stroker.setWidth(2 * outset);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(outline).united(outline).simplified();
}

QPainterPath inset(const QPainterPath& outline, double by) {
    QPainterPathStroker stroker;
    stroker.setWidth(2 * by);
    stroker.setJoinStyle(Qt::RoundJoin);
    return outline.subtracted(stroker.createStroke(outline)).simplified();
}

} // namespace

bool FocusRing::shows(const QWidget& widget) {
    const FocusOrigin& state = origin();
    return widget.hasFocus() && state.widget == &widget && state.keyboard;
}

QColor FocusRing::color(const QPalette& palette) {
    const bool dark = palette.color(QPalette::Window).lightness() < 128;
    return dark ? QColor(120, 180, 255) : QColor(0, 72, 200);
}

QColor FocusRing::color() {
    return QColor::fromRgbF(0.0f, 0.478f, 1.0f, 0.85f);
}

void FocusRing::paint(QPainter& painter, const QPainterPath& outline) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(color(), 2.0));
    painter.drawPath(outline);
    painter.restore();
}

void FocusRing::paintAround(QPainter& painter, const QPainterPath& outline, const QPalette& palette) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(1.0);
    painter.fillPath(band(outline, gap + width).subtracted(band(outline, gap)), color(palette));
    painter.restore();
}

void FocusRing::paintInside(QPainter& painter, const QPainterPath& outline, const QPalette& palette) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(1.0);
    const QPainterPath inner = inset(outline, width);
    painter.fillPath(outline.subtracted(inner), color(palette));
    painter.fillPath(inner.subtracted(inset(outline, width + gap)), palette.color(QPalette::Base));
    painter.restore();
}
