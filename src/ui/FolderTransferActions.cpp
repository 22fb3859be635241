#include "FolderTransferActions.h"

#include "MainWindowEnvironment.h"
#include "discovery/FolderExchange.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"

#include <QDir>
#include <QFileDialog>

namespace FolderTransferActions {

namespace {

const QString kDocumentFilter = QStringLiteral("JSON (*.json)");

QString fileDialog(QWidget* parent, Purpose purpose) {
    if (purpose == Purpose::Export)
        return QFileDialog::getSaveFileName(
            parent, QString(), QDir::home().filePath(QStringLiteral("Trellin Folders.json")), kDocumentFilter);
    return QFileDialog::getOpenFileName(parent, QString(), QDir::homePath(), kDocumentFilter);
}

void reportImport(const MainWindowEnvironment& environment, const std::optional<FolderStore::ImportResult>& result,
                  const QString& error, const Report& report) {
    const Localization& texts = environment.localization;
    if (!result)
        return report(texts.text(L10nKey::foldersImportFailed), error);
    report(texts.text(L10nKey::foldersImported),
           texts.format(L10nKey::foldersImportedCounts, {qint64(result->added), qint64(result->updated)}));
}

} // namespace

PathChooser& pathChooser() {
    static PathChooser chooser = fileDialog;
    return chooser;
}

void exportFolders(const MainWindowEnvironment& environment, QWidget* parent, const Report& report) {
    const QString path = pathChooser()(parent, Purpose::Export);
    if (path.isEmpty())
        return;
    QString error;
    const Localization& texts = environment.localization;
    if (environment.exchange.exportTo(path, &error))
        report(texts.text(L10nKey::foldersExported), QDir::toNativeSeparators(path));
    else
        report(texts.text(L10nKey::foldersExportFailed), error);
}

void importFolders(const MainWindowEnvironment& environment, QWidget* parent, const Report& report) {
    const QString path = pathChooser()(parent, Purpose::Import);
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<FolderStore::ImportResult> result = environment.exchange.importFrom(path, &error);
    reportImport(environment, result, error, report);
}

void importDesktopAppFolders(const MainWindowEnvironment& environment, const Report& report) {
    QString error;
    const std::optional<FolderStore::ImportResult> result = environment.exchange.importDesktopAppFolders(&error);
    reportImport(environment, result, error, report);
}

} // namespace FolderTransferActions
