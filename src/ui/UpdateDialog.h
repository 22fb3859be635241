#pragma once

#include "platform/UpdatePresenter.h"
#include "widgets/PanelWindow.h"

#include <QUrl>

#include <functional>

class AppSettings;
class DialogPanel;
class Localization;
class QLabel;
class QPlainTextEdit;
class QVBoxLayout;

// The updater's window: the application is up to date, a newer version is available (its notes,
// Download and Later), or the check failed (why). Release notes are shown as plain text only, so a
// feed cannot make the window load images or follow links. Drawn as the application's own panel
// in the middle of the screen, moved by dragging its background. Follows the settings' theme and
// language while shown; Return presses the default button and Escape closes.
class UpdateDialog final : public PanelWindow, public UpdatePresenter {
    Q_OBJECT
public:
    // Opens a page; `done` learns whether a browser took it.
    using PageOpener = std::function<void(const QUrl&, std::function<void(bool opened)> done)>;

    static constexpr double panelWidth = 420;
    static constexpr int notesHeight = 150;

    // `translucent`: whether the desktop composites windows (see PanelWindow).
    UpdateDialog(const Localization& localization, const AppSettings& settings, bool translucent = true,
                 QWidget* parent = nullptr);

    void present(const UpdateCheckResult& result, bool userInitiated) override;

    // What Download and the notes button open pages with (the desktop's browser by default).
    void setPageOpener(PageOpener opener) { m_openPage = std::move(opener); }

    // Notes as the feed wrote them, as plain text: HTML reduced to its words, nothing it refers to loaded.
    static QString plainNotes(const QString& notes);
    // Why a check failed, in the interface language.
    static QString failureText(const Localization& l10n, const UpdateCheckResult& result);
    // The line saying that no browser took a page; hidden until one did not.
    QLabel* openFailureLabel() const { return m_openFailure; }
    // Only http: and https: pages are opened.
    static bool isWebAddress(const QString& url);

    const UpdateCheckResult& result() const { return m_result; }
    DialogPanel* panel() const { return m_panel; }
    QPlainTextEdit* notesView() const { return m_notes; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuild();
    // The window takes the panel's size for what it now says.
    void fitToPanel();
    // Opens `url` in the browser; `opened` runs when a browser took it, else the dialog says so.
    void open(const QString& url, std::function<void()> opened = {});

    const Localization& m_localization;
    const AppSettings& m_settings;
    UpdateCheckResult m_result;
    PageOpener m_openPage;
    bool m_noBrowser = false;
    QVBoxLayout* m_layout;
    DialogPanel* m_panel = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QLabel* m_openFailure = nullptr;
};
