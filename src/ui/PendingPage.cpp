#include "PendingPage.h"

#include "widgets/Fonts.h"
#include "widgets/TextButton.h"

#include <QLabel>
#include <QVBoxLayout>

PendingPage::PendingPage(QWidget* parent)
    : QWidget(parent)
    , m_title(new QLabel(this))
    , m_subtitle(new QLabel(this))
    , m_button(new TextButton(TextButton::Style::Prominent, {}, this)) {
    m_title->setFont(Fonts::rounded(20, QFont::Bold));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setWordWrap(true);
    m_subtitle->setFont(Fonts::rounded(13, QFont::Normal));
    m_subtitle->setForegroundRole(QPalette::PlaceholderText);
    m_subtitle->setAlignment(Qt::AlignCenter);
    m_subtitle->setWordWrap(true);
    m_subtitle->hide();
    m_button->hide();
    connect(m_button, &QAbstractButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->setSpacing(10);
    layout->addWidget(m_title);
    layout->addWidget(m_subtitle);
    layout->addWidget(m_button, 0, Qt::AlignHCenter);
    layout->addStretch(1);
}

void PendingPage::setTitle(const QString& title) {
    m_title->setText(title);
    setAccessibleName(title);
}

void PendingPage::setSubtitle(const QString& subtitle) {
    m_subtitle->setText(subtitle);
    m_subtitle->setVisible(!subtitle.isEmpty());
}

void PendingPage::setAction(const QString& text, std::function<void()> action) {
    m_button->setText(text);
    m_button->setVisible(!text.isEmpty());
    m_button->updateGeometry();
    m_action = std::move(action);
}
