#pragma once

#include <QString>

// What a folder name may hold: Latin letters, digits, space, hyphen, underscore and the Cyrillic
// letters of Russian and Ukrainian, at most 20 characters. Applied on every change of a name field.
namespace FolderNameFilter {

inline constexpr int maximumLength = 20;

bool isAllowed(char32_t scalar);
// The text the field should hold after the user typed or pasted `text`: the text itself when every
// character is allowed and it is short enough, else its first 20 allowed characters.
QString filtered(const QString& text);

} // namespace FolderNameFilter
