#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class ToggleSwitch;

// A setting that is on or off: a title and a sentence at the left, a switch at the right. Only the
// user's own toggling is reported, so an owner that shows a stored value never writes it back.
class OnboardingToggleRow final : public QWidget {
    Q_OBJECT
public:
    explicit OnboardingToggleRow(QWidget* parent = nullptr);

    void setTexts(const QString& title, const QString& subtitle);
    // A note under the row takes the sentence's place, so the guide keeps its height.
    void setSubtitleShown(bool shown);
    QString title() const;
    bool isOn() const;
    // Shows a value without reporting it.
    void setOn(bool on);
    ToggleSwitch* toggleSwitch() const { return m_switch; }

Q_SIGNALS:
    // The user turned the switch (by the switch itself or by clicking the row).
    void toggledByUser(bool on);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* m_title;
    QLabel* m_subtitle;
    ToggleSwitch* m_switch;
};
