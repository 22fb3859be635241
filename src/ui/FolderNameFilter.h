#pragma once

#include <QString>
#include <QStringList>

class QLineEdit;

// What a folder name may hold: Latin letters, digits, space, hyphen, underscore and the Cyrillic
// letters of Russian and Ukrainian, at most 20 characters. Applied on every change of a name field.
namespace FolderNameFilter {

inline constexpr int maximumLength = 20;

bool isAllowed(char32_t scalar);

// What the filter made of a text: the text to keep, the characters it took out (each once, in the
// order first met) and whether allowed characters past the limit were cut.
struct Outcome {
    QString kept;
    QStringList removed;
    bool truncated = false;
};
Outcome examine(const QString& text);

// The text the field should hold after the user typed or pasted `text`: the text itself when every
// character is allowed and it is short enough, else its first 20 allowed characters.
QString filtered(const QString& text);
// Characters as a person counts them (a letter with a combining mark is one), as the limit counts.
int characterCount(const QString& text);
// Filters the field's text on every change the user makes, keeping the cursor after what was typed.
void attach(QLineEdit& field);

} // namespace FolderNameFilter
