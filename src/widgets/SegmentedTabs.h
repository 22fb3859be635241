#pragma once

#include "Spring.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

class QAbstractButton;
class SpringAnimation;

// A row of segments, one of them selected and drawn on a rounded highlight. The highlight moves to
// a newly selected segment along a spring, or at once without one. Each segment is a button of its
// own (Tab reaches it, Return or Space selects it) named after its title for screen readers.
class SegmentedTabs final : public QWidget {
    Q_OBJECT
public:
    struct Segment {
        QString title;
        QString symbol; // a system symbol above the title; empty for none
    };
    struct Style {
        double titlePointSize = 11.5;
        bool bold = false;
        double letterSpacing = 0; // extra space between letters, in points
        double symbolPointSize = 15;
        double padding = 10; // room left and right of a title
        double height = 26;
        bool track = true; // a rounded fill behind all the segments
    };

    SegmentedTabs(QList<Segment> segments, Style style, QWidget* parent = nullptr);

    int currentIndex() const { return m_current; }
    // Selects without a signal; the highlight follows along `spring`, or at once when none.
    void setCurrentIndex(int index, std::optional<Spring> spring = std::nullopt);
    // The spring the highlight follows when the user selects a segment; none: at once.
    void setSelectionSpring(std::optional<Spring> spring) { m_selectionSpring = spring; }
    void setTitles(const QStringList& titles);
    QAbstractButton* segmentButton(int index) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // The user selected a segment.
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();
    QRectF segmentRect(int index) const;
    QRectF highlightRect() const;

    QList<Segment> m_segments;
    Style m_style;
    QList<QAbstractButton*> m_buttons;
    int m_current = 0;
    std::optional<Spring> m_selectionSpring;
    SpringAnimation* m_highlight; // the highlight's position, in segments
};
