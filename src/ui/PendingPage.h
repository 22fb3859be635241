#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class TextButton;

// A page whose content arrives in a later version: its title, and optionally a line below it and a
// button that moves on.
class PendingPage final : public QWidget {
    Q_OBJECT
public:
    explicit PendingPage(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    void setSubtitle(const QString& subtitle);
    // A prominent button; an empty text hides it.
    void setAction(const QString& text, std::function<void()> action);
    TextButton* actionButton() const { return m_button; }

private:
    QLabel* m_title;
    QLabel* m_subtitle;
    TextButton* m_button;
    std::function<void()> m_action;
};
