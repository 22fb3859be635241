#pragma once

#include <QStringList>
#include <QWidget>

class SpringAnimation;

// A choice of one among a few options shown side by side in a rounded track, the chosen one on a
// capsule that springs over to a new choice. One Tab stop: Left and Right move the choice, a click
// chooses. The caller gives the width, the options' labels in order and the accessible name (a
// settings row gives its title); the accessible description tells the chosen option.
class SegmentedPicker final : public QWidget {
    Q_OBJECT
public:
    SegmentedPicker(const QStringList& labels, double width, QWidget* parent = nullptr);

    QStringList labels() const { return m_labels; }
    // New texts for the same options (a language change); keeps the selection.
    void setLabels(const QStringList& labels);
    int selection() const { return m_selection; }
    // Chooses without a signal (a value changed elsewhere); the capsule moves as it would for the user.
    void setSelection(int index);
    // Whether the capsule springs to a new choice (on by default) or jumps there.
    bool animateSelection() const { return m_animateSelection; }
    void setAnimateSelection(bool animate) { m_animateSelection = animate; }

    // What a screen reader says for an option: its label, and its place among the others.
    QString optionAccessibleText(int index) const;
    // Where the option's segment lies, for tests and hit testing.
    QRectF optionRect(int index) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // The user chose another option.
    void selectionChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void choose(int index); // by the user
    void moveCapsule();
    void describe();

    QStringList m_labels;
    double m_width;
    int m_selection = 0;
    bool m_animateSelection = true;
    SpringAnimation* m_capsule; // the capsule's position, in segments
};
