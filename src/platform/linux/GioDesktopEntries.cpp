#include "platform/linux/GioDesktopEntries.h"

#include "platform/FileSystem.h"
#include "platform/linux/X11StartupNotification.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QSocketNotifier>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include <csignal>
#include <gio/gdesktopappinfo.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct Free {
    void operator()(gpointer memory) const { g_free(memory); }
};
using GText = std::unique_ptr<char, Free>;

QString fromUtf8(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

struct KeyFileFree {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileFree>;

// A desktop entry is a small text file; anything larger is not one.
constexpr qint64 kEntryLimit = 1024 * 1024;

bool isNameCharacter(char c, const char* others) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           (c != 0 && std::strchr(others, c));
}

// The locale of a translated key's line ("Name[uk]=..." is "uk"), or none for any other line.
// Only well-formed names count: a malformed line is left for the parser to refuse.
std::optional<QByteArrayView> translationLocale(QByteArrayView line) {
    qsizetype at = 0;
    while (at < line.size() && isNameCharacter(line[at], "-"))
        ++at;
    if (at == 0 || at >= line.size() || line[at] != '[')
        return std::nullopt;
    const qsizetype start = ++at;
    while (at < line.size() && isNameCharacter(line[at], "_@.-"))
        ++at;
    if (at == start || at >= line.size() || line[at] != ']')
        return std::nullopt;
    const QByteArrayView locale = line.sliced(start, at - start);
    for (++at; at < line.size() && (line[at] == ' ' || line[at] == '\t'); ++at) {
    }
    return at < line.size() && line[at] == '=' ? std::optional(locale) : std::nullopt;
}

// The locales anything read from an entry may be asked in: the interface language's and the
// process's (GIO's own lookups).
QByteArrayList wantedLocales(const QString& language) {
    QByteArrayList locales;
    for (const char* const* name = g_get_language_names(); *name; ++name)
        locales << QByteArray(*name);
    if (!language.isEmpty()) {
        char** variants = g_get_locale_variants(language.toUtf8().constData());
        for (char** variant = variants; *variant; ++variant)
            locales << QByteArray(*variant);
        g_strfreev(variants);
    }
    return locales;
}

// The entry's text without the translations into locales no one will ask for: an entry carries
// dozens, and the key file parser would copy and index each one.
QByteArray withoutOtherTranslations(const QByteArray& text, const QByteArrayList& wanted) {
    QByteArray kept;
    kept.reserve(text.size());
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = text.indexOf('\n', at);
        end = end < 0 ? text.size() : end + 1;
        const QByteArrayView line(text.constData() + at, end - at);
        const std::optional<QByteArrayView> locale = translationLocale(line);
        if (!locale || std::any_of(wanted.begin(), wanted.end(), [&](const QByteArray& w) { return w == *locale; }))
            kept.append(line);
        at = end;
    }
    return kept;
}

// The entry's key file, read as a regular file that never makes the read wait: GIO's own reading
// would wait for ever on a named pipe left among the entries, and with it the whole application.
// Given the locales wanted, the other translations are left out.
KeyFile readEntry(const QString& path, const QByteArrayList* wanted = nullptr) {
    const FileSystem::ReadResult file = FileSystem::readFile(path, kEntryLimit);
    if (!file.bytes)
        return nullptr;
    const QByteArray text = wanted ? withoutOtherTranslations(*file.bytes, *wanted) : *file.bytes;
    KeyFile keys(g_key_file_new());
    if (!g_key_file_load_from_data(keys.get(), text.constData(), gsize(text.size()), G_KEY_FILE_KEEP_TRANSLATIONS,
                                   nullptr))
        return nullptr;
    return keys;
}

// The Name in `language` ("uk" finds Name[uk]): GIO would give the process locale's, and the
// interface language may differ from it.
QString localizedName(GKeyFile* keys, const QString& language, GAppInfo* info) {
    if (!language.isEmpty()) {
        GText value(g_key_file_get_locale_string(keys, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_NAME,
                                                 language.toUtf8().constData(), nullptr));
        if (value)
            return fromUtf8(value.get());
    }
    return fromUtf8(g_app_info_get_name(info));
}

// The folders `kind` ("applications") is looked for in, first the one that wins: the user's, then
// the system's in their order.
QStringList dataFolders(const QString& kind) {
    QStringList folders{QFile::decodeName(g_get_user_data_dir()) + u'/' + kind};
    for (const char* const* directory = g_get_system_data_dirs(); *directory; ++directory)
        folders << QFile::decodeName(*directory) + u'/' + kind;
    return folders;
}

