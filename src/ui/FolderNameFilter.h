#pragma once

#include <QString>

class QLineEdit;

// What a folder name may hold: Latin letters, digits, space, hyphen, underscore and the Cyrillic
// letters of Russian and Ukrainian, at most 20 characters. Applied on every change of a name field.
namespace FolderNameFilter {

inline constexpr int maximumLength = 20;

bool isAllowed(char32_t scalar);
// The text the field should hold after the user typed or pasted `text`: the text itself when every
// character is allowed and it is short enough, else its first 20 allowed characters.
QString filtered(const QString& text);
// Filters the field's text on every change the user makes, keeping the cursor after what was typed.
void attach(QLineEdit& field);

} // namespace FolderNameFilter
