#pragma once

#include <QFont>
#include <QLabel>

// Interface text in the kit's rounded face: a size, a weight, a colour role of the palette and how
// the text sits, given once. The text is always shown as it is, never read as markup, since much
// of it comes from the user (folder names) or from the system (error reasons).
class TextLabel : public QLabel {
    Q_OBJECT
public:
    struct Style {
        double points = 13;
        QFont::Weight weight = QFont::Normal;
        QPalette::ColorRole role = QPalette::WindowText;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        bool wraps = false;
        double letterSpacing = 0; // absolute, in points
    };

    explicit TextLabel(const Style& style, QWidget* parent = nullptr);
    TextLabel(const QString& text, const Style& style, QWidget* parent = nullptr);

    void setTextStyle(const Style& style);
    // A colour of its own instead of the palette role's, as for a warning.
    void setTextColor(const QColor& color);
};
