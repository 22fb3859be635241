#include "PopupPanel.h"

#include "FolderPopupView.h"
#include "platform/FreedMemory.h"
#include "platform/Screens.h"
#include "platform/WindowLevels.h"
#include "widgets/Theme.h"

#include <QEvent>
#include <QPropertyAnimation>
#include <QRegion>
#include <QTimer>

namespace {

// How long a visible panel takes to glide to a new frame.
constexpr int kGlideMilliseconds = 150;

} // namespace

PopupPanel::PopupPanel(const Screens& screens, WindowLevels& levels, bool translucent)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint)
    , m_screens(screens)
    , m_levels(levels)
    , m_translucent(translucent)
    , m_glide(new QPropertyAnimation(this, "geometry", this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11NetWmWindowTypeUtility);
    setGeometry(0, 0, 260, 300);
    m_target = geometry();
    m_glide->setDuration(kGlideMilliseconds);
    m_glide->setEasingCurve(QEasingCurve::OutCubic);
}

PopupPanel::~PopupPanel() = default;

void PopupPanel::setContentView(FolderPopupView* view) {
    delete m_content;
    m_content = view;
    view->setParent(this);
    view->move(0, 0);
    view->setAppearance(m_appearance);
    Theme::applyToToolTips(m_appearance);
    setWindowTitle(view->folder().name);
    setAccessibleName(view->accessibleName());
    connect(view, &FolderPopupView::outlineChanged, this, &PopupPanel::updateMask);
    view->show();
    updateMask();
}

void PopupPanel::setLevel(Level level) {
    m_level = level;
    if (!isVisible())
        return;
    m_levels.setLevel(winId(), int(level));
    if (level == Level::Status)
        raise();
}

void PopupPanel::setAppearance(ColorScheme appearance) {
    m_appearance = appearance;
    Theme::applyToToolTips(appearance);
    if (m_content)
        m_content->setAppearance(appearance);
}

QRectF PopupPanel::frame() const {
    return m_screens.toYUp(m_target);
}

void PopupPanel::setFrame(const QRectF& frame, bool animate) {
    m_target = m_screens.toWindowGeometry(frame);
    m_glide->stop();
    if (animate && isVisible() && geometry() != m_target) {
        m_glide->setStartValue(geometry());
        m_glide->setEndValue(m_target);
        m_glide->start();
    } else {
        setGeometry(m_target);
    }
    updateMask();
}

void PopupPanel::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // A move of our own lands on the target, and a glide passes through frames of its own; any
    // other move is the user's drag: the frame follows the window to where it is now.
    if (!isVisible() || m_glide->state() == QAbstractAnimation::Running || pos() == m_target.topLeft())
        return;
    m_target.moveTopLeft(pos());
    Q_EMIT movedAway();
}

void PopupPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        Q_EMIT deactivated();
}

void PopupPanel::orderFront() {
    // The level is the window's from before it is mapped: other helpers see it as it appears.
    m_levels.setLevel(winId(), int(m_level));
    show();
    raise();
    activateWindow();
    if (m_content)
        m_content->focusFirstControl();
}

void PopupPanel::orderOut() {
    m_glide->stop();
    hide();
    // A closed popup keeps neither its content nor a window-system buffer: helpers wait with it
    // closed most of the time. (The content may be what asked for the close, so it goes later.)
    if (m_content)
        m_content->deleteLater();
    m_content = nullptr;
    if (testAttribute(Qt::WA_WState_Created))
        m_levels.forget(winId());
    destroy();
    QTimer::singleShot(0, [] { FreedMemory::giveBack(); });
}

void PopupPanel::updateMask() {
    // Without a compositor, see-through pixels would show black: the window takes the card's shape.
    if (m_translucent || !m_content)
        return;
    setMask(m_content->cardMask());
}
