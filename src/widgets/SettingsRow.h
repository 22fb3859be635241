#pragma once

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QVBoxLayout;

// One line of a settings group: a title (and optional subtitle under it) at the left, an optional
// accessory right after the title, and the control at the right. A hairline separates it from the
// row below unless it is the last. The trailing control is named after the row's title for screen
// readers (set again whenever the title changes), since it has no visible text of its own.
class SettingsRow final : public QWidget {
    Q_OBJECT
public:
    explicit SettingsRow(const QString& title, QWidget* trailing = nullptr, QWidget* parent = nullptr);

    QString title() const;
    void setTitle(const QString& title);
    QString subtitle() const;
    // An empty subtitle hides the line.
    void setSubtitle(const QString& subtitle);
    bool isLast() const { return m_isLast; }
    void setLast(bool last);

    // A small widget just after the title (a badge, an info symbol); replaces and deletes any earlier one.
    void setTitleAccessory(QWidget* accessory);
    QWidget* titleAccessory() const { return m_accessory; }
    // The control at the right; replaces and deletes any earlier one.
    void setTrailing(QWidget* trailing);
    QWidget* trailing() const { return m_trailing; }
    // A widget under the title and subtitle (a note on the setting), taking ownership; added in order.
    void addDetail(QWidget* detail);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void nameTrailing();

    QLabel* m_title;
    QLabel* m_subtitle;
    QHBoxLayout* m_titleLine;
    QVBoxLayout* m_texts;
    QHBoxLayout* m_layout;
    QWidget* m_accessory = nullptr;
    QWidget* m_trailing = nullptr;
    bool m_isLast = false;
};
