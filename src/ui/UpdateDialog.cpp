#include "UpdateDialog.h"

#include "platform/LifetimeBound.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/DialogPanel.h"
#include "widgets/Fonts.h"
#include "widgets/TextLabel.h"
#include "widgets/Theme.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWindow>

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

UpdateDialog::UpdateDialog(const Localization& localization, const AppSettings& settings, bool translucent,
                           QWidget* parent)
    : PanelWindow(parent, Qt::Dialog)
    , m_localization(localization)
    , m_settings(settings)
    , m_openPage([](const QUrl& url, const std::function<void(bool)>& done) { done(QDesktopServices::openUrl(url)); })
    , m_layout(new QVBoxLayout(this)) {
    setTranslucent(translucent);
    // The dialog's panel draws the card; the window gives it the shadow, or its shape.
    setCornerRadius(DialogPanel::cornerRadius);
    setContentDrawsPanel(true);
    m_layout->setContentsMargins(0, 0, 0, 0);
    connect(&settings, &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::AppTheme || field == AppSettings::Field::Language)
            rebuild();
    });
    rebuild();
}

void UpdateDialog::present(const UpdateCheckResult& result, bool) {
    m_result = result;
    m_noBrowser = false;
    const bool wasShown = isVisible();
    rebuild();
    if (wasShown)
        show();
    else
        showCentred(screen());
    raise();
    activateWindow();
}

bool UpdateDialog::eventFilter(QObject* watched, QEvent* event) {
    // The window has no title bar: its background moves it, as a title bar would.
    if (watched == m_panel && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && windowHandle()) {
        windowHandle()->startSystemMove();
        return true;
    }
    return PanelWindow::eventFilter(watched, event);
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
        // The parser's own words are English; the kind of fault is said in the interface language.
        switch (result.feedFault) {
        case UpdateCheckResult::FeedFault::NotRss:
            return l10n.text(L10nKey::updateFailedNotRss);
        case UpdateCheckResult::FeedFault::NoChannel:
            return l10n.text(L10nKey::updateFailedNoChannel);
        case UpdateCheckResult::FeedFault::Malformed:
            return l10n.format(L10nKey::updateFailedMalformed, {result.feedLine});
        case UpdateCheckResult::FeedFault::Unknown:
            break;
        }
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

void UpdateDialog::open(const QString& url, std::function<void()> opened) {
    if (!isWebAddress(url) || !m_openPage)
        return;
    m_openPage(QUrl(url, QUrl::StrictMode), boundTo(this, [this, opened = std::move(opened)](bool took) {
                   if (took) {
                       if (opened)
                           opened();
                       return;
                   }
                   m_noBrowser = true;
                   if (m_openFailure) {
                       m_openFailure->show();
                       fitToPanel();
                   }
               }));
}

void UpdateDialog::fitToPanel() {
    // Wrapped texts take the height their width gives them; the layout's hint only guesses it.
    m_panel->adjustSize();
    const int width = m_panel->width();
    setPanelSize(QSize(width, m_panel->hasHeightForWidth() ? m_panel->heightForWidth(width) : m_panel->height()));
}

void UpdateDialog::rebuild() {
    const bool hadFocus = isActiveWindow();
    setPalette(Theme::palette(colorSchemeFor(m_settings.resolvedTheme())));
    if (m_panel) {
        m_panel->hide();
        m_panel->deleteLater();
    }
    m_notes = nullptr;
    m_openFailure = nullptr;
    const Localization& l10n = m_localization;
    m_panel = new DialogPanel(QString(), panelWidth, this);
    m_panel->installEventFilter(this);
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
        // Said in one line when the desktop had no browser for a page.
        auto* openFailure = new TextLabel(l10n.text(L10nKey::updateNoBrowser), {.points = 12, .wraps = true}, m_panel);
        openFailure->setTextColor(Theme::destructive());
        m_openFailure = openFailure;
        m_openFailure->setVisible(m_noBrowser);
        m_panel->contentLayout()->addWidget(m_openFailure);
        if (isWebAddress(m_result.notesLink)) {
            m_panel->addButton(l10n.text(L10nKey::updateButtonNotes), TextButton::Style::Borderless,
                               [this] { open(m_result.notesLink); });
        }
        m_panel->addButton(l10n.text(L10nKey::updateButtonLater), TextButton::Style::Secondary, close,
                           !isWebAddress(m_result.downloadURL), true);
        if (isWebAddress(m_result.downloadURL)) {
            defaultButton = m_panel->addButton(
                l10n.text(L10nKey::updateButtonDownload), TextButton::Style::Prominent,
                [this, close] { open(m_result.downloadURL, close); }, true, false);
        } else {
            defaultButton = m_panel->buttons().constLast();
        }
        break;
    }
    }
    m_panel->show();
    fitToPanel();
    if (defaultButton && (hadFocus || !isVisible()))
        defaultButton->setFocus(Qt::OtherFocusReason);
}
