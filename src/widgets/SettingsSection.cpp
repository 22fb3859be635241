#include "SettingsSection.h"

#include "SettingsRow.h"
#include "TextLabel.h"
#include "Theme.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr double groupRadius = 10;

} // namespace

SettingsSection::SettingsSection(const QString& title, QWidget* parent)
    : QWidget(parent)
    , m_title(
          new TextLabel(title, {.points = 11.5, .weight = QFont::DemiBold, .role = QPalette::PlaceholderText}, this))
    , m_group(new QWidget(this))
    , m_groupLayout(new QVBoxLayout(m_group)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(7);
    m_title->setContentsMargins(6, 0, 0, 0);
    m_title->setVisible(!title.isEmpty());
    layout->addWidget(m_title);
    m_groupLayout->setContentsMargins(0, 2, 0, 2);
    m_groupLayout->setSpacing(0);
    layout->addWidget(m_group);
}

QString SettingsSection::title() const {
    return m_title->text();
}

void SettingsSection::setTitle(const QString& title) {
    m_title->setText(title);
    m_title->setVisible(!title.isEmpty());
}

SettingsRow* SettingsSection::addRow(const QString& title, QWidget* trailing, const QString& subtitle) {
    auto* row = new SettingsRow(title, trailing);
    row->setSubtitle(subtitle);
    return addRow(row);
}

SettingsRow* SettingsSection::addRow(SettingsRow* row) {
    m_groupLayout->addWidget(row);
    m_rows.append(row);
    markLastRow();
    return row;
}

void SettingsSection::addContent(QWidget* widget) {
    m_groupLayout->addWidget(widget);
}

void SettingsSection::markLastRow() {
    for (SettingsRow* row : m_rows)
        row->setLast(row == m_rows.last());
}

void SettingsSection::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    Theme::paintPanel(painter, QRectF(m_group->geometry()).adjusted(0.5, 0.5, -0.5, -0.5), groupRadius, palette());
}
