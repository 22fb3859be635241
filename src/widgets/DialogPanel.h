#pragma once

#include "TextButton.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class TextLabel;
class QVBoxLayout;

// A modal dialog's panel: a rounded card with a title, an optional message, content of the
// dialog's own and a row of buttons at the bottom right. Return presses the default button and
// Escape the cancel button, wherever the focus is inside the panel; Tab goes round the panel's
// controls only. The panel is a dialog for
// screen readers, named after its title.
class DialogPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr double cornerRadius = 14;

    // `width` in points; the height follows the content.
    DialogPanel(const QString& title, double width, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    // A message below the title at `pointSize`; empty for none.
    void setMessage(const QString& message, double pointSize = 12.5);
    // Where the dialog's own content goes, between the message and the buttons.
    QVBoxLayout* contentLayout() const { return m_content; }
    // Adds a button to the right end of the row. `isDefault`: Return presses it; `isCancel`: Escape does.
    TextButton* addButton(const QString& text, TextButton::Style style, std::function<void()> action,
                          bool isDefault = false, bool isCancel = false);
    QList<TextButton*> buttons() const { return m_buttons; }
    QLabel* titleLabel() const { return m_title; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab stays inside the panel while it is shown.
    bool focusNextPrevChild(bool next) override;

private:
    QLabel* m_title;
    TextLabel* m_message = nullptr;
    QVBoxLayout* m_content;
    QWidget* m_buttonRow;
    QList<TextButton*> m_buttons;
    TextButton* m_default = nullptr;
    TextButton* m_cancel = nullptr;
};
