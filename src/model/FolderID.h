#pragma once

#include <QString>
#include <QUuid>

#include <optional>

// Folder and app ids travel between processes, in file names and in notifications as the
// canonical upper-case hyphenated 8-4-4-4-12 text.
namespace FolderID {

QString canonical(const QUuid& id);

// Accepts exactly the 8-4-4-4-12 form in either letter case; anything else is none.
std::optional<QUuid> parse(const QString& text);

} // namespace FolderID
