#pragma once

#include "platform/UpdatePresenter.h"
#include "platform/UrlOpener.h"
#include "ui/UpdateDialog.h"

#include <memory>

class AppSettings;
class Localization;

// Makes the updater's window at its first result: helpers, which never check, never build one.
class UpdateDialogPresenter final : public UpdatePresenter {
public:
    // `translucent`: whether the desktop composites windows; `pages`: the desktop's browser.
    UpdateDialogPresenter(const Localization& localization, const AppSettings& settings, UrlOpener& pages,
                          bool translucent)
        : m_localization(localization)
        , m_settings(settings)
        , m_pages(pages)
        , m_translucent(translucent) {}

    void present(const UpdateCheckResult& result, bool userInitiated) override {
        if (!m_dialog) {
            m_dialog = std::make_unique<UpdateDialog>(m_localization, m_settings, m_translucent);
            m_dialog->setPageOpener([&pages = m_pages](const QUrl& url, std::function<void(bool)> done) {
                pages.open(url, std::move(done));
            });
        }
        m_dialog->present(result, userInitiated);
    }

    UpdateDialog* dialog() const { return m_dialog.get(); }

private:
    const Localization& m_localization;
    const AppSettings& m_settings;
    UrlOpener& m_pages;
    bool m_translucent;
    std::unique_ptr<UpdateDialog> m_dialog;
};
