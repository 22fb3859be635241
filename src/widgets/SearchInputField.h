#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;

// A one-line search field: a leading system symbol and a plain text field on a rounded control
// fill. The text field is the focus and carries the accessible name (the placeholder). The pointer
// turns to an I-beam over the field.
class SearchInputField final : public QWidget {
    Q_OBJECT
public:
    // `symbolName` empty for none. Sizes in points.
    SearchInputField(const QString& placeholder, const QString& symbolName, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }
    QString text() const;
    void setText(const QString& text);
    void setPlaceholder(const QString& placeholder);
    // For a search: Escape clears the text first, and only an empty field lets it go on (to the
    // dialog's cancel, say).
    void setClearsOnEscape(bool clears) { m_clearsOnEscape = clears; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void textChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_symbol;
    QLineEdit* m_edit;
    bool m_clearsOnEscape = false;
};
