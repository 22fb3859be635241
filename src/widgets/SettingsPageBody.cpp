#include "SettingsPageBody.h"

#include "SettingsSection.h"

#include <QEvent>
#include <QVBoxLayout>

SettingsPageBody::SettingsPageBody(double spacing, QWidget* parent)
    : QWidget(parent)
    , m_spacing(spacing)
    , m_layout(new QVBoxLayout(this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(int(spacing));
    m_layout->addStretch(1);
}

SettingsSection* SettingsPageBody::addSection(const QString& title) {
    auto* section = new SettingsSection(title, this);
    addWidget(section);
    return section;
}

void SettingsPageBody::addWidget(QWidget* widget, Qt::Alignment alignment) {
    // Before the closing stretch, so a taller page leaves the blocks at the top.
    m_layout->insertWidget(m_layout->count() - 1, widget, 0, alignment);
}

QSize SettingsPageBody::sizeHint() const {
    return m_layout->sizeHint();
}

bool SettingsPageBody::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::LayoutRequest) {
        const int height = sizeHint().height();
        if (height != m_reportedHeight) {
            const bool first = m_reportedHeight < 0;
            m_reportedHeight = height;
            if (!first)
                Q_EMIT heightChanged();
        }
    }
    return handled;
}
