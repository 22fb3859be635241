#pragma once

#include "platform/UpdatePresenter.h"

#include <QUrl>
#include <QWidget>

#include <functional>

class AppSettings;
class DialogPanel;
class Localization;
class QPlainTextEdit;
class QVBoxLayout;

// The updater's window: the application is up to date, a newer version is available (its notes,
// Download and Later), or the check failed (why). Release notes are shown as plain text only, so a
// feed cannot make the window load images or follow links. Follows the settings' theme and
// language while shown; Return presses the default button and Escape closes.
class UpdateDialog final : public QWidget, public UpdatePresenter {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    static constexpr double panelWidth = 420;
    static constexpr int notesHeight = 150;

    UpdateDialog(const Localization& localization, const AppSettings& settings, QWidget* parent = nullptr);

    void present(const UpdateCheckResult& result, bool userInitiated) override;

    // What Download and the notes button open pages with (the desktop's browser by default).
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    // Notes as the feed wrote them, as plain text: HTML reduced to its words, nothing it refers to loaded.
    static QString plainNotes(const QString& notes);
    // Why a check failed, in the interface language.
    static QString failureText(const Localization& l10n, const UpdateCheckResult& result);
    // Only http: and https: pages are opened.
    static bool isWebAddress(const QString& url);

    const UpdateCheckResult& result() const { return m_result; }
    DialogPanel* panel() const { return m_panel; }
    QPlainTextEdit* notesView() const { return m_notes; }

private:
    void rebuild();
    void open(const QString& url);

    const Localization& m_localization;
    const AppSettings& m_settings;
    UpdateCheckResult m_result;
    UrlOpener m_openUrl;
    QVBoxLayout* m_layout;
    DialogPanel* m_panel = nullptr;
    QPlainTextEdit* m_notes = nullptr;
};
