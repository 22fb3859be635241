#include "DialogPanel.h"

#include "TextLabel.h"
#include "Theme.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace {

constexpr int padding = 20;

} // namespace

DialogPanel::DialogPanel(const QString& title, double width, QWidget* parent)
    : QWidget(parent)
    , m_title(new TextLabel(title, {.points = 15, .weight = QFont::Bold, .wraps = true}, this))
    , m_content(new QVBoxLayout)
    , m_buttonRow(new QWidget(this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedWidth(int(width));
    setAccessibleName(title);
    setAccessibleDescription(QString());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding - 4);
    layout->setSpacing(10);
    layout->addWidget(m_title);
    m_content->setContentsMargins(0, 0, 0, 0);
    m_content->setSpacing(8);
    layout->addLayout(m_content);
    auto* row = new QHBoxLayout(m_buttonRow);
    row->setContentsMargins(0, 6, 0, 0);
    row->setSpacing(8);
    row->addStretch(1);
    layout->addWidget(m_buttonRow);
}

void DialogPanel::setTitle(const QString& title) {
    m_title->setText(title);
    setAccessibleName(title);
}

void DialogPanel::setMessage(const QString& message, double pointSize) {
    if (!m_message) {
        m_message = new TextLabel({}, this);
        static_cast<QVBoxLayout*>(layout())->insertWidget(1, m_message);
    }
    m_message->setTextStyle({.points = pointSize, .role = QPalette::PlaceholderText, .wraps = true});
    m_message->setText(message);
    m_message->setVisible(!message.isEmpty());
    setAccessibleDescription(message);
}

TextButton* DialogPanel::addButton(const QString& text, TextButton::Style style, std::function<void()> action,
                                   bool isDefault, bool isCancel) {
    auto* button = new TextButton(style, text, m_buttonRow);
    button->setMinimumWidth(76);
    connect(button, &QAbstractButton::clicked, this, [action = std::move(action)] {
        if (action)
            action();
    });
    static_cast<QHBoxLayout*>(m_buttonRow->layout())->addWidget(button);
    m_buttons.append(button);
    if (isDefault)
        m_default = button;
    if (isCancel)
        m_cancel = button;
    return button;
}

void DialogPanel::keyPressEvent(QKeyEvent* event) {
    // Keys the focused control did not take: Return is the default button, Escape the cancel one.
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && m_default && m_default->isEnabled()) {
        m_default->click();
        return;
    }
    if (event->key() == Qt::Key_Escape && m_cancel) {
        m_cancel->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool DialogPanel::focusNextPrevChild(bool next) {
    QList<QWidget*> chain;
    for (QWidget* widget = nextInFocusChain(); widget && widget != this; widget = widget->nextInFocusChain()) {
        if (isAncestorOf(widget) && widget->isVisibleTo(this) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
            chain.append(widget);
    }
    if (chain.isEmpty())
        return false;
    const qsizetype at = chain.indexOf(focusWidget());
    const qsizetype count = chain.size();
    const qsizetype to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    chain[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void DialogPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Theme::paintPanel(painter, rect(), cornerRadius, palette());
}
