#include "FolderExchange.h"

#include "AppResolver.h"
#include "FolderTransfer.h"
#include "GnomeFolderImport.h"
#include "model/FolderDocument.h"
#include "platform/Clock.h"

#include <QDateTime>
#include <QTimeZone>

FolderExchange::FolderExchange(Sources sources)
    : m_sources(std::move(sources)) {}

namespace {

QString languageOf(const std::function<QString()>& language) {
    return language ? language() : QString();
}

} // namespace

std::optional<AppItem> FolderExchange::resolve(const QString& app, QString* error) const {
    return AppResolver(m_sources.desktopEntries, languageOf(m_sources.language), m_sources.bundleDirectories)
        .resolve(app, error);
}

QList<AppFolder> FolderExchange::relocate(QList<AppFolder> folders) const {
    return AppResolver(m_sources.desktopEntries, languageOf(m_sources.language), m_sources.bundleDirectories)
        .relocate(std::move(folders));
}

bool FolderExchange::isInstalled(const AppItem& item) {
    return AppResolver::isInstalled(item);
}

bool FolderExchange::exportTo(const QString& path, QString* error) const {
    return FolderTransfer::exportTo(path, m_sources.store, error);
}

std::optional<FolderStore::ImportResult> FolderExchange::importFrom(const QString& path, QString* error) {
    const AppResolver resolver(m_sources.desktopEntries, languageOf(m_sources.language), m_sources.bundleDirectories);
    return FolderTransfer::importFrom(path, m_sources.store, resolver, m_sources.clock, error);
}

std::optional<FolderStore::ImportResult> FolderExchange::importDocument(const QByteArray& document, QString* error) {
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(qint64(m_sources.clock.now() * 1000), QTimeZone::utc());
    auto decoded = FolderDocument::decode(document, now);
    if (const auto* failure = std::get_if<FolderDocument::Failure>(&decoded)) {
        if (error)
            *error = FolderDocument::describe(*failure);
        return std::nullopt;
    }
    return m_sources.store.importFolders(relocate(std::get<QList<AppFolder>>(std::move(decoded))));
}

bool FolderExchange::hasDesktopAppFolders() const {
    return m_sources.desktopAppFolders && GnomeFolderImport(*m_sources.desktopAppFolders, m_sources.desktopEntries,
                                                            languageOf(m_sources.language), m_sources.clock)
                                              .available();
}

std::optional<FolderStore::ImportResult> FolderExchange::importDesktopAppFolders(QString* error) {
    if (!hasDesktopAppFolders()) {
        if (error)
            *error = QStringLiteral("the desktop has no app folders to import");
        return std::nullopt;
    }
    return GnomeFolderImport(*m_sources.desktopAppFolders, m_sources.desktopEntries, languageOf(m_sources.language),
                             m_sources.clock)
        .importInto(m_sources.store);
}
