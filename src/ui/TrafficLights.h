#pragma once

#include <QWidget>

#include <array>

class QAbstractButton;

enum class TrafficLightKind { Close, Minimize, Zoom };

// The window's own close, minimise and zoom buttons: three coloured circles whose glyphs show
// while the pointer is over the group. Zoom is shown and does nothing.
class TrafficLights final : public QWidget {
    Q_OBJECT
public:
    static constexpr double diameter = 14;
    static constexpr double spacing = 8;

    explicit TrafficLights(QWidget* parent = nullptr);

    QAbstractButton* button(TrafficLightKind kind) const { return m_buttons[std::size_t(kind)]; }
    bool isHovered() const { return m_hovered; }
    // Names for screen readers, in the interface language.
    void setAccessibleNames(const QString& close, const QString& minimize, const QString& zoom);

    QSize sizeHint() const override;

Q_SIGNALS:
    void closeClicked();
    void minimizeClicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    std::array<QAbstractButton*, 3> m_buttons{};
    bool m_hovered = false;
};
