#include "FolderPopupView.h"

#include "PopupAppIconView.h"
#include "PopupLayout.h"
#include "PopupNotice.h"
#include "PopupShape.h"
#include "PopupStyle.h"
#include "model/FolderLaunch.h"
#include "platform/FreedMemory.h"
#include "platform/LifetimeBound.h"
#include "platform/Scheduler.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/FolderGlyph.h"
#include "widgets/GlyphButton.h"
#include "widgets/PresentationEffect.h"
#include "widgets/ScrollView.h"
#include "widgets/Shapes.h"
#include "widgets/SpringAnimation.h"
#include "widgets/TextButton.h"
#include "widgets/TextLabel.h"
#include "widgets/Theme.h"

#include <QFontMetricsF>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr Spring kAppearSpring{.response = 0.35, .dampingFraction = 0.7};
constexpr Spring kTitleSpring{.response = 0.4, .dampingFraction = 0.8};
constexpr double kHiddenScale = 0.9;
// The spring's first frame. At its very start the card is wholly transparent: a first frame of
// nothing would keep the popup from showing until the animation's next tick.
constexpr int kFirstFrameMilliseconds = 16;

} // namespace

FolderPopupView::FolderPopupView(const PopupEnvironment& environment, Spacing spacing, AppFolder folder,
                                 DockEdge dockEdge, std::function<void()> onDismiss,
                                 std::function<void(bool)> onTogglePin, ColorScheme colorScheme, QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_spacing(spacing)
    , m_folder(std::move(folder))
    , m_dockEdge(dockEdge)
    , m_onDismiss(std::move(onDismiss))
    , m_onTogglePin(std::move(onTogglePin))
    , m_colorScheme(colorScheme)
    , m_appearance(colorScheme)
    , m_presentation(new SpringAnimation(kAppearSpring, 0.0, this))
    , m_headerFade(new SpringAnimation(kTitleSpring, 1.0, this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(
        m_environment.localization.format(QString::fromLatin1(L10nKey::popupAccessibleName), {m_folder.name}));
    connect(&m_environment.settings, &AppSettings::changed, this, &FolderPopupView::settingChanged);
    connect(m_presentation, &SpringAnimation::valueChanged, this, &FolderPopupView::setPresented);
    connect(m_headerFade, &SpringAnimation::valueChanged, this, [this](double value) {
        if (auto* effect = m_header ? qobject_cast<QGraphicsOpacityEffect*>(m_header->graphicsEffect()) : nullptr) {
            if (value >= 1.0 && !m_headerFade->state())
                m_header->setGraphicsEffect(nullptr);
            else
                effect->setOpacity(std::clamp(value, 0.0, 1.0));
        }
        update();
    });
    buildContent();
}

FolderPopupView::~FolderPopupView() {
    if (m_noticeExpiry)
        m_noticeExpiry->cancel();
}

int FolderPopupView::columnCount() const {
    return PopupLayout::columnCount(m_environment.settings.popupColumns(), m_folder.apps.size());
}

void FolderPopupView::settingChanged(AppSettings::Field field) {
    switch (field) {
    case AppSettings::Field::PopupShowTitle:
        buildContent();
        // A header that appears fades in; one that goes leaves at once.
        if (m_header) {
            auto* effect = new QGraphicsOpacityEffect(m_header);
            effect->setOpacity(0.0);
            m_header->setGraphicsEffect(effect);
            m_headerFade->setValue(0.0);
            m_headerFade->animateTo(1.0);
        }
        break;
    case AppSettings::Field::PopupColumns:
    case AppSettings::Field::PopupIconSize:
    case AppSettings::Field::PopupShowAppName:
    case AppSettings::Field::PopupPosition:
    case AppSettings::Field::Language:
        buildContent();
        break;
    case AppSettings::Field::PopupArrowOffset:
        m_outerShadow = {};
        Q_EMIT outlineChanged();
        update();
        break;
    case AppSettings::Field::PopupBlurStyle:
    case AppSettings::Field::PopupOpacity:
        update();
        break;
    default:
        break;
    }
}

void FolderPopupView::buildContent() {
    const AppSettings& settings = m_environment.settings;
    const Localization& texts = m_environment.localization;
    const bool hadFocus = focusWidget() != nullptr && isActiveWindow();
    for (QWidget* old : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete old;
    m_header = nullptr;
    m_glyph = nullptr;
    m_title = nullptr;
    m_pin = nullptr;
    m_openAll = nullptr;
    m_close = nullptr;
    m_cells.clear();
    m_notice = nullptr;
    m_grid = nullptr;
    m_emptyMessage = nullptr;
    m_openInMainWindow = nullptr;

    const PopupPalette palette = PopupPalette::forScheme(m_appearance);
    if (settings.popupShowTitle()) {
        m_header = new QWidget(this);
        m_glyph =
            new FolderGlyph(m_folder.emoji, m_colorScheme == ColorScheme::Dark ? QColor(Qt::white) : palette.title,
                            PopupLayout::glyphPoints, m_header);
        auto* title = new TextLabel({}, m_header);
        title->setFont(PopupStyle::titleFont());
        title->setTextColor(palette.title);
        m_title = title;
        m_title->setAccessibleName(m_folder.name);
        if (settings.popupPosition() == PopupPosition::Center) {
            m_pin = new GlyphButton(PopupPinButtonStyle::style(), QStringLiteral("pin"), m_header);
            m_pin->setRotation(45);
            m_pin->setAccessibleName(texts.text(QString::fromLatin1(L10nKey::popupPin)));
            connect(m_pin, &QAbstractButton::clicked, this, &FolderPopupView::togglePin);
        }
        if (!m_folder.apps.isEmpty()) {
            m_openAll = new GlyphButton(PopupPinButtonStyle::style(), QStringLiteral("arrow.up.forward.app"), m_header);
            m_openAll->setAccessibleName(texts.text(QString::fromLatin1(L10nKey::folderOpenAll)));
            m_openAll->setToolTip(m_openAll->accessibleName());
            connect(m_openAll, &QAbstractButton::clicked, this, &FolderPopupView::openAll);
        }
        m_close = new GlyphButton(PopupCloseButtonStyle{m_colorScheme}.style(), QStringLiteral("xmark"), m_header);
        m_close->setAccessibleName(texts.text(QString::fromLatin1(L10nKey::popupClose)));
        connect(m_close, &QAbstractButton::clicked, this, [this] {
            if (m_onDismiss)
                m_onDismiss();
        });
    }
    m_grid = new ScrollView(this);
    m_grid->setColorScheme(m_appearance);
    // A focused cell shows with a row's spacing around it, and the grid's ends with the first
    // and last rows.
    m_grid->setFocusMargin(int(PopupLayout::rowSpacing));
    if (m_folder.apps.isEmpty()) {
        auto* message = new TextLabel(texts.text(QString::fromLatin1(L10nKey::emptyFolderTitle)),
                                      {.alignment = Qt::AlignCenter}, this);
        message->setFont(PopupStyle::emptyFolderFont());
        message->setTextColor(palette.appName);
        m_emptyMessage = message;
        m_openInMainWindow = new TextButton(TextButton::Style::Borderless,
                                            texts.text(QString::fromLatin1(L10nKey::popupOpenInMainWindow)), this);
        m_openInMainWindow->setPalette(Theme::palette(m_appearance));
        connect(m_openInMainWindow, &QAbstractButton::clicked, this, [this] {
            Q_EMIT openInMainWindowRequested();
            if (m_onDismiss)
                m_onDismiss();
        });
    }
    for (const AppItem& app : m_folder.apps) {
        auto* cell = new PopupAppIconView(
            m_environment, app,
            [this] {
                // A pinned popup stays open after a launch.
                if (!m_isPinned && m_onDismiss)
                    m_onDismiss();
            },
            boundTo(this, [this, name = app.name] { showLaunchFailure(name); }), m_grid->content());
        cell->setColorScheme(m_appearance);
        // The next launch puts an earlier failure away; not on the press, so that nothing moves
        // under the pointer before the click is done.
        connect(cell, &QAbstractButton::clicked, this, &FolderPopupView::clearLaunchFailure);
        m_cells.append(cell);
    }
    if (!m_failedAppName.isEmpty())
        makeLaunchFailureNotice();
    if (m_pin && m_isPinned) {
        m_pin->setSymbol(QStringLiteral("pin.fill"));
        m_pin->setRotation(0);
        m_pin->setAccessibleName(texts.text(QString::fromLatin1(L10nKey::popupUnpin)));
    }
    layOutContent();
    for (QWidget* child : findChildren<QWidget*>())
        child->show();
    if (hadFocus)
        focusFirstControl();
}

double FolderPopupView::headerWidthNeeded() const {
    if (!m_title)
        return 0;
    const double text = std::ceil(QFontMetricsF(m_title->font()).horizontalAdvance(m_folder.name)) + 1;
    const double button = PopupLayout::headerButtonSide + PopupLayout::headerSpacing + PopupLayout::pinTrailingPadding;
    const double buttons = (m_pin ? button : 0.0) + (m_openAll ? button : 0.0);
    // Glyph, title, the flexible space at its least, "Open all", the pin and the close button.
    return PopupLayout::glyphSide + PopupLayout::headerSpacing + text + 2 * PopupLayout::headerSpacing + buttons +
           PopupLayout::closeSide;
}

void FolderPopupView::setAvailableSize(QSizeF size) {
    if (size == m_availableSize)
        return;
    m_availableSize = size;
    layOutContent();
}

void FolderPopupView::layOutContent() {
    const AppSettings& settings = m_environment.settings;
    const double inset = m_spacing.popupContentInset;
    const double gridSpacing = m_spacing.popupGridSpacing;
    const double iconSize = settings.popupIconSize();
    const double pad = PopupLayout::outerPadding;
    // The arrow's room goes on the arrow's side: below the grid for a bottom Dock, and beside
    // it for a side Dock, whose arrow would otherwise cover the content's edge.
    const bool aboveDock = settings.popupPosition() == PopupPosition::AboveDock;
    const double leftRoom = aboveDock && m_dockEdge == DockEdge::Left ? PopupLayout::arrowRoom : 0.0;
    const double rightRoom = aboveDock && m_dockEdge == DockEdge::Right ? PopupLayout::arrowRoom : 0.0;
    const double bottomRoom = aboveDock && m_dockEdge == DockEdge::Bottom ? PopupLayout::arrowRoom : 0.0;
    const QPointF origin(pad + inset + leftRoom, pad + inset);
    const double columnWidth = PopupLayout::columnWidth(iconSize);

    // As many columns as asked for and as the room allows, at least one.
    const double roomForContent = m_availableSize.width() - 2 * pad - 2 * inset - leftRoom - rightRoom;
    m_columns = std::min(columnCount(), PopupLayout::fittingColumns(roomForContent, iconSize, gridSpacing));
    const double gridWidth = PopupLayout::contentWidth(m_columns, iconSize, gridSpacing);
    // Wide enough for the whole title and for an empty folder's note, where the room allows.
    double wanted = std::max(gridWidth, headerWidthNeeded());
    if (m_emptyMessage)
        wanted = std::max(
            {wanted, double(m_emptyMessage->sizeHint().width()), double(m_openInMainWindow->sizeHint().width())});
    const double contentWidth = std::max(gridWidth, std::min(wanted, std::floor(roomForContent)));
    double y = 0;

    m_headerBottom = 0;
    if (m_title) {
        const double titleHeight = std::ceil(QFontMetricsF(m_title->font()).height());
        const double rowHeight =
            std::max({PopupLayout::glyphSide, titleHeight, PopupLayout::headerButtonSide, PopupLayout::closeSide});
        m_header->setGeometry(QRect(qRound(origin.x()), qRound(origin.y()), qRound(contentWidth), qRound(rowHeight)));
        const auto centredIn = [&](double x, QSizeF size) {
            return QRect(qRound(x), qRound((rowHeight - size.height()) / 2), qRound(size.width()),
                         qRound(size.height()));
        };
        m_glyph->setGeometry(centredIn(0, {PopupLayout::glyphSide, PopupLayout::glyphSide}));
        double trailing = contentWidth - PopupLayout::closeSide;
        m_close->setGeometry(centredIn(trailing, {PopupLayout::closeSide, PopupLayout::closeSide}));
        if (m_pin) {
            trailing -= PopupLayout::headerSpacing + PopupLayout::pinTrailingPadding + PopupLayout::headerButtonSide;
            m_pin->setGeometry(centredIn(trailing, {PopupLayout::headerButtonSide, PopupLayout::headerButtonSide}));
        }
        if (m_openAll) {
            trailing -= PopupLayout::headerSpacing + PopupLayout::pinTrailingPadding + PopupLayout::headerButtonSide;
            m_openAll->setGeometry(centredIn(trailing, {PopupLayout::headerButtonSide, PopupLayout::headerButtonSide}));
        }
        // Between the title and the buttons a flexible space of at least the row's spacing.
        const double titleX = PopupLayout::glyphSide + PopupLayout::headerSpacing;
        const double titleWidth = std::max(0.0, trailing - 2 * PopupLayout::headerSpacing - titleX);
        const QFontMetricsF metrics(m_title->font());
        m_title->setText(metrics.elidedText(m_folder.name, Qt::ElideRight, titleWidth));
        m_title->setGeometry(centredIn(titleX, {titleWidth, titleHeight}));
        y = rowHeight + m_spacing.popupSectionSpacing;
        m_headerBottom = inset + y;
        y += PopupLayout::dividerThickness + m_spacing.popupSectionSpacing;
    }
    // Above the grid: over a bottom Dock the card grows upward, and the icons stay where they are.
    if (m_notice) {
        const int height = m_notice->heightForWidth(qRound(contentWidth));
        m_notice->setGeometry(QRect(qRound(origin.x()), qRound(origin.y() + y), qRound(contentWidth), height));
        y += height + m_spacing.popupSectionSpacing;
    }

    double gridHeight = 0;
    if (m_emptyMessage) {
        const QSize message = m_emptyMessage->sizeHint(), button = m_openInMainWindow->sizeHint();
        m_emptyMessage->setGeometry(
            QRect(qRound(origin.x()), qRound(origin.y() + y), qRound(contentWidth), message.height()));
        m_openInMainWindow->setGeometry(QRect(qRound(origin.x() + (contentWidth - button.width()) / 2),
                                              qRound(origin.y() + y + message.height() + PopupLayout::emptyNoteSpacing),
                                              button.width(), button.height()));
        gridHeight = message.height() + PopupLayout::emptyNoteSpacing + button.height();
        y += gridHeight;
    }

    // The grid scrolls in the card's whole width, from just below the divider (or the card's
    // top) to just above the card's lower edge, so that rows cut off at either end show there is more.
    const double cellHeight = PopupAppIconView::cellHeight(settings);
    const qsizetype rows = (m_cells.size() + m_columns - 1) / m_columns;
    const double cellsHeight = rows > 0 ? rows * cellHeight + (rows - 1) * PopupLayout::rowSpacing : 0.0;
    const double overhang = PopupLayout::gridOverhang;
    const double above = (m_title || m_notice) ? m_spacing.popupSectionSpacing : inset - overhang;
    const double below = inset + (bottomRoom > 0 ? bottomRoom - PopupLayout::arrowHeight : 0.0) - overhang;
    const double gridLeft = (contentWidth - gridWidth) / 2 + inset - overhang;
    for (qsizetype i = 0; i < m_cells.size(); ++i) {
        const int row = int(i / m_columns), column = int(i % m_columns);
        const double x = gridLeft + column * (columnWidth + gridSpacing);
        const double top = above + row * (cellHeight + PopupLayout::rowSpacing);
        m_cells[i]->setGeometry(QRect(qRound(x), qRound(top - PopupAppIconView::margin), qRound(columnWidth),
                                      qRound(cellHeight + 2 * PopupAppIconView::margin)));
    }
    const double scrolled = rows > 0 ? above + cellsHeight + below : 0.0;
    double cardHeight = inset + y + cellsHeight + inset + bottomRoom;
    double viewport = scrolled;
    // Too tall for the room: the grid gives up what is too much, but keeps a row in view.
    const double excess = cardHeight - (m_availableSize.height() - 2 * pad);
    if (rows > 0 && excess > 0) {
        const double least = std::min(scrolled, above + cellHeight + PopupAppIconView::margin);
        viewport = std::max(least, scrolled - excess);
        cardHeight -= scrolled - viewport;
    }
    m_grid->setGeometry(QRect(qRound(pad + leftRoom + overhang), qRound(origin.y() + y - above),
                              qRound(contentWidth + 2 * inset - 2 * overhang), qRound(viewport)));
    m_grid->setContentHeight(qRound(scrolled));
    m_grid->setWheelStep(cellHeight + PopupLayout::rowSpacing);

    m_cardSize = QSizeF(inset * 2 + contentWidth + leftRoom + rightRoom, cardHeight);
    const QSize before = size();
    resize(fittingSize());
    updateGeometry();
    m_outerShadow = {};
    Q_EMIT outlineChanged();
    if (size() != before)
        Q_EMIT fittingSizeChanged();
    update();
}

QSize FolderPopupView::fittingSize() const {
    const double pad = PopupLayout::outerPadding;
    return {int(std::ceil(m_cardSize.width() + 2 * pad)), int(std::ceil(m_cardSize.height() + 2 * pad))};
}

QRectF FolderPopupView::cardRect() const {
    return {QPointF(PopupLayout::outerPadding, PopupLayout::outerPadding), m_cardSize};
}

QPainterPath FolderPopupView::cardOutline() const {
    if (m_environment.settings.popupPosition() == PopupPosition::AboveDock)
        return PopupShape{m_dockEdge, PopupLayout::cornerRadius, PopupLayout::arrowWidth, PopupLayout::arrowHeight,
                          m_environment.settings.popupArrowOffset()}
            .path(cardRect());
    return Shapes::continuousRoundedRect(cardRect(), PopupLayout::cornerRadius);
}

QRegion FolderPopupView::cardMask() const {
    return QRegion(cardOutline().toFillPolygon().toPolygon());
}

void FolderPopupView::setAppearance(ColorScheme appearance) {
    if (appearance == m_appearance)
        return;
    m_appearance = appearance;
    // The glyph and the close button are drawn in the scheme too: they follow the new theme.
    m_colorScheme = appearance;
    buildContent();
}

void FolderPopupView::openAll() {
    clearLaunchFailure();
    FolderLaunch::launchAll(m_folder, m_environment.workspace, boundTo(this, [this](const QStringList& failed) {
                                if (!failed.isEmpty())
                                    showLaunchFailure(failed.join(QStringLiteral(", ")));
                            }));
    // As after one launch: a pinned popup stays open.
    if (!m_isPinned && m_onDismiss)
        m_onDismiss();
}

void FolderPopupView::showLaunchFailure(const QString& appName) {
    m_failedAppName = appName;
    delete m_notice;
    makeLaunchFailureNotice();
    layOutContent();
    m_notice->show();
    m_notice->announce();
    if (m_noticeExpiry)
        m_noticeExpiry->cancel();
    m_noticeExpiry =
        m_environment.scheduler.schedule(this, launchFailureNoticeDuration, [this] { clearLaunchFailure(); });
}

void FolderPopupView::makeLaunchFailureNotice() {
    // The name kept on one line where it fits: a break goes before it, not inside it.
    QString name = QFontMetricsF(PopupStyle::appNameFont())
                       .elidedText(m_failedAppName, Qt::ElideMiddle, PopupLayout::noticeNameWidth);
    name.replace(u' ', QChar::Nbsp);
    m_notice = new PopupNotice(
        m_environment.localization.format(QString::fromLatin1(L10nKey::popupLaunchFailed), {name}), m_appearance, this);
}

void FolderPopupView::clearLaunchFailure() {
    if (m_noticeExpiry)
        m_noticeExpiry->cancel();
    m_noticeExpiry.reset();
    m_failedAppName.clear();
    if (!m_notice)
        return;
    delete m_notice;
    m_notice = nullptr;
    layOutContent();
}

void FolderPopupView::togglePin() {
    clearLaunchFailure();
    m_isPinned = !m_isPinned;
    const Localization& texts = m_environment.localization;
    m_pin->setSymbol(m_isPinned ? QStringLiteral("pin.fill") : QStringLiteral("pin"));
    m_pin->setRotation(m_isPinned ? 0 : 45);
    m_pin->setAccessibleName(texts.text(QString::fromLatin1(m_isPinned ? L10nKey::popupUnpin : L10nKey::popupPin)));
    if (m_onTogglePin)
        m_onTogglePin(m_isPinned);
}

void FolderPopupView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_isPresented)
        return;
    if (m_environment.settings.popupAnimationStyle() == PopupAnimation::None) {
        m_isPresented = true;
        return;
    }
    // Scaled and faded in: the effect draws the card and its children until the spring rests.
    m_effect = new PresentationEffect(this);
    m_effect->setCentre(cardRect().center());
    setPresented(0.0);
    setGraphicsEffect(m_effect);
    m_isPresented = true;
    m_presentation->animateTo(1.0);
    if (m_presentation->state() == QAbstractAnimation::Running)
        m_presentation->setCurrentTime(kFirstFrameMilliseconds);
}

void FolderPopupView::setPresented(double progress) {
    if (!m_effect)
        return;
    if (progress >= 1.0 && !m_presentation->state()) {
        setGraphicsEffect(nullptr); // deletes the effect
        // Each frame of the animation was a picture of the whole card; the last goes once painted.
        QTimer::singleShot(0, this, [] { FreedMemory::giveBack(); });
        return;
    }
    m_effect->setOpacity(progress);
    m_effect->setScale(kHiddenScale + (1.0 - kHiddenScale) * progress);
}

void FolderPopupView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const PopupPalette palette = PopupPalette::forScheme(m_appearance);
    const QPainterPath outline = cardOutline();

    if (m_environment.translucentWindows) {
        if (m_shadowsFor != size() || m_outerShadow.isNull()) {
            m_outerShadow = Shadow::render(outline, palette.outerShadow);
            m_innerShadow = Shadow::render(outline, palette.innerShadow);
            m_shadowsFor = size();
        }
        // The shadows fall around the card, not through its translucent fill. They are cut out on
        // a layer of their own, smoothly along the outline: a clip would cut pixel by pixel and
        // leave dark steps along the card's rounded corners.
        const QRect area = event->rect();
        const qreal ratio = devicePixelRatioF();
        QImage layer(area.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        layer.setDevicePixelRatio(ratio);
        layer.fill(Qt::transparent);
        QPainter shadows(&layer);
        shadows.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        shadows.translate(-area.topLeft());
        Shadow::paint(shadows, outline, m_outerShadow, palette.outerShadow);
        Shadow::paint(shadows, outline, m_innerShadow, palette.innerShadow);
        shadows.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        shadows.fillPath(outline, Qt::black);
        shadows.end();
        painter.drawImage(area.topLeft(), layer);
    }
    const AppSettings& settings = m_environment.settings;
    const QColor fill = PopupStyle::materialFill(settings.popupBlurStyle(), settings.popupOpacity(), m_appearance,
                                                 m_environment.translucentWindows);
    // Without a compositor the window is cut to the card's mask, a shape of whole pixels, and
    // whatever the view leaves see-through inside it shows black: the smoothed edge of the fill
    // would leave a dark rim along the corners. The mask is filled whole first.
    if (!m_environment.translucentWindows)
        for (const QRect& part : cardMask())
            painter.fillRect(part, fill);
    painter.fillPath(outline, fill);
    painter.setPen(QPen(palette.stroke, 1.0));
    painter.drawPath(outline);

    if (m_headerBottom > 0) {
        const double inset = m_spacing.popupContentInset;
        const QRectF card = m_header ? QRectF(m_header->x() - inset, PopupLayout::outerPadding,
                                              m_header->width() + 2 * inset, m_cardSize.height())
                                     : cardRect();
        QColor divider = palette.divider;
        divider.setAlphaF(divider.alphaF() * float(std::clamp(m_headerFade->value(), 0.0, 1.0)));
        painter.fillRect(QRectF(card.left() + inset, card.top() + m_headerBottom, card.width() - 2 * inset, 1.0),
                         divider);
    }
    if (!m_painted) {
        m_painted = true;
        Q_EMIT firstFramePainted();
    }
}

void FolderPopupView::focusFirstControl() {
    if (!m_cells.isEmpty()) {
        m_cells.first()->setFocusPolicy(Qt::TabFocus);
        if (m_focusRingAtOpening)
            for (PopupAppIconView* cell : m_cells)
                cell->setFocusRingVisible(true);
        m_cells.first()->setFocus(Qt::OtherFocusReason);
    } else if (m_openInMainWindow) {
        m_openInMainWindow->setFocus(Qt::OtherFocusReason);
    } else if (m_close) {
        m_close->setFocus(Qt::OtherFocusReason);
    } else {
        setFocus(Qt::OtherFocusReason);
    }
}

QList<QWidget*> FolderPopupView::focusChain() const {
    // The grid is one stop (the cell last focused), then the pin and close buttons.
    QList<QWidget*> chain;
    QWidget* current = nullptr;
    for (PopupAppIconView* cell : m_cells)
        if (cell->hasFocus() || cell->focusPolicy() != Qt::NoFocus)
            current = cell;
    if (current)
        chain.append(current);
    if (m_openInMainWindow)
        chain.append(m_openInMainWindow);
    if (m_openAll)
        chain.append(m_openAll);
    if (m_pin)
        chain.append(m_pin);
    if (m_close)
        chain.append(m_close);
    return chain;
}

bool FolderPopupView::focusNextPrevChild(bool next) {
    const QList<QWidget*> chain = focusChain();
    if (chain.isEmpty())
        return false;
    const qsizetype at = chain.indexOf(focusWidget());
    const qsizetype count = chain.size();
    const qsizetype to = at < 0 ? 0 : (at + (next ? 1 : count - 1)) % count;
    for (PopupAppIconView* cell : m_cells)
        cell->setFocusRingVisible(true);
    chain[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void FolderPopupView::moveFocus(int key) {
    const qsizetype count = m_cells.size();
    if (count == 0)
        return;
    qsizetype at = -1;
    for (qsizetype i = 0; i < count; ++i)
        if (m_cells[i]->hasFocus())
            at = i;
    qsizetype to = 0;
    if (at >= 0) {
        const int columns = m_columns;
        const qsizetype rows = (count + columns - 1) / columns;
        const qsizetype row = at / columns, column = at % columns;
        switch (key) {
        case Qt::Key_Left:
            to = (at + count - 1) % count;
            break;
        case Qt::Key_Right:
            to = (at + 1) % count;
            break;
        case Qt::Key_Up:
        case Qt::Key_Down: {
            const qsizetype nextRow = (row + (key == Qt::Key_Down ? 1 : rows - 1)) % rows;
            to = std::min(nextRow * columns + column, count - 1);
            break;
        }
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            // As many rows as the grid shows, without wrapping around.
            const double pitch = PopupAppIconView::cellHeight(m_environment.settings) + PopupLayout::rowSpacing;
            const qsizetype page = std::max<qsizetype>(1, qsizetype(m_grid->height() / pitch));
            const qsizetype nextRow =
                std::clamp<qsizetype>(row + (key == Qt::Key_PageDown ? page : -page), 0, rows - 1);
            to = std::min(nextRow * columns + column, count - 1);
            break;
        }
        case Qt::Key_Home:
            to = 0;
            break;
        case Qt::Key_End:
            to = count - 1;
            break;
        }
    }
    // The focused cell is the grid's one stop in the Tab order.
    for (PopupAppIconView* cell : m_cells) {
        cell->setFocusPolicy(Qt::NoFocus);
        cell->setFocusRingVisible(true);
    }
    m_cells[to]->setFocusPolicy(Qt::TabFocus);
    m_cells[to]->setFocus(Qt::OtherFocusReason);
}

void FolderPopupView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        if (m_onDismiss)
            m_onDismiss();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        clearLaunchFailure();
        moveFocus(event->key());
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void FolderPopupView::mousePressEvent(QMouseEvent* event) {
    // The panel moves when its background is dragged.
    if (event->button() == Qt::LeftButton)
        m_dragOffset = event->globalPosition() - window()->pos();
    QWidget::mousePressEvent(event);
}

void FolderPopupView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        window()->move((event->globalPosition() - m_dragOffset).toPoint());
    QWidget::mouseMoveEvent(event);
}
