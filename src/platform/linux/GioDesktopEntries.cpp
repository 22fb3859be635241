#include "platform/linux/GioDesktopEntries.h"

#include "platform/linux/X11StartupNotification.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <memory>
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

GObjectPtr<GDesktopAppInfo> openEntry(const QString& path) {
    return GObjectPtr<GDesktopAppInfo>(g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData()));
}

// The Name in `language` ("uk" finds Name[uk]), read from the file itself: GIO would give the
// process locale's, and the interface language may differ from it.
QString localizedName(const char* path, const QString& language, GAppInfo* info) {
    if (!language.isEmpty() && path) {
        GKeyFile* file = g_key_file_new();
        QString name;
        if (g_key_file_load_from_file(file, path, G_KEY_FILE_KEEP_TRANSLATIONS, nullptr)) {
            GText value(g_key_file_get_locale_string(file, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_NAME,
                                                     language.toUtf8().constData(), nullptr));
            name = fromUtf8(value.get());
        }
        g_key_file_free(file);
        if (!name.isNull())
            return name;
    }
    return fromUtf8(g_app_info_get_name(info));
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
    GList* all = g_app_info_get_all();
    for (GList* node = all; node; node = node->next) {
        auto* info = G_APP_INFO(node->data);
        // GIO leaves out hidden entries, unmet TryExec and what is no application; what the
        // desktop would not show (NoDisplay, OnlyShowIn, NotShowIn) is left out here.
        if (!G_IS_DESKTOP_APP_INFO(info) || !g_app_info_should_show(info))
            continue;
        QString id = fromUtf8(g_app_info_get_id(info));
        if (id.endsWith(QLatin1String(".desktop")))
            id.chop(int(qstrlen(".desktop")));
        const char* path = g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info));
        if (id.isEmpty() || !path)
            continue;
        entries.append({id, QFile::decodeName(path), localizedName(path, language, info)});
    }
    g_list_free_full(all, g_object_unref);
    return entries;
}

QString GioDesktopEntries::iconOf(const QString& path) const {
    const GObjectPtr<GDesktopAppInfo> info = openEntry(path);
    if (!info)
        return {};
    const GText icon(g_desktop_app_info_get_string(info.get(), G_KEY_FILE_DESKTOP_KEY_ICON));
    return fromUtf8(icon.get());
}

std::optional<QString> GioDesktopEntries::launch(const QString& path, const QStringList& uris) const {
    const GObjectPtr<GDesktopAppInfo> info = openEntry(path);
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
