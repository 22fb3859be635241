#include "SearchInputField.h"

#include "FocusRing.h"
#include "Fonts.h"
#include "Shapes.h"
#include "platform/Symbols.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr double symbolPointSize = 10;
constexpr double cornerRadius = 7;

} // namespace

SearchInputField::SearchInputField(const QString& placeholder, const QString& symbolName, QWidget* parent)
    : QWidget(parent)
    , m_symbol(symbolName)
    , m_edit(new QLineEdit(this)) {
    m_edit->setFrame(false);
    m_edit->setFont(Fonts::rounded(12, QFont::Medium));
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    // The field draws on this widget's fill; every other colour comes from the window's palette.
    QPalette transparentBase;
    transparentBase.setColor(QPalette::Base, Qt::transparent);
    m_edit->setPalette(transparentBase);
    m_edit->setClearButtonEnabled(false);
    setPlaceholder(placeholder);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(m_symbol.isEmpty() ? 8 : 8 + int(symbolPointSize) + 5, 0, 6, 0);
    layout->addWidget(m_edit);
    setFocusProxy(m_edit);
    setCursor(Qt::IBeamCursor);
    connect(m_edit, &QLineEdit::textChanged, this, &SearchInputField::textChanged);
    // The ring follows the text field's focus.
    m_edit->installEventFilter(this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QString SearchInputField::text() const {
    return m_edit->text();
}

void SearchInputField::setText(const QString& text) {
    m_edit->setText(text);
}

void SearchInputField::setPlaceholder(const QString& placeholder) {
    m_edit->setPlaceholderText(placeholder);
    m_edit->setAccessibleName(placeholder);
}

QSize SearchInputField::sizeHint() const {
    return {160, 26};
}

bool SearchInputField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        update();
    const bool clearing = watched == m_edit && m_clearsOnEscape && !m_edit->text().isEmpty() &&
                          (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
                          static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (clearing) {
        // Taken before any Escape shortcut of the window sees it.
        event->accept();
        if (event->type() == QEvent::KeyPress)
            m_edit->clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SearchInputField::mousePressEvent(QMouseEvent* event) {
    m_edit->setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void SearchInputField::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QPainterPath outline = Shapes::continuousRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), cornerRadius);
    painter.fillPath(outline, palette().color(QPalette::AlternateBase));
    painter.setPen(QPen(palette().color(QPalette::Mid), 0.5));
    painter.drawPath(outline);
    if (!m_symbol.isEmpty()) {
        const double scale = devicePixelRatioF();
        if (const std::optional<QImage> image =
                Symbols::image(m_symbol, symbolPointSize * scale, true, palette().color(QPalette::PlaceholderText))) {
            const double side = image->width() / scale;
            painter.drawImage(QRectF(9, (height() - side) / 2, side, side), *image);
        }
    }
    if (m_edit->hasFocus())
        FocusRing::paint(painter, outline);
}
