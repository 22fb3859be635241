#pragma once

#include <QWidget>

// A tile's name beside it while the pointer rests on the tile: a rounded plate of its own window,
// in the light or dark colours of the desktop's palette, that never takes focus or clicks.
class DockLabel : public QWidget {
    Q_OBJECT
public:
    explicit DockLabel(QWidget* owner);

    void setText(const QString& text);
    QString text() const { return m_text; }
    QSize sizeHint() const override;

    // The plate's fill and text colours for the palette, dark on a dark desktop.
    struct Colours {
        QColor plate;
        QColor text;
        QColor stroke;
    };
    static Colours coloursFor(const QPalette& palette);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};
