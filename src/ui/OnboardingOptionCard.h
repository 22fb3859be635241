#pragma once

#include "model/Enums.h"

#include <QAbstractButton>
#include <QString>

// One answer to "where should folders open": a small screen showing where the popup appears, a
// caption and a line of detail, with a check mark on the chosen card. A click or Space chooses it;
// choosing a chosen card keeps it chosen. Screen readers hear the caption and whether it is checked.
class OnboardingOptionCard final : public QAbstractButton {
    Q_OBJECT
public:
    OnboardingOptionCard(PopupPosition position, QWidget* parent = nullptr);

    PopupPosition position() const { return m_position; }
    void setTexts(const QString& caption, const QString& detail);
    QString caption() const { return m_caption; }
    // How far the chosen look has come in, 0 to 1; the owner moves it when the choice changes.
    void setEmphasis(double emphasis);
    double emphasis() const { return m_emphasis; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;

private:
    void paintPicture(QPainter& painter, const QRectF& screen) const;

    PopupPosition m_position;
    QString m_caption;
    QString m_detail;
    double m_emphasis = 0;
};
