#include "TilePreviewStrip.h"

#include "TileColorHex.h"
#include "platform/Clock.h"
#include "platform/FileIconCache.h"
#include "platform/Symbols.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "tile/TilePainter.h"
#include "widgets/FocusRing.h"
#include "widgets/Fonts.h"
#include "widgets/SpringAnimation.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr Spring selectionSpring{0.34, 0.84};
constexpr Spring dragSpring{0.28, 0.86};
constexpr double topPadding = 14;
constexpr double bottomPadding = 12;
constexpr double nameHeight = 17;
constexpr double countHeight = 15;
constexpr double labelGap = 4;
// A press that moves less than this is a click, not a drag.
constexpr double dragSlop = 4;
// How far ahead a release's speed is projected to predict where the swipe would end.
constexpr double projectionSeconds = 0.2;
// Moves further apart than this tell nothing about the speed at release.
constexpr double staleMoveSeconds = 0.1;
// The visible tile's share of its image (the painter leaves 44 of 512 points around it).
constexpr double tileInset = 44.0 / 512.0;

// The tile's outline as the painter draws it: circular corners of the style's radius.
QPainterPath roundedTile(const QRectF& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

double tileAreaHeight() {
    return std::ceil(TilePreviewStrip::tileSide * TilePreviewStrip::previewScale);
}

// Gives the strip the selected folder's name as its value.
class StripAccessible final : public QAccessibleWidget {
public:
    explicit StripAccessible(TilePreviewStrip* strip)
        : QAccessibleWidget(strip, QAccessible::List) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            const auto* strip = static_cast<const TilePreviewStrip*>(widget());
            const int index = strip->selectedIndex();
            return index >= 0 && index < strip->folders().size() ? strip->folders().at(index).name : QString();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* stripAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TilePreviewStrip") && object && object->isWidgetType())
        return new StripAccessible(static_cast<TilePreviewStrip*>(object));
    return nullptr;
}

} // namespace

TilePreviewStrip::TilePreviewStrip(const MainWindowEnvironment& environment, QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_position(new SpringAnimation(selectionSpring, 0, this))
    , m_drag(new SpringAnimation(dragSpring, 0, this)) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(stripAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_position, &SpringAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    connect(m_drag, &SpringAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    connect(&environment.settings, &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::AppTheme || field == AppSettings::Field::TileIconPadding) {
            m_images.clear();
            update();
        }
    });
}

void TilePreviewStrip::setFolders(const QList<AppFolder>& folders, int selectedIndex) {
    m_folders = folders;
    // Every folder's picture may have changed with it; drawing again is cheaper than comparing.
    m_images.clear();
    const int index = folders.isEmpty() ? -1 : std::clamp(selectedIndex, 0, int(folders.size()) - 1);
    moveTo(index, isVisible());
    update();
}

void TilePreviewStrip::setAccessibleTitle(const QString& title) {
    setAccessibleName(title);
}

void TilePreviewStrip::retranslate() {
    update();
}

QSize TilePreviewStrip::sizeHint() const {
    const double height = topPadding + tileAreaHeight() + labelGap + nameHeight + countHeight + bottomPadding;
    return {int(tileStep * 3), int(std::ceil(height))};
}

double TilePreviewStrip::scaleAt(int index) const {
    // Grows smoothly as the tile nears the middle, so the motion between two tiles is continuous.
    const double closeness = std::max(0.0, 1.0 - std::abs(index - m_position->value()));
    return 1.0 + (previewScale - 1.0) * closeness;
}

QRectF TilePreviewStrip::tileRect(int index) const {
    const double side = tileSide * scaleAt(index);
    const double centreX = width() / 2.0 + (index - m_position->value()) * tileStep + m_drag->value();
    const double centreY = topPadding + tileAreaHeight() / 2;
    const QRectF image(centreX - side / 2, centreY - side / 2, side, side);
    const double inset = side * tileInset;
    return image.adjusted(inset, inset, -inset, -inset);
}

QImage TilePreviewStrip::tileImage(const AppFolder& folder) {
    const auto found = m_images.constFind(folder.id);
    if (found != m_images.constEnd())
        return *found;
    TileDrawingContext context;
    context.iconPadding = m_environment.settings.tileIconPadding();
    context.lightTheme = m_environment.settings.resolvedTheme() == AppThemeMode::Light;
    FileIconCache& icons = m_environment.icons;
    context.fileIcon = [&icons](const QString& path, int size) { return icons.icon(path, size); };
    context.symbol = [](const QString& name, double points, bool bold, const QColor& color) {
        return Symbols::image(name, points, bold, color);
    };
    // Drawn once at the selected size, sharp on this screen, and scaled down for the others.
    const int pixels = int(std::ceil(tileSide * previewScale * devicePixelRatioF()));
    const QImage image = TilePainter::render(folder.tileStyle, context, folder, pixels);
    m_images.insert(folder.id, image);
    return image;
}

void TilePreviewStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    const QFont nameFont = Fonts::rounded(12, QFont::DemiBold);
    const QFont countFont = Fonts::rounded(11, QFont::Normal);
    const double labelTop = topPadding + tileAreaHeight() + labelGap;
    for (int i = 0; i < m_folders.size(); ++i) {
        const QRectF tile = tileRect(i);
        const double inset = tile.width() * tileInset / (1 - 2 * tileInset);
        const QRectF image = tile.adjusted(-inset, -inset, inset, inset);
        if (image.right() < 0 || image.left() > width())
            continue;
        const AppFolder& folder = m_folders.at(i);
        const double closeness = (scaleAt(i) - 1.0) / (previewScale - 1.0);
        painter.setOpacity(0.55 + 0.45 * closeness);
        painter.drawImage(image, tileImage(folder));
        // A hairline keeps a pale tile apart from a pale card; the Dock tile itself has none.
        const double radius = folder.tileStyle.cornerRadius * 8 / 424 * tile.width();
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(roundedTile(tile.adjusted(-0.5, -0.5, 0.5, 0.5), radius + 0.5));

        const double centreX = tile.center().x();
        const QRectF nameRect(centreX - (tileStep - 12) / 2, labelTop, tileStep - 12, nameHeight);
        painter.setFont(nameFont);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(nameRect, Qt::AlignCenter,
                         QFontMetrics(nameFont).elidedText(folder.name, Qt::ElideRight, int(nameRect.width())));
        painter.setFont(countFont);
        painter.setPen(palette().color(QPalette::PlaceholderText));
        const QString count = m_environment.localization.pluralText(L10nKey::appCount, folder.apps.size());
        painter.drawText(nameRect.translated(0, nameHeight), Qt::AlignCenter,
                         QFontMetrics(countFont).elidedText(count, Qt::ElideRight, int(nameRect.width())));
    }
    painter.setOpacity(1);
    if (FocusRing::shows(*this) && m_selected >= 0) {
        const QRectF tile = tileRect(m_selected).adjusted(-3, -3, 3, 3);
        const double radius = m_folders.at(m_selected).tileStyle.cornerRadius * 8 / 424 * (tile.width() - 6);
        FocusRing::paint(painter, roundedTile(tile, radius + 3));
    }
}

void TilePreviewStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_pressed = true;
    m_dragging = false;
    m_pressX = m_lastX = event->position().x();
    m_lastTime = m_environment.clock.now();
    m_velocity = 0;
}

void TilePreviewStrip::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed)
        return;
    const double x = event->position().x();
    if (!m_dragging && std::abs(x - m_pressX) < dragSlop)
        return;
    m_dragging = true;
    const double now = m_environment.clock.now();
    const double elapsed = now - m_lastTime;
    if (elapsed > 0)
        m_velocity = (x - m_lastX) / elapsed;
    m_lastX = x;
    m_lastTime = now;
    m_dragOffset = x - m_pressX;
    m_drag->animateTo(m_dragOffset);
}

void TilePreviewStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_pressed || event->button() != Qt::LeftButton)
        return;
    m_pressed = false;
    if (!m_dragging) {
        for (int i = 0; i < m_folders.size(); ++i) {
            if (tileRect(i).contains(event->position())) {
                select(i);
                break;
            }
        }
        return;
    }
    m_dragging = false;
    // A pause before letting go leaves no speed to carry the swipe on.
    const bool fresh = m_environment.clock.now() - m_lastTime <= staleMoveSeconds;
    const double predicted = m_dragOffset + (fresh ? m_velocity * projectionSeconds : 0.0);
    m_dragOffset = 0;
    m_drag->animateTo(0);
    select(TileColorHex::swipeTarget(m_selected, int(m_folders.size()), predicted));
}

void TilePreviewStrip::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left && m_selected > 0) {
        select(m_selected - 1);
        return;
    }
    if (event->key() == Qt::Key_Right && m_selected >= 0 && m_selected + 1 < m_folders.size()) {
        select(m_selected + 1);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TilePreviewStrip::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        update();
}

void TilePreviewStrip::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TilePreviewStrip::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TilePreviewStrip::select(int index) {
    if (index < 0 || index >= m_folders.size() || index == m_selected)
        return;
    moveTo(index, true);
    Q_EMIT selectionChanged(index);
}

void TilePreviewStrip::moveTo(int index, bool animated) {
    const bool changed = index != m_selected;
    m_selected = index;
    const double target = std::max(index, 0);
    if (animated)
        m_position->animateTo(target);
    else
        m_position->setValue(target);
    if (changed)
        announceValue();
    update();
}

void TilePreviewStrip::announceValue() {
    if (!QAccessible::isActive())
        return;
    const int index = m_selected;
    QAccessibleValueChangeEvent event(this, index >= 0 ? QVariant(m_folders.at(index).name) : QVariant());
    QAccessible::updateAccessibility(&event);
}
