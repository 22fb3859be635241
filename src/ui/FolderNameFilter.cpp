#include "FolderNameFilter.h"

#include <QLineEdit>

#include <algorithm>

#include <QTextBoundaryFinder>

namespace FolderNameFilter {

bool isAllowed(char32_t scalar) {
    if ((scalar >= U'a' && scalar <= U'z') || (scalar >= U'A' && scalar <= U'Z') || (scalar >= U'0' && scalar <= U'9'))
        return true;
    if (scalar == U' ' || scalar == U'-' || scalar == U'_')
        return true;
    if (scalar >= 0x0410 && scalar <= 0x044F)
        return true;
    // The interface speaks Ukrainian, so its users must be able to name a folder "Ігри": the
    // Ukrainian letters outside the basic Cyrillic block are admitted too (ё stays out).
    switch (scalar) {
    case 0x0456: // і
    case 0x0457: // ї
    case 0x0454: // є
    case 0x0491: // ґ
    case 0x0406: // І
    case 0x0407: // Ї
    case 0x0404: // Є
    case 0x0490: // Ґ
        return true;
    default:
        return false;
    }
}

namespace {

// The first Unicode scalar of a character; a lone surrogate is no scalar and is refused.
char32_t firstScalar(QStringView character) {
    if (character.isEmpty())
        return U' ';
    const QChar first = character.front();
    if (first.isHighSurrogate() && character.size() > 1 && character[1].isLowSurrogate())
        return QChar::surrogateToUcs4(first, character[1]);
    if (first.isSurrogate())
        return 0xFFFD;
    return first.unicode();
}

// Calls `visit` with each user-perceived character (grapheme cluster) of `text`, in order.
template <typename Visit> void forEachCharacter(const QString& text, Visit visit) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = finder.toNextBoundary();
        if (end <= start)
            end = text.size();
        visit(QStringView(text).mid(start, end - start));
        start = end;
    }
}

} // namespace

Outcome examine(const QString& text) {
    Outcome outcome;
    int keptCount = 0;
    int characterCount = 0;
    forEachCharacter(text, [&](QStringView character) {
        ++characterCount;
        if (isAllowed(firstScalar(character))) {
            if (keptCount < maximumLength)
                outcome.kept += character;
            else
                outcome.truncated = true;
            ++keptCount;
        } else if (const QString removed = character.toString(); !outcome.removed.contains(removed)) {
            outcome.removed.append(removed);
        }
    });
    if (outcome.removed.isEmpty() && characterCount <= maximumLength)
        outcome.kept = text;
    return outcome;
}

QString filtered(const QString& text) {
    return examine(text).kept;
}

int characterCount(const QString& text) {
    int count = 0;
    forEachCharacter(text, [&count](QStringView) { ++count; });
    return count;
}

} // namespace FolderNameFilter

void FolderNameFilter::attach(QLineEdit& field) {
    QObject::connect(&field, &QLineEdit::textEdited, &field, [&field](const QString& text) {
        const QString kept = filtered(text);
        if (kept == text)
            return;
        // The cursor stays behind the kept characters that stood before it.
        const int cursor = int(filtered(text.left(field.cursorPosition())).size());
        field.setText(kept);
        field.setCursorPosition(std::min(cursor, int(kept.size())));
    });
}
