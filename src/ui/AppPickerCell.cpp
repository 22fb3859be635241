#include "AppPickerCell.h"

#include "platform/FileIconCache.h"
#include "platform/Scheduler.h"
#include "platform/Symbols.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/FocusRing.h"
#include "widgets/Fonts.h"
#include "widgets/Shapes.h"
#include "widgets/Theme.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr double cellRadius = 9;
constexpr double selectionLineWidth = 1.5;
constexpr double iconTop = 9;
constexpr double nameGap = 5;
constexpr double namePointSize = 10.5;
constexpr double checkmarkPointSize = 7;
constexpr double addedOpacity = 0.45;

void drawCentred(QPainter& painter, const QImage& image, const QPointF& centre) {
    painter.drawImage(QPointF(centre.x() - image.width() / 2.0, centre.y() - image.height() / 2.0), image);
}

} // namespace

AppPickerCell::AppPickerCell(const MainWindowEnvironment& environment, const AppItem& app, bool isAlreadyAdded,
                             std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent)
    , m_environment(environment)
    , m_app(app)
    , m_isAlreadyAdded(isAlreadyAdded)
    , m_action(std::move(action)) {
    // The grid is the keyboard's stop; the arrow keys move between its cells.
    setFocusPolicy(Qt::NoFocus);
    setCheckable(true);
    setFixedSize(cellWidth, cellHeight);
    setToolTip(app.name);
    setAccessibleName(app.name);
    setChecked(isAlreadyAdded);
    connect(this, &QAbstractButton::clicked, this, [this] {
        // A checkable button flips itself; the picker's selection decides what it shows.
        setChecked(m_isSelected || m_isAlreadyAdded);
        if (m_action)
            m_action();
    });
    retranslate();
}

AppPickerCell::~AppPickerCell() {
    if (m_iconLoad)
        m_iconLoad->cancel();
}

QSize AppPickerCell::sizeHint() const {
    return {cellWidth, cellHeight};
}

void AppPickerCell::setSelected(bool selected) {
    if (m_isSelected == selected)
        return;
    m_isSelected = selected;
    setChecked(selected || m_isAlreadyAdded);
    retranslate();
    update();
}

void AppPickerCell::setCurrent(bool current) {
    if (m_isCurrent == current)
        return;
    m_isCurrent = current;
    update();
}

void AppPickerCell::retranslate() {
    const Localization& localization = m_environment.localization;
    if (m_isAlreadyAdded)
        setAccessibleDescription(localization.text(L10nKey::appPickerAlreadyAdded));
    else if (m_isSelected)
        setAccessibleDescription(localization.text(L10nKey::appPickerSelected));
    else
        setAccessibleDescription(QString());
}

void AppPickerCell::loadIcon() {
    const QImage image = m_environment.icons.icon(m_app.path(), int(std::ceil(iconSize * devicePixelRatioF())));
    if (!image.isNull())
        m_icon = image;
    update();
}

void AppPickerCell::paintEvent(QPaintEvent*) {
    if (!m_icon && !m_iconLoad) {
        // Only cells scrolled into view are painted, so only their icons are read; after this paint.
        m_iconLoad = m_environment.scheduler.schedule(this, 0, [this] { loadIcon(); });
    }
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    const QPalette colors = palette();
    const QColor accent = colors.color(QPalette::Highlight);
    const QRectF cell = QRectF(rect()).adjusted(1, 1, -1, -1);
    const QPainterPath outline = Shapes::continuousRoundedRect(cell, cellRadius);
    if (m_isSelected) {
        QColor fill = accent;
        fill.setAlphaF(0.14f);
        painter.fillPath(outline, fill);
    } else if ((m_isHovered || isDown()) && !m_isAlreadyAdded) {
        painter.fillPath(outline, colors.color(QPalette::AlternateBase));
    }

    const QRectF icon((width() - iconSize) / 2.0, iconTop, iconSize, iconSize);
    painter.save();
    if (m_isAlreadyAdded)
        painter.setOpacity(addedOpacity);
    if (m_icon) {
        painter.drawImage(icon, *m_icon);
    } else if (const auto placeholder = Symbols::image(QStringLiteral("app.fill"), iconSize, false,
                                                       colors.color(QPalette::PlaceholderText))) {
        drawCentred(painter, *placeholder, icon.center());
    }
    QFont font = Fonts::rounded(namePointSize, QFont::Medium);
    painter.setFont(font);
    painter.setPen(colors.color(QPalette::Text));
    const QRectF nameRect(4, icon.bottom() + nameGap, width() - 8, QFontMetricsF(font).height());
    const QString name = QFontMetrics(font).elidedText(m_app.name, Qt::ElideRight, int(nameRect.width()));
    painter.drawText(nameRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, name);
    painter.restore();

    if (m_isSelected) {
        painter.setPen(QPen(accent, selectionLineWidth));
        painter.drawPath(outline);
    }
    if (m_isSelected || m_isAlreadyAdded) {
        // The badge sits on the icon's top right corner, ringed in the panel's colour to stand off it.
        const QPointF centre(icon.right() + 1, icon.top() + 1);
        const QRectF badge(centre.x() - badgeSize / 2, centre.y() - badgeSize / 2, badgeSize, badgeSize);
        painter.setPen(QPen(colors.color(QPalette::Base), 1.5));
        // A muted grey dark enough behind the white check mark in either appearance.
        const QColor muted = Theme::schemeOf(*this) == ColorScheme::Dark ? QColor(99, 99, 102) : QColor(142, 142, 147);
        painter.setBrush(m_isSelected ? accent : muted);
        painter.drawEllipse(badge);
        if (const auto check = Symbols::image(QStringLiteral("checkmark"), checkmarkPointSize, true, Qt::white))
            drawCentred(painter, *check, centre);
    }
    if (m_isCurrent)
        FocusRing::paint(painter, outline);
}

void AppPickerCell::enterEvent(QEnterEvent* event) {
    m_isHovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void AppPickerCell::leaveEvent(QEvent* event) {
    m_isHovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void AppPickerCell::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        update();
}
