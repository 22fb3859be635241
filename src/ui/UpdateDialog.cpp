#include "UpdateDialog.h"

#include "settings/AppSettings.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/DialogPanel.h"
#include "widgets/Fonts.h"
#include "widgets/Theme.h"

#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

// Notes are kept to a length a person reads; a feed could carry megabytes.
constexpr qsizetype notesLimit = 20'000;

// A document that never loads what HTML refers to (images, style sheets): not from the network,
// not from local files.
class InertDocument final : public QTextDocument {
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

QString shownVersion(const QString& shortVersion, const QString& version) {
    return shortVersion.isEmpty() ? version : shortVersion;
}

} // namespace

UpdateDialog::UpdateDialog(const Localization& localization, const AppSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Dialog)
    , m_localization(localization)
    , m_settings(settings)
    , m_openUrl([](const QUrl& url) { QDesktopServices::openUrl(url); })
    , m_layout(new QVBoxLayout(this)) {
    // The panel is a card on the window's background, as the main window's dialogs are.
    m_layout->setContentsMargins(10, 10, 10, 10);
    m_layout->setSizeConstraint(QLayout::SetFixedSize);
    setAutoFillBackground(true);
    connect(&settings, &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::AppTheme || field == AppSettings::Field::Language)
            rebuild();
    });
    rebuild();
}

void UpdateDialog::present(const UpdateCheckResult& result, bool) {
    m_result = result;
    rebuild();
    show();
    raise();
    activateWindow();
}

QString UpdateDialog::failureText(const Localization& l10n, const UpdateCheckResult& result) {
    using Problem = UpdateCheckResult::Problem;
    // What the system said stays as it said it; the sentence around it is in the interface language.
    const QString detail = result.detail.isEmpty() ? QStringLiteral("—") : result.detail;
    switch (result.problem) {
    case Problem::NoFeed:
        return l10n.text(L10nKey::updateFailedNoFeed);
    case Problem::NoVersion:
        return l10n.text(L10nKey::updateFailedNoVersion);
    case Problem::CheckerUnavailable:
    case Problem::CheckerFailed:
        return l10n.text(L10nKey::updateFailedChecker);
    case Problem::FeedAddress:
        return l10n.format(L10nKey::updateFailedAddress, {detail});
    case Problem::FeedUnreadable:
        return l10n.format(L10nKey::updateFailedUnreadable, {detail});
    case Problem::FeedTooLarge:
        return l10n.text(L10nKey::updateFailedTooLarge);
    case Problem::FeedTimedOut:
        return l10n.text(L10nKey::updateFailedTimedOut);
    case Problem::NotAnAppcast:
        return l10n.format(L10nKey::updateFailedNotAppcast, {detail});
    case Problem::None:
        break;
    }
    return result.reason;
}

QString UpdateDialog::plainNotes(const QString& notes) {
    const QString limited = notes.left(notesLimit);
    if (!Qt::mightBeRichText(limited))
        return limited.trimmed();
    InertDocument document;
    document.setHtml(limited);
    return document.toPlainText().trimmed();
}

bool UpdateDialog::isWebAddress(const QString& url) {
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() && !parsed.host().isEmpty() &&
           (scheme == QStringLiteral("https") || scheme == QStringLiteral("http"));
}

void UpdateDialog::open(const QString& url) {
    if (isWebAddress(url) && m_openUrl)
        m_openUrl(QUrl(url, QUrl::StrictMode));
}

void UpdateDialog::rebuild() {
    const bool hadFocus = isActiveWindow();
    setPalette(Theme::palette(colorSchemeFor(m_settings.resolvedTheme())));
    if (m_panel) {
        m_panel->hide();
        m_panel->deleteLater();
    }
    m_notes = nullptr;
    const Localization& l10n = m_localization;
    m_panel = new DialogPanel(QString(), panelWidth, this);
    // The window lists and screen readers name the window by what it says.
    const auto setTitle = [this](const QString& title) {
        m_panel->setTitle(title);
        setWindowTitle(title);
    };
    m_layout->addWidget(m_panel);
    const QString running = shownVersion(m_result.currentShortVersion, m_result.currentVersion);
    TextButton* defaultButton = nullptr;
    const auto close = [this] { hide(); };

    switch (m_result.status) {
    case UpdateCheckResult::Status::Current:
        setTitle(l10n.text(L10nKey::updateTitleCurrent));
        m_panel->setMessage(l10n.format(L10nKey::updateMessageCurrent, {running}));
        defaultButton =
            m_panel->addButton(l10n.text(L10nKey::updateButtonOk), TextButton::Style::Prominent, close, true, true);
        break;
    case UpdateCheckResult::Status::Failed:
        setTitle(l10n.text(L10nKey::updateTitleFailed));
        m_panel->setMessage(failureText(l10n, m_result));
        defaultButton =
            m_panel->addButton(l10n.text(L10nKey::updateButtonOk), TextButton::Style::Prominent, close, true, true);
        break;
    case UpdateCheckResult::Status::Newer: {
        setTitle(l10n.text(L10nKey::updateTitleAvailable));
        m_panel->setMessage(l10n.format(L10nKey::updateMessageAvailable,
                                        {shownVersion(m_result.shortVersion, m_result.version), running}));
        const QString notes = plainNotes(m_result.notes);
        if (!notes.isEmpty()) {
            m_notes = new QPlainTextEdit(m_panel);
            m_notes->setReadOnly(true);
            m_notes->setTabChangesFocus(true);
            m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            m_notes->setFocusPolicy(Qt::StrongFocus);
            m_notes->setFrameShape(QFrame::NoFrame);
            m_notes->setFont(Fonts::rounded(12.5, QFont::Normal));
            m_notes->setAccessibleName(l10n.text(L10nKey::updateNotes));
            m_notes->setFixedHeight(notesHeight);
            m_notes->document()->setDocumentMargin(8);
            // The notes sit on a control's fill, so they read as a field within the panel.
            QPalette palette = m_notes->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::AlternateBase));
            m_notes->setPalette(palette);
            m_notes->setPlainText(notes);
            m_panel->contentLayout()->addWidget(m_notes);
        }
        if (isWebAddress(m_result.notesLink)) {
            m_panel->addButton(l10n.text(L10nKey::updateButtonNotes), TextButton::Style::Borderless,
                               [this] { open(m_result.notesLink); });
        }
        m_panel->addButton(l10n.text(L10nKey::updateButtonLater), TextButton::Style::Secondary, close,
                           !isWebAddress(m_result.downloadURL), true);
        if (isWebAddress(m_result.downloadURL)) {
            defaultButton = m_panel->addButton(
                l10n.text(L10nKey::updateButtonDownload), TextButton::Style::Prominent,
                [this, close] {
                    open(m_result.downloadURL);
                    close();
                },
                true, false);
        } else {
            defaultButton = m_panel->buttons().constLast();
        }
        break;
    }
    }
    m_panel->show();
    if (defaultButton && (hadFocus || !isVisible()))
        defaultButton->setFocus(Qt::OtherFocusReason);
}
