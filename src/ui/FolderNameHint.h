#pragma once

#include <QStringList>
#include <QWidget>

class Localization;
class QLabel;
class QLineEdit;

// One line under a folder-name field: at the left what the name filter just took out of an edit
// (or that it cut the name at the limit), at the right a count of characters once the name nears
// the limit. The line keeps its height when empty, so the dialog does not jump while typing.
class FolderNameHint final : public QWidget {
    Q_OBJECT
public:
    // The counter shows from this many characters on.
    static constexpr int counterFrom = 15;

    FolderNameHint(QLineEdit& field, const Localization& localization, QWidget* parent = nullptr);

    QString message() const;
    QString counter() const;
    QLabel* messageLabel() const { return m_message; }
    QLabel* counterLabel() const { return m_counter; }
    // Forgets the last message, for a field that starts over (a new edit of the name).
    void clearMessage();
    void retranslate();

private:
    // What the filter did to the text the user just typed or pasted.
    void edited(const QString& typed);
    void refreshCounter();
    void describeField();

    QLineEdit& m_field;
    const Localization& m_localization;
    QLabel* m_message;
    QLabel* m_counter;
    QStringList m_removed;
    bool m_truncated = false;
};
