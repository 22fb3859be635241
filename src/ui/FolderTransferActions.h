#pragma once

#include <QString>

#include <functional>

class QWidget;
struct MainWindowEnvironment;

// Export…, Import… and the desktop's app folders, one way for the main window's Folders menu, the
// General page and the first-run guide. Each tells its outcome through `report` (a title and a
// line), for the window's notice; a refused import has changed nothing.
namespace FolderTransferActions {

using Report = std::function<void(const QString& title, const QString& message)>;
enum class Purpose { Export, Import };
// Asks for the file to write or to read; empty when the user cancelled.
using PathChooser = std::function<QString(QWidget* parent, Purpose purpose)>;

// The file dialogs, unless a test gave another chooser.
PathChooser& pathChooser();

void exportFolders(const MainWindowEnvironment& environment, QWidget* parent, const Report& report);
void importFolders(const MainWindowEnvironment& environment, QWidget* parent, const Report& report);
void importDesktopAppFolders(const MainWindowEnvironment& environment, const Report& report);

} // namespace FolderTransferActions
