#pragma once

#include "platform/UpdatePresenter.h"
#include "ui/UpdateDialog.h"

#include <memory>

class AppSettings;
class Localization;

// Makes the updater's window at its first result: helpers, which never check, never build one.
class UpdateDialogPresenter final : public UpdatePresenter {
public:
    UpdateDialogPresenter(const Localization& localization, const AppSettings& settings)
        : m_localization(localization)
        , m_settings(settings) {}

    void present(const UpdateCheckResult& result, bool userInitiated) override {
        if (!m_dialog)
            m_dialog = std::make_unique<UpdateDialog>(m_localization, m_settings);
        m_dialog->present(result, userInitiated);
    }

    UpdateDialog* dialog() const { return m_dialog.get(); }

private:
    const Localization& m_localization;
    const AppSettings& m_settings;
    std::unique_ptr<UpdateDialog> m_dialog;
};
