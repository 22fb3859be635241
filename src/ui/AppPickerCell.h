#pragma once

#include "MainWindowEnvironment.h"
#include "model/AppItem.h"

#include <QAbstractButton>
#include <QImage>

#include <functional>
#include <memory>
#include <optional>

class WorkItem;

// One application of the picker: its icon with the name below. A selected cell is outlined and
// badged with a check mark; an app already in the folder is drawn dimmed with a muted badge and
// takes no clicks. A button for screen readers, named after the app.
class AppPickerCell final : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int cellWidth = 72;
    static constexpr int cellHeight = 62;
    static constexpr double iconSize = 26;
    static constexpr double badgeSize = 14;

    AppPickerCell(const MainWindowEnvironment& environment, const AppItem& app, bool isAlreadyAdded,
                  std::function<void()> action, QWidget* parent = nullptr);
    ~AppPickerCell() override;

    const AppItem& app() const { return m_app; }
    bool isSelected() const { return m_isSelected; }
    void setSelected(bool selected);
    bool isAlreadyAdded() const { return m_isAlreadyAdded; }
    bool hasIcon() const { return m_icon.has_value(); }
    // Drawn with the keyboard ring: the grid's current cell while the grid has the focus.
    void setCurrent(bool current);
    // The accessible description follows the language.
    void retranslate();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void loadIcon();

    const MainWindowEnvironment& m_environment;
    AppItem m_app;
    bool m_isSelected = false;
    bool m_isAlreadyAdded;
    std::function<void()> m_action;
    std::optional<QImage> m_icon;
    bool m_isHovered = false;
    bool m_isCurrent = false;
    std::shared_ptr<WorkItem> m_iconLoad;
};
