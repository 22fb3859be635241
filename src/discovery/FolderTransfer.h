#pragma once

#include "model/FolderStore.h"

#include <QString>

#include <optional>

class AppResolver;
class Clock;

// Export and import of the folders document, one way for the main window, the settings and the
// command line.
namespace FolderTransfer {

// Writes every folder as a folders document at `path` in one step (a link there is followed: the
// user may keep the file elsewhere). Refuses a folder at `path`; `error` says why in English.
bool exportTo(const QString& path, const FolderStore& store, QString* error);

// Reads the document at `path`, moves its applications to where they are installed here, and
// merges its folders by id. A file that cannot be read or is no document of a version this
// program knows changes nothing: none, with `error` saying why in one English line. `clock`
// dates folders the document gives no creation time.
std::optional<FolderStore::ImportResult> importFrom(const QString& path, FolderStore& store,
                                                    const AppResolver& resolver, const Clock& clock, QString* error);

} // namespace FolderTransfer
