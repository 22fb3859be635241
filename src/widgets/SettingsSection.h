#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;
class SettingsRow;

// A titled group of settings: a small title above a rounded group background (the palette's Base
// with a hairline edge) that holds rows one under another. The last row added is marked last, so no
// separator shows under it.
class SettingsSection final : public QWidget {
    Q_OBJECT
public:
    // An empty title shows no title line.
    explicit SettingsSection(const QString& title, QWidget* parent = nullptr);

    QString title() const;
    void setTitle(const QString& title);

    // Appends a row titled `title` with `trailing` (taking ownership; may be null) at its right.
    SettingsRow* addRow(const QString& title, QWidget* trailing, const QString& subtitle = {});
    // Appends a row made elsewhere, taking ownership.
    SettingsRow* addRow(SettingsRow* row);
    // Appends a block that is not a row (a preview strip, a colour row) inside the group background.
    void addContent(QWidget* widget);

    QList<SettingsRow*> rows() const { return m_rows; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void markLastRow();

    QLabel* m_title;
    QWidget* m_group;
    QVBoxLayout* m_groupLayout;
    QList<SettingsRow*> m_rows;
};
