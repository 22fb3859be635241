#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class TextButton;

// A notice across a window, for a state the user should know about without being stopped by it:
// a symbol, a short title and a message on a tint that reads in both appearances - a warning on a
// warm one, news of something done on a neutral one, perhaps with one action to take (Undo). It
// is no dialog and takes no focus itself; Tab reaches its action. Screen readers meet it as an
// alert, named by its title and described by its message, and are told when it appears or its
// text changes.
class NoticeBanner final : public QWidget {
    Q_OBJECT
public:
    enum class Tone { Warning, Neutral };

    explicit NoticeBanner(QWidget* parent = nullptr, Tone tone = Tone::Warning);

    // A button at the trailing end that runs `action`; an empty text takes it away.
    void setAction(const QString& text, std::function<void()> action);
    TextButton* actionButton() const { return m_action; }

    // Shows the notice with these texts, or puts them into the one already shown.
    void present(const QString& title, const QString& message);
    void dismiss();

    QString title() const;
    QString message() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void recolor();
    void announce();

    Tone m_tone;
    QLabel* m_symbol;
    QLabel* m_title;
    QLabel* m_message;
    QString m_messageText;
    TextButton* m_action = nullptr;
    std::function<void()> m_onAction;
};
