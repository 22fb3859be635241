#include "PopupAppIconView.h"

#include "PopupLayout.h"
#include "PopupStyle.h"
#include "platform/Console.h"
#include "platform/FileIconCache.h"
#include "platform/LifetimeBound.h"
#include "platform/Scheduler.h"
#include "platform/Workspace.h"
#include "settings/AppSettings.h"
#include "widgets/FocusRing.h"
#include "widgets/SpringAnimation.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr Spring kHoverSpring{.response = 0.2, .dampingFraction = 1.0};

} // namespace

PopupAppIconView::PopupAppIconView(const PopupEnvironment& environment, AppItem app, std::function<void()> onLaunch,
                                   std::function<void()> onLaunchFailed, QWidget* parent)
    : QAbstractButton(parent)
    , m_environment(environment)
    , m_app(std::move(app))
    , m_onLaunch(std::move(onLaunch))
    , m_onLaunchFailed(std::move(onLaunchFailed))
    , m_scale(new SpringAnimation(kHoverSpring, 1.0, this)) {
    const double iconSize = m_environment.settings.popupIconSize();
    m_appIcon = m_environment.icons.icon(m_app.path(), qMax(1, qRound(iconSize * devicePixelRatioF())));
    setAccessibleName(m_app.name);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    connect(this, &QAbstractButton::clicked, this, &PopupAppIconView::launch);
    connect(m_scale, &SpringAnimation::valueChanged, this, qOverload<>(&QWidget::update));
}

double PopupAppIconView::cellHeight(const AppSettings& settings) {
    double height = settings.popupIconSize();
    if (settings.popupShowAppName())
        height += PopupLayout::iconNameSpacing + std::ceil(QFontMetricsF(PopupStyle::appNameFont()).height());
    return height;
}

double PopupAppIconView::iconScale() const {
    return m_scale->value();
}

void PopupAppIconView::setColorScheme(ColorScheme scheme) {
    m_colorScheme = scheme;
    update();
}

void PopupAppIconView::setFocusRingVisible(bool visible) {
    m_focusRingVisible = visible;
    update();
}

void PopupAppIconView::launch() {
    // A popup rebuilt since is not this one's to close.
    const auto launched = boundTo(this, [this] {
        m_environment.scheduler.schedule(this, 0, [this] {
            if (m_onLaunch)
                m_onLaunch();
        });
    });
    Workspace::OpenConfiguration configuration;
    configuration.activates = true;
    m_environment.workspace.openApplication(
        m_app.path(), configuration,
        [launched, name = m_app.name, failed = m_onLaunchFailed](const std::optional<QString>& error) {
            if (error) {
                Console::printLine(QStringLiteral("[PopupAppIconView] Failed to launch %1: %2").arg(name, *error));
                // The popup says so, even when this cell was rebuilt since.
                if (failed)
                    failed();
                return;
            }
            launched();
        });
}

void PopupAppIconView::setHovered(bool hovered) {
    if (hovered == m_isHovered)
        return;
    m_isHovered = hovered;
    m_scale->animateTo(hovered ? PopupLayout::hoverScale : 1.0);
}

void PopupAppIconView::enterEvent(QEnterEvent* event) {
    setHovered(true);
    QAbstractButton::enterEvent(event);
}

void PopupAppIconView::leaveEvent(QEvent* event) {
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

void PopupAppIconView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        animateClick();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The grid moves the focus.
        event->ignore();
        return;
    default:
        QAbstractButton::keyPressEvent(event);
    }
}

QRectF PopupAppIconView::iconRect() const {
    const double iconSize = m_environment.settings.popupIconSize();
    return {(width() - iconSize) / 2, margin, iconSize, iconSize};
}

void PopupAppIconView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    const QRectF icon = iconRect();
    painter.save();
    painter.translate(icon.center());
    painter.scale(iconScale(), iconScale());
    painter.translate(-icon.center());
    painter.drawImage(icon, m_appIcon);
    painter.restore();

    if (m_environment.settings.popupShowAppName()) {
        const QFont font = PopupStyle::appNameFont();
        const QFontMetricsF metrics(font);
        const QRectF line(0, icon.bottom() + PopupLayout::iconNameSpacing, width(), std::ceil(metrics.height()));
        painter.setFont(font);
        painter.setPen(PopupPalette::forScheme(m_colorScheme).appName);
        painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                         metrics.elidedText(m_app.name, Qt::ElideRight, line.width()));
    }
    if (hasFocus() && m_focusRingVisible) {
        QPainterPath ring;
        ring.addRoundedRect(icon.adjusted(-3, -3, 3, 3), 12, 12);
        FocusRing::paint(painter, ring);
    }
}
