#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QPainter;

// A folder's glyph: the system symbol its `symbol` names when there is one, else the text
// itself (an emoji), in `color` at a size in points.
class FolderGlyph final : public QWidget {
    Q_OBJECT
public:
    FolderGlyph(QString symbol, QColor color, double pointSize, QWidget* parent = nullptr);

    static void paint(QPainter& painter, const QRectF& rect, const QString& symbol, const QColor& color,
                      double pointSize);

    void setSymbol(const QString& symbol);
    void setColor(const QColor& color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QColor m_color;
    double m_pointSize;
};
