#include "RowNote.h"

#include "TextLabel.h"
#include "Theme.h"
#include "platform/Symbols.h"

#include <QAccessible>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr double symbolPoints = 12;

// The system orange, darker on light backgrounds to keep its contrast; the same as the notices'.
QColor warningColor(ColorScheme scheme) {
    return scheme == ColorScheme::Dark ? QColor(255, 159, 10) : QColor(201, 102, 0);
}

// Small text needs more contrast than a symbol: darker still on light backgrounds.
QColor warningTextColor(ColorScheme scheme) {
    return scheme == ColorScheme::Dark ? QColor(255, 159, 10) : QColor(168, 72, 0);
}

} // namespace

RowNote::RowNote(QWidget* parent)
    : QWidget(parent)
    , m_symbol(new QLabel(this))
    , m_text(new TextLabel({.points = 11, .wraps = true}, this)) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_symbol->setFixedWidth(int(symbolPoints) + 2);
    m_symbol->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(5);
    layout->addWidget(m_symbol, 0, Qt::AlignTop);
    layout->addWidget(m_text, 1);
    recolor();
    hide();
}

QString RowNote::text() const {
    return m_text->text();
}

void RowNote::setNote(const QString& text, Tone tone) {
    const bool changed = text != m_text->text() || tone != m_tone;
    m_tone = tone;
    m_text->setText(text);
    setAccessibleName(text);
    setVisible(!text.isEmpty());
    if (!changed)
        return;
    recolor();
    if (!text.isEmpty() && QAccessible::isActive()) {
        QAccessibleEvent event(m_text, tone == Tone::Warning ? QAccessible::Alert : QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void RowNote::recolor() {
    const ColorScheme scheme = Theme::schemeOf(*this);
    const bool warning = m_tone == Tone::Warning;
    const QColor color = warning ? warningColor(scheme) : palette().color(QPalette::PlaceholderText);
    const std::optional<QImage> image =
        Symbols::image(warning ? QStringLiteral("exclamationmark.triangle.fill") : QStringLiteral("info.circle.fill"),
                       symbolPoints, false, color);
    m_symbol->setPixmap(image ? QPixmap::fromImage(*image) : QPixmap());
    // A failure reads in the warning colour; a plain note as the row's secondary text.
    QPalette textPalette = m_text->palette();
    textPalette.setColor(QPalette::WindowText,
                         warning ? warningTextColor(scheme) : palette().color(QPalette::PlaceholderText));
    m_text->setPalette(textPalette);
}

void RowNote::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        recolor();
}