// "Utility;TextEditor;" as a list; empty items (a trailing ";") are none.
QStringList categoriesOf(GDesktopAppInfo* info) {
    return fromUtf8(g_desktop_app_info_get_categories(info)).split(u';', Qt::SkipEmptyParts);
}

// The entry of an application the desktop would show, read from `keys`; none otherwise.
// GIO refuses what is no application and an unmet TryExec or Exec; Hidden entries are gone, and
// what the desktop would not show (NoDisplay, OnlyShowIn, NotShowIn) too.
std::optional<DesktopEntries::Entry> shownEntry(GKeyFile* keys, const QString& id, const QString& path,
                                                const QString& language) {
    const GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new_from_keyfile(keys));
    if (!info || g_desktop_app_info_get_is_hidden(info.get()) || !g_app_info_should_show(G_APP_INFO(info.get())))
        return std::nullopt;
    return DesktopEntries::Entry{id, path, localizedName(keys, language, G_APP_INFO(info.get())),
                                 categoriesOf(info.get())};
}

// The entry files under `folder` by desktop file id: "vendor/tool.desktop" is "vendor-tool".
void collectEntries(const QString& folder, const QString& prefix, int depth, QList<QPair<QString, QString>>* found) {
    constexpr int kMaxDepth = 8; // a link from a folder to its parent must not go on for ever
    if (depth > kMaxDepth)
        return;
    const QDir directory(folder);
    for (const QFileInfo& item :
         directory.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
        if (item.isDir())
            collectEntries(item.filePath(), prefix + item.fileName() + u'-', depth + 1, found);
        else if (item.fileName().endsWith(QLatin1String(".desktop")))
            found->append({prefix + item.fileName().chopped(int(qstrlen(".desktop"))), item.filePath()});
    }
}

// In the child between fork and exec: async-signal-safe calls only. `directory`, when given, is
// where the application starts.
void detachChild(gpointer directory) {
    ::setsid();
    if (directory && ::chdir(static_cast<const char*>(directory)) != 0) {
        // Left where it was: not being able to enter the home folder is no reason not to start.
    }
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

// The launched application is our child: it is waited for when it ends, so no zombie stays.
void reapWhenEnded(GDesktopAppInfo*, GPid pid, gpointer) {
    const int descriptor = int(::syscall(SYS_pidfd_open, pid, 0));
    if (descriptor < 0 || !QCoreApplication::instance()) {
        if (descriptor >= 0)
            ::close(descriptor);
        g_child_watch_add(
            pid, [](GPid ended, gint, gpointer) { g_spawn_close_pid(ended); }, nullptr);
        return;
    }
    auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, descriptor, pid] {
        ::waitpid(pid, nullptr, WNOHANG);
        notifier->setEnabled(false);
        ::close(descriptor);
        notifier->deleteLater();
    });
}

// A launch context that announces each start to the desktop, for entries that ask for it
// (StartupNotify=true).
struct TrellinLaunchContext {
    GAppLaunchContext parent;
};
struct TrellinLaunchContextClass {
    GAppLaunchContextClass parentClass;
};
G_DEFINE_TYPE(TrellinLaunchContext, trellin_launch_context, G_TYPE_APP_LAUNCH_CONTEXT)

char* startupNotifyID(GAppLaunchContext*, GAppInfo* info, GList*) {
    QString icon;
    if (G_IS_DESKTOP_APP_INFO(info)) {
        const GText key(g_desktop_app_info_get_string(G_DESKTOP_APP_INFO(info), G_KEY_FILE_DESKTOP_KEY_ICON));
        icon = fromUtf8(key.get());
    }
    const QByteArray id = X11StartupNotification::begin(fromUtf8(g_app_info_get_name(info)),
                                                        fromUtf8(g_app_info_get_executable(info)), icon);
    return id.isEmpty() ? nullptr : g_strdup(id.constData());
}

void launchFailed(GAppLaunchContext*, const char* startupNotifyID) {
    X11StartupNotification::remove(startupNotifyID);
}

void trellin_launch_context_class_init(TrellinLaunchContextClass* type) {
    type->parentClass.get_startup_notify_id = &startupNotifyID;
    type->parentClass.launch_failed = &launchFailed;
}

void trellin_launch_context_init(TrellinLaunchContext*) {}

} // namespace

