#pragma once

#include <QWidget>

#include <functional>

// A horizontal slider with its value written in a small box to its right: a 5-point track, a
// 17-point round thumb, the track 200 points wide, the value box 44 points wide in 12-point rounded
// type. The caller sets the range, the value and how a value reads as text. Dragging or clicking on
// the track, and the arrow, Page and Home/End keys, change it and report each step. One Tab stop;
// the caller gives the accessible name, the accessible description is the value text.
class SettingsSlider final : public QWidget {
    Q_OBJECT
public:
    using ValueText = std::function<QString(double)>;

    explicit SettingsSlider(QWidget* parent = nullptr);

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    // Also clamps the value into the new range (without a signal).
    void setRange(double minimum, double maximum);
    // How far an arrow key moves the value; a hundredth of the range unless set.
    void setStep(double step) { m_step = step; }
    double step() const;
    // Values land only on whole steps from the minimum: what the user picks, and a value set from
    // elsewhere, which shows at the nearest step.
    void setSnapsToSteps(bool snaps);

    double value() const { return m_value; }
    // Sets the value (clamped to the range) without a signal: a value changed elsewhere.
    void setValue(double value);

    // The value box's text; by default the value with no fraction digits.
    void setValueText(ValueText valueText);
    QString valueText() const;
    // Reads the value text again (its wording changed, as after a language change).
    void refreshValueText();

    // Where the thumb's centre is for a value, and the value at a horizontal position (for tests).
    double thumbCenter(double value) const;
    double valueAt(double x) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // The user moved the value (each step of a drag).
    void valueChanged(double value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void moveTo(double value); // by the user

    double m_minimum = 0;
    double m_maximum = 1;
    double m_value = 0;
    double m_step = 0; // 0: a hundredth of the range
    bool m_snapsToSteps = false;
    ValueText m_valueText;
    bool m_dragging = false;
};
