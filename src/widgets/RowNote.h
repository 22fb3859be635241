#pragma once

#include <QString>
#include <QWidget>

class QLabel;

// A short note under a setting, saying why it does not do what it says or what went wrong when
// it was changed: a small symbol and one sentence. Hidden while it has nothing to say. Screen
// readers are told when a note appears or changes.
class RowNote final : public QWidget {
    Q_OBJECT
public:
    enum class Tone {
        Info,    // the setting cannot take effect here
        Warning, // a change of the setting failed
    };

    explicit RowNote(QWidget* parent = nullptr);

    // An empty text hides the note.
    void setNote(const QString& text, Tone tone);
    QString text() const;
    Tone tone() const { return m_tone; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void recolor();

    QLabel* m_symbol;
    QLabel* m_text;
    Tone m_tone = Tone::Info;
};
