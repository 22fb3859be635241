#pragma once

#include <QWidget>

// Three marks for the onboarding's steps, the current one drawn long and in the accent. The
// position may lie between two steps while the view moves from one to the other; the marks blend.
class OnboardingStepIndicator final : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // 0 for the first step, 2 for the last.
    void setPosition(double position);
    double position() const { return m_position; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_position = 0;
};