QList<DesktopEntries::Entry> GioDesktopEntries::installed(const QString& language) const {
    QList<Entry> entries;
    QSet<QString> seen;
    const QByteArrayList wanted = wantedLocales(language);
    for (const QString& folder : dataFolders(QStringLiteral("applications"))) {
        QList<QPair<QString, QString>> found;
        collectEntries(folder, QString(), 0, &found);
        for (const auto& [id, path] : found) {
            // The first folder's entry of an id stands for it, even when it cannot be read or is
            // Hidden: that is how a user takes a system entry away.
            if (id.isEmpty() || seen.contains(id))
                continue;
            seen.insert(id);
            const KeyFile keys = readEntry(path, &wanted);
            if (std::optional<Entry> entry = keys ? shownEntry(keys.get(), id, path, language) : std::nullopt)
                entries.append(std::move(*entry));
        }
    }
    return entries;
}

std::optional<DesktopEntries::Entry> GioDesktopEntries::entryAt(const QString& path, const QString& language) const {
    if (!isEntryPath(path))
        return std::nullopt;
    const KeyFile keys = readEntry(path);
    if (!keys)
        return std::nullopt;
    const QFileInfo file(path);
    return shownEntry(keys.get(), file.fileName().chopped(int(qstrlen(".desktop"))), file.absoluteFilePath(), language);
}

QString GioDesktopEntries::directoryName(const QString& fileName, const QString& language) const {
    // A name, not a path: nothing outside the desktop-directories folders is read.
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName == QLatin1String("..") || fileName == u'.')
        return {};
    for (const QString& folder : dataFolders(QStringLiteral("desktop-directories"))) {
        const QString path = folder + u'/' + fileName;
        if (!FileSystem::entryExists(path))
            continue;
        // The first one found stands for the name, as for entries; one that cannot be read gives none.
        const KeyFile keys = readEntry(path);
        if (!keys)
            return {};
        const QByteArray locale = language.toUtf8();
        const GText name(g_key_file_get_locale_string(keys.get(), G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_NAME,
                                                      locale.isEmpty() ? nullptr : locale.constData(), nullptr));
        return fromUtf8(name.get());
    }
    return {};
}

QString GioDesktopEntries::iconOf(const QString& path) const {
    const KeyFile keys = readEntry(path);
    if (!keys)
        return {};
    const GText icon(g_key_file_get_string(keys.get(), G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_ICON, nullptr));
    return fromUtf8(icon.get());
}

std::optional<QString> GioDesktopEntries::launch(const QString& path, const QStringList& uris) const {
    // Looked at first: GIO reads the entry itself (its "%k" is the entry's own path), and would wait
    // on a named pipe.
    const GObjectPtr<GDesktopAppInfo> info(
        readEntry(path) ? g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData()) : nullptr);
    if (!info)
        return QStringLiteral("\"%1\" is no desktop entry of an application that can be started.").arg(path);
    std::vector<QByteArray> strings;
    for (const QString& uri : uris)
        strings.push_back(uri.toUtf8());
    GList* list = nullptr;
    for (auto it = strings.rbegin(); it != strings.rend(); ++it)
        list = g_list_prepend(list, it->data());
    // An entry without a working directory of its own starts in the home folder, as from any
    // launcher, not in wherever this process happens to be.
    const GText ownDirectory(g_desktop_app_info_get_string(info.get(), "Path"));
    QByteArray home;
    if (!ownDirectory || !*ownDirectory)
        home = QFile::encodeName(QDir::homePath());
    const GObjectPtr<GAppLaunchContext> context(
        G_APP_LAUNCH_CONTEXT(g_object_new(trellin_launch_context_get_type(), nullptr)));
    GError* error = nullptr;
    const gboolean started = g_desktop_app_info_launch_uris_as_manager(
        info.get(), list, context.get(), GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), &detachChild,
        home.isEmpty() ? nullptr : home.data(), &reapWhenEnded, nullptr, &error);
    g_list_free(list);
    if (started)
        return std::nullopt;
    const QString reason = error ? fromUtf8(error->message) : QStringLiteral("unknown error");
    if (error)
        g_error_free(error);
    return QStringLiteral("Could not start \"%1\": %2").arg(path, reason);
}

// What the executable looks up when it loads this code as a module.
extern "C" Q_DECL_EXPORT DesktopEntries* trellinCreateDesktopEntries() {
    return new GioDesktopEntries;
}
