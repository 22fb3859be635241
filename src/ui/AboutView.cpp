#include "AboutView.h"

#include "widgets/SettingsPageBody.h"

#include "MainWindowEnvironment.h"
#include "platform/Bundle.h"
#include "platform/Symbols.h"
#include "platform/Updater.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/Shapes.h"
#include "widgets/TextButton.h"
#include "widgets/TextLabel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int iconSide = 88;

// The program's own mark where the bundle carries no icon: its grid symbol on an accent tile.
QImage drawnIcon(const QColor& accent, double scale) {
    const int side = int(iconSide * scale);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF tile(4, 4, iconSide - 8, iconSide - 8);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0, accent.lighter(125));
    fill.setColorAt(1, accent.darker(115));
    painter.fillPath(Shapes::continuousRoundedRect(tile, tile.width() * 0.225), fill);
    if (const std::optional<QImage> symbol =
            Symbols::image(QStringLiteral("square.grid.2x2.fill"), 44 * scale, false, Qt::white)) {
        const double symbolSide = symbol->width() / scale;
        painter.drawImage(
            QRectF(tile.center().x() - symbolSide / 2, tile.center().y() - symbolSide / 2, symbolSide, symbolSide),
            *symbol);
    }
    return image;
}

QLabel* centredLabel(double points, QFont::Weight weight, QPalette::ColorRole role, QWidget* parent) {
    return new TextLabel({.points = points, .weight = weight, .role = role, .alignment = Qt::AlignCenter}, parent);
}

} // namespace

AboutButton::AboutButton(Kind kind, std::function<void()> action, QWidget* parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_button(new TextButton(kind == Kind::Primary ? TextButton::Style::Prominent : TextButton::Style::Secondary,
                              QString(), this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_button);
    setFocusProxy(m_button);
    connect(m_button, &TextButton::clicked, this, [action = std::move(action)] {
        if (action)
            action();
    });
}

void AboutButton::setTitle(const QString& title) {
    m_button->setText(title);
    m_button->setAccessibleName(title);
}

AboutView::AboutView(const MainWindowEnvironment& environment, QWidget* parent)
    : AboutView(environment, runningShortVersion(), parent) {}

AboutView::AboutView(const MainWindowEnvironment& environment, const QString& shortVersion, QWidget* parent)
    : QWidget(parent)
    , m_environment(environment)
    , m_shortVersion(shortVersion.trimmed())
    , m_bundleIcon(environment.appIcon)
    , m_icon(new QLabel(this))
    , m_name(centredLabel(22, QFont::Bold, QPalette::WindowText, this))
    , m_version(centredLabel(12, QFont::Medium, QPalette::PlaceholderText, this))
    , m_tagline(centredLabel(13, QFont::Normal, QPalette::WindowText, this))
    , m_madeWith(centredLabel(11.5, QFont::Normal, QPalette::PlaceholderText, this))
    , m_heart(new QLabel(this))
    , m_credit(centredLabel(11.5, QFont::Normal, QPalette::PlaceholderText, this))
    , m_copyright(centredLabel(11, QFont::Normal, QPalette::PlaceholderText, this))
    , m_checkForUpdates(new AboutButton(
          AboutButton::Kind::Primary, [&environment] { environment.updater.checkForUpdates(); }, this)) {
    auto* layout = new QVBoxLayout(this);
    // The About page centres its content and keeps a little more room above and below.
    layout->setContentsMargins(SettingsPageBody::pageMargins + QMargins(0, 8, 0, 4));
    layout->setSpacing(4);
    m_icon->setAlignment(Qt::AlignCenter);
    m_icon->setFixedHeight(iconSide);
    layout->addWidget(m_icon);
    layout->addSpacing(8);
    layout->addWidget(m_name);
    layout->addWidget(m_version);
    layout->addSpacing(10);
    layout->addWidget(m_tagline);
    layout->addSpacing(10);
    // The credit line reads as one sentence with the heart in it.
    auto* credit = new QHBoxLayout;
    credit->setSpacing(4);
    credit->addStretch(1);
    credit->addWidget(m_madeWith);
    credit->addWidget(m_heart);
    credit->addWidget(m_credit);
    credit->addStretch(1);
    layout->addLayout(credit);
    layout->addWidget(m_copyright);
    layout->addSpacing(14);
    layout->addWidget(m_checkForUpdates, 0, Qt::AlignHCenter);

    connect(&environment.settings, &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::Language)
            retranslate();
    });
    retranslate();
    recolor();
}

QString AboutView::runningShortVersion() {
    const Bundle bundle = Bundle::enclosingExecutable(QCoreApplication::applicationFilePath());
    if (!bundle.isValid())
        return {};
    const QVariant value = bundle.infoValue(QStringLiteral("CFBundleShortVersionString"));
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QString AboutView::versionText() const {
    const Localization& localization = m_environment.localization;
    const QString version = m_shortVersion.isEmpty() ? localization.text(L10nKey::unknownVersion) : m_shortVersion;
    return localization.format(L10nKey::aboutVersion, {version});
}

void AboutView::retranslate() {
    const Localization& localization = m_environment.localization;
    m_name->setText(localization.text(L10nKey::appName));
    m_version->setText(versionText());
    m_tagline->setText(localization.text(L10nKey::aboutTagline));
    m_madeWith->setText(localization.text(L10nKey::aboutMadeWith));
    m_credit->setText(localization.text(L10nKey::aboutCredit));
    m_heart->setAccessibleName(QStringLiteral("♥"));
    m_copyright->setText(localization.text(L10nKey::aboutCopyright));
    m_checkForUpdates->setTitle(localization.text(L10nKey::aboutCheckUpdates));
    m_icon->setAccessibleName(localization.text(L10nKey::appName));
}

void AboutView::recolor() {
    const double scale = devicePixelRatioF();
    QImage icon = m_bundleIcon.isNull() ? drawnIcon(palette().color(QPalette::Highlight), scale)
                                        : m_bundleIcon.scaled(QSize(iconSide, iconSide) * scale, Qt::KeepAspectRatio,
                                                              Qt::SmoothTransformation);
    icon.setDevicePixelRatio(scale);
    m_icon->setPixmap(QPixmap::fromImage(icon));
    if (const std::optional<QImage> heart =
            Symbols::image(QStringLiteral("heart.fill"), 12 * scale, false, QColor(0xFF, 0x3B, 0x30))) {
        QImage image = *heart;
        image.setDevicePixelRatio(scale);
        m_heart->setPixmap(QPixmap::fromImage(image));
    }
}

bool AboutView::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::PaletteChange:
        recolor();
        break;
    case QEvent::LayoutRequest: {
        const int height = sizeHint().height();
        if (m_reportedHeight >= 0 && height != m_reportedHeight)
            Q_EMIT heightChanged();
        m_reportedHeight = height;
        break;
    }
    default:
        break;
    }
    return handled;
}
