#pragma once

#include <QGraphicsEffect>

// Draws a widget and its children scaled about a centre and faded, as views appear and leave.
// Meant for the length of an animation: remove it afterwards so painting goes direct again.
class PresentationEffect final : public QGraphicsEffect {
    Q_OBJECT
public:
    explicit PresentationEffect(QObject* parent = nullptr);

    void setScale(double scale);
    void setOpacity(double opacity);
    double opacity() const { return m_opacity; }
    // In the widget's coordinates.
    void setCentre(const QPointF& centre);

protected:
    void draw(QPainter* painter) override;

private:
    double m_scale = 1.0;
    double m_opacity = 1.0;
    QPointF m_centre;
};
