#pragma once

#include <QAbstractButton>

class SpringAnimation;

// An on/off switch: a capsule track with a round knob that springs across when toggled. Checkable;
// `toggled` reports a change by the user or by `setChecked`. A click, Space or Return toggles it. The
// owner may refuse a change by setting the state back from its `clicked` handler. Give it an
// accessible name: the switch has no text of its own.
class ToggleSwitch final : public QAbstractButton {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool hitButton(const QPoint& position) const override;
    void checkStateSet() override;
    void nextCheckState() override;

private:
    SpringAnimation* m_knob; // 0 off, 1 on
};
