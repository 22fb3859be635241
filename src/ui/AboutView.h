#pragma once

#include "settings/AppSettings.h"

#include <QImage>
#include <QWidget>

#include <functional>

struct MainWindowEnvironment;
class QLabel;
class TextButton;

// A button of the About page: a title, a kind, and what pressing it does.
class AboutButton final : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Primary, Secondary };

    AboutButton(Kind kind, std::function<void()> action, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    void setTitle(const QString& title);
    TextButton* button() const { return m_button; }

private:
    Kind m_kind;
    TextButton* m_button;
};

// What the program is: its icon, name, version, a line about it, the credits, and a check for updates.
class AboutView final : public QWidget {
    Q_OBJECT
public:
    // Shows the running bundle's version.
    explicit AboutView(const MainWindowEnvironment& environment, QWidget* parent = nullptr);
    // Shows `shortVersion`; an empty one reads as unknown.
    AboutView(const MainWindowEnvironment& environment, const QString& shortVersion, QWidget* parent = nullptr);

    // The running bundle's CFBundleShortVersionString; empty when there is none.
    static QString runningShortVersion();

    QString versionText() const;
    AboutButton* checkForUpdatesButton() const { return m_checkForUpdates; }

Q_SIGNALS:
    // The natural height (sizeHint) changed.
    void heightChanged();

protected:
    bool event(QEvent* event) override;

private:
    void retranslate();
    void recolor();

    const MainWindowEnvironment& m_environment;
    QString m_shortVersion;
    QImage m_bundleIcon; // null: the drawn tile stands in
    QLabel* m_icon;
    QLabel* m_name;
    QLabel* m_version;
    QLabel* m_tagline;
    QLabel* m_madeWith;
    QLabel* m_heart;
    QLabel* m_credit;
    QLabel* m_copyright;
    AboutButton* m_checkForUpdates;
    int m_reportedHeight = -1;
};
