#pragma once

#include <QString>
#include <QWidget>

class QLabel;

// One line of the welcome step: a symbol on a tinted tile, a title and a sentence below it.
class OnboardingFeatureRow final : public QWidget {
    Q_OBJECT
public:
    explicit OnboardingFeatureRow(QString symbol, QWidget* parent = nullptr);

    void setTexts(const QString& title, const QString& subtitle);
    QString symbol() const { return m_symbol; }
    QString title() const;
    QString subtitle() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QLabel* m_title;
    QLabel* m_subtitle;
};
