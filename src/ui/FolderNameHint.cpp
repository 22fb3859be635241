#include "FolderNameHint.h"

#include "FolderNameFilter.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/TextLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

TextLabel::Style hintStyle(Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    return {.points = 11, .weight = QFont::Medium, .role = QPalette::PlaceholderText, .alignment = alignment};
}
// More than this many different characters would crowd the line; the rest stand behind an ellipsis.
constexpr int listedCharacters = 6;

// A character as the message shows it: control and other unprintable characters by their code,
// since they would show as nothing or break the line.
QString shown(const QString& character) {
    const char32_t scalar = character.toUcs4().value(0, U' ');
    if (QChar::isPrint(scalar) && !QChar::isSpace(scalar))
        return character;
    return QStringLiteral("U+%1").arg(QString::number(uint(scalar), 16).toUpper(), 4, QLatin1Char('0'));
}

} // namespace

FolderNameHint::FolderNameHint(QLineEdit& field, const Localization& localization, QWidget* parent)
    : QWidget(parent)
    , m_field(field)
    , m_localization(localization)
    , m_message(new TextLabel(hintStyle(), this))
    , m_counter(new TextLabel(hintStyle(Qt::AlignRight | Qt::AlignVCenter), this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(8);
    row->addWidget(m_message, 1);
    row->addWidget(m_counter);
    setFixedHeight(QFontMetrics(m_message->font()).height() + 2);
    // The raw text of each edit tells what was taken out; the field holds the filtered one by now.
    connect(&field, &QLineEdit::textEdited, this, &FolderNameHint::edited);
    connect(&field, &QLineEdit::textChanged, this, &FolderNameHint::refreshCounter);
    retranslate();
}

QString FolderNameHint::message() const {
    return m_message->text();
}

QString FolderNameHint::counter() const {
    return m_counter->text();
}

void FolderNameHint::clearMessage() {
    m_removed.clear();
    m_truncated = false;
    retranslate();
}

void FolderNameHint::edited(const QString& typed) {
    const FolderNameFilter::Outcome outcome = FolderNameFilter::examine(typed);
    m_removed = outcome.removed;
    m_truncated = outcome.truncated;
    retranslate();
}

void FolderNameHint::retranslate() {
    QString message;
    if (!m_removed.isEmpty()) {
        QStringList listed;
        for (const QString& character : m_removed.mid(0, listedCharacters))
            listed.append(shown(character));
        QString characters = listed.join(u' ');
        if (m_removed.size() > listedCharacters)
            characters += QStringLiteral(" …");
        message = m_localization.format(L10nKey::folderNameRemoved, {characters});
    } else if (m_truncated) {
        message = m_localization.format(L10nKey::folderNameTruncated, {FolderNameFilter::maximumLength});
    }
    m_message->setText(message);
    refreshCounter();
}

void FolderNameHint::refreshCounter() {
    const int count = FolderNameFilter::characterCount(m_field.text());
    const int limit = FolderNameFilter::maximumLength;
    const bool near = count >= counterFrom;
    m_counter->setText(near ? m_localization.format(L10nKey::folderNameCounter, {count, limit}) : QString());
    m_counter->setAccessibleName(near ? m_localization.format(L10nKey::folderNameCounterSpoken, {count, limit})
                                      : QString());
    // The limit's own colour tells the user they reached it.
    m_counter->setForegroundRole(count >= limit ? QPalette::Text : QPalette::PlaceholderText);
    describeField();
}

void FolderNameHint::describeField() {
    // Screen readers hear the hint with the field, as sighted users see it under the field.
    QStringList parts;
    if (!m_message->text().isEmpty())
        parts.append(m_message->text());
    if (!m_counter->accessibleName().isEmpty())
        parts.append(m_counter->accessibleName());
    m_field.setAccessibleDescription(parts.join(QStringLiteral(". ")));
}
