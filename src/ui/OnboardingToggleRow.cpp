#include "OnboardingToggleRow.h"

#include "widgets/TextLabel.h"
#include "widgets/ToggleSwitch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>

OnboardingToggleRow::OnboardingToggleRow(QWidget* parent)
    : QWidget(parent)
    , m_title(new TextLabel({.points = 13, .weight = QFont::DemiBold, .wraps = true}, this))
    , m_subtitle(new TextLabel({.points = 11.5, .role = QPalette::PlaceholderText, .wraps = true}, this))
    , m_switch(new ToggleSwitch(this)) {
    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(1);
    texts->addWidget(m_title);
    texts->addWidget(m_subtitle);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addLayout(texts, 1);
    layout->addWidget(m_switch, 0, Qt::AlignVCenter);
    // `clicked` comes from the user only; a value shown with setOn stays unwritten.
    connect(m_switch, &QAbstractButton::clicked, this, [this](bool on) { Q_EMIT toggledByUser(on); });
}

void OnboardingToggleRow::setTexts(const QString& title, const QString& subtitle) {
    m_title->setText(title);
    m_subtitle->setText(subtitle);
    m_switch->setAccessibleName(title);
    m_switch->setAccessibleDescription(subtitle);
}

void OnboardingToggleRow::setSubtitleShown(bool shown) {
    m_subtitle->setVisible(shown);
}

QString OnboardingToggleRow::title() const {
    return m_title->text();
}

bool OnboardingToggleRow::isOn() const {
    return m_switch->isChecked();
}

void OnboardingToggleRow::setOn(bool on) {
    const QSignalBlocker quiet(m_switch);
    m_switch->setChecked(on);
}

void OnboardingToggleRow::mouseReleaseEvent(QMouseEvent* event) {
    // The texts are part of the target, as a label of a switch is.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        m_switch->click();
    QWidget::mouseReleaseEvent(event);
}
