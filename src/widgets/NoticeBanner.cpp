#include "NoticeBanner.h"

#include "Shapes.h"
#include "TextButton.h"
#include "TextLabel.h"
#include "Theme.h"
#include "platform/Symbols.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr double cornerRadius = 10;
constexpr double symbolPoints = 16;

// The system orange, a shade darker on light backgrounds so the symbol keeps its contrast; grey
// for news that asks for no care.
QColor accent(ColorScheme scheme, NoticeBanner::Tone tone) {
    if (tone == NoticeBanner::Tone::Neutral)
        return scheme == ColorScheme::Dark ? QColor(152, 152, 157) : QColor(110, 110, 115);
    return scheme == ColorScheme::Dark ? QColor(255, 159, 10) : QColor(201, 102, 0);
}

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(float(alpha));
    return color;
}

// Long paths in a message break after their slashes instead of running out of the notice.
QString breakable(const QString& text) {
    QString result = text;
    result.replace(u'/', QStringLiteral("/\u200B"));
    return result;
}

class NoticeAccessible final : public QAccessibleWidget {
public:
    explicit NoticeAccessible(NoticeBanner* banner)
        : QAccessibleWidget(banner, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text kind) const override {
        const auto* banner = static_cast<const NoticeBanner*>(widget());
        if (kind == QAccessible::Name)
            return banner->title();
        if (kind == QAccessible::Description)
            return banner->message();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* noticeAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("NoticeBanner") && object && object->isWidgetType())
        return new NoticeAccessible(static_cast<NoticeBanner*>(object));
    return nullptr;
}

QLabel* textLabel(double points, QFont::Weight weight, QWidget* parent) {
    return new TextLabel({.points = points, .weight = weight, .wraps = true}, parent);
}

} // namespace

NoticeBanner::NoticeBanner(QWidget* parent, Tone tone)
    : QWidget(parent)
    , m_tone(tone)
    , m_symbol(new QLabel(this))
    , m_title(textLabel(12.5, QFont::Bold, this))
    , m_message(textLabel(11.5, QFont::Normal, this)) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(noticeAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 9, 12, 9);
    row->setSpacing(10);
    m_symbol->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_symbol->setFixedWidth(int(symbolPoints) + 2);
    row->addWidget(m_symbol, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(m_title);
    texts->addWidget(m_message);
    row->addLayout(texts, 1);
    m_action = new TextButton(TextButton::Style::Borderless, QString(), this);
    m_action->hide();
    connect(m_action, &QAbstractButton::clicked, this, [this] {
        if (m_onAction)
            m_onAction();
    });
    row->addWidget(m_action, 0, Qt::AlignVCenter);
    recolor();
    hide();
}

void NoticeBanner::setAction(const QString& text, std::function<void()> action) {
    m_action->setText(text);
    m_action->setVisible(!text.isEmpty());
    m_onAction = text.isEmpty() ? nullptr : std::move(action);
}

QString NoticeBanner::title() const {
    return m_title->text();
}

QString NoticeBanner::message() const {
    return m_messageText;
}

void NoticeBanner::present(const QString& title, const QString& message) {
    const bool changed = isHidden() || title != m_title->text() || message != m_messageText;
    m_title->setText(title);
    m_messageText = message;
    m_message->setText(breakable(message));
    m_message->setVisible(!message.isEmpty());
    // A title alone lines up with the symbol's middle; over a message, the symbol heads the title.
    const Qt::Alignment alignment = message.isEmpty() ? Qt::AlignVCenter : Qt::AlignTop;
    layout()->setAlignment(m_symbol, alignment);
    m_symbol->setAlignment(alignment | Qt::AlignHCenter);
    show();
    if (changed)
        announce();
}

void NoticeBanner::dismiss() {
    hide();
}

void NoticeBanner::announce() {
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

void NoticeBanner::recolor() {
    const QString symbol =
        m_tone == Tone::Warning ? QStringLiteral("exclamationmark.triangle.fill") : QStringLiteral("info.circle.fill");
    const std::optional<QImage> image =
        Symbols::image(symbol, symbolPoints, false, accent(Theme::schemeOf(*this), m_tone));
    m_symbol->setPixmap(image ? QPixmap::fromImage(*image) : QPixmap());
    update();
}

void NoticeBanner::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        recolor();
}

void NoticeBanner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = Theme::schemeOf(*this) == ColorScheme::Dark;
    const QColor tint = accent(Theme::schemeOf(*this), m_tone);
    const QPainterPath outline =
        Shapes::continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius);
    // The tint over the window's own colour, so the text keeps the contrast it has on the window.
    painter.fillPath(outline, palette().color(QPalette::Window));
    painter.fillPath(outline, withAlpha(tint, dark ? 0.18 : 0.12));
    painter.setPen(QPen(withAlpha(tint, dark ? 0.45 : 0.40), 1));
    painter.drawPath(outline);
}
