#include "SettingsRow.h"

#include "TextLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int horizontalMargin = 14;
constexpr int rowMinimumHeight = 44;

} // namespace

SettingsRow::SettingsRow(const QString& title, QWidget* trailing, QWidget* parent)
    : QWidget(parent)
    , m_title(new TextLabel(title, {.points = 13, .weight = QFont::Medium, .role = QPalette::Text}, this))
    , m_subtitle(new TextLabel({.points = 11, .role = QPalette::PlaceholderText}, this))
    , m_titleLine(new QHBoxLayout)
    , m_texts(new QVBoxLayout)
    , m_layout(new QHBoxLayout(this)) {
    setMinimumHeight(rowMinimumHeight);
    m_layout->setContentsMargins(horizontalMargin, 8, horizontalMargin, 8);
    m_layout->setSpacing(12);
    m_subtitle->hide();
    m_titleLine->setSpacing(6);
    m_titleLine->addWidget(m_title);
    m_titleLine->addStretch(1);
    m_texts->setSpacing(2);
    m_texts->addLayout(m_titleLine);
    m_texts->addWidget(m_subtitle);
    m_layout->addLayout(m_texts, 1);
    setTrailing(trailing);
}

QString SettingsRow::title() const {
    return m_title->text();
}

void SettingsRow::setTitle(const QString& title) {
    m_title->setText(title);
    nameTrailing();
}

QString SettingsRow::subtitle() const {
    return m_subtitle->text();
}

void SettingsRow::setSubtitle(const QString& subtitle) {
    m_subtitle->setText(subtitle);
    m_subtitle->setVisible(!subtitle.isEmpty());
}

void SettingsRow::setLast(bool last) {
    if (m_isLast == last)
        return;
    m_isLast = last;
    update();
}

void SettingsRow::setTitleAccessory(QWidget* accessory) {
    delete m_accessory;
    m_accessory = accessory;
    if (accessory)
        m_titleLine->insertWidget(1, accessory, 0, Qt::AlignVCenter);
}

void SettingsRow::setTrailing(QWidget* trailing) {
    delete m_trailing;
    m_trailing = trailing;
    if (!trailing)
        return;
    m_layout->addWidget(trailing, 0, Qt::AlignRight | Qt::AlignVCenter);
    nameTrailing();
}

void SettingsRow::addDetail(QWidget* detail) {
    m_texts->addWidget(detail);
}

void SettingsRow::nameTrailing() {
    if (m_trailing)
        m_trailing->setAccessibleName(m_title->text());
}

void SettingsRow::paintEvent(QPaintEvent*) {
    if (m_isLast)
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    const double y = height() - 0.5;
    painter.drawLine(QPointF(horizontalMargin, y), QPointF(width() - horizontalMargin, y));
}
