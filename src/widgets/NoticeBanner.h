#pragma once

#include <QString>
#include <QWidget>

class QLabel;

// A notice across a window, for a state the user should know about without being stopped by it:
// a warning symbol, a short title and a message on a warm tint that reads in both appearances. It
// is no dialog and takes no focus. Screen readers meet it as an alert, named by its title and
// described by its message, and are told when it appears or its text changes.
class NoticeBanner final : public QWidget {
    Q_OBJECT
public:
    explicit NoticeBanner(QWidget* parent = nullptr);

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

    QLabel* m_symbol;
    QLabel* m_title;
    QLabel* m_message;
    QString m_messageText;
};
