#pragma once

#include <QMargins>
#include <QWidget>

class QVBoxLayout;
class SettingsSection;

// A settings page's content: sections and other blocks stacked top to bottom, `spacing` points
// apart, on the window background. Its size hint is the natural height of what it holds; when that
// changes (a row shown or hidden, a longer text after a language change) it says so.
class SettingsPageBody final : public QWidget {
    Q_OBJECT
public:
    // Around a page's body, inside the window: the same on every settings page.
    static constexpr QMargins pageMargins{24, 4, 24, 16};

    explicit SettingsPageBody(double spacing = 18, QWidget* parent = nullptr);

    double spacing() const { return m_spacing; }

    // Appends a new section titled `title` (empty for none) and returns it.
    SettingsSection* addSection(const QString& title);
    // Appends any other block (a preview, a header), taking ownership.
    void addWidget(QWidget* widget, Qt::Alignment alignment = {});

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    // The natural height differs from the one last reported.
    void heightChanged();

protected:
    bool event(QEvent* event) override;

private:
    double m_spacing;
    QVBoxLayout* m_layout;
    int m_reportedHeight = -1;
};
