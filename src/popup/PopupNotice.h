#pragma once

#include "widgets/ColorScheme.h"

#include <QPointF>
#include <QString>
#include <QWidget>

class QTextLayout;

// A short message in the popup's card, such as an application that could not be opened: a
// warning symbol and the text, wrapped to the card's width. Screen readers take it as an alert.
class PopupNotice final : public QWidget {
    Q_OBJECT
public:
    PopupNotice(QString text, ColorScheme appearance, QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // Tells screen readers now, without waiting for the focus to come by.
    void announce();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // In a narrow card the symbol goes above the text rather than before it.
    bool isStacked(int width) const;
    QPointF textOrigin(int width) const;
    // Breaks the text into lines for a notice `width` wide; their height.
    double layOutText(QTextLayout& layout, int width) const;

    QString m_text;
    ColorScheme m_appearance;
};
