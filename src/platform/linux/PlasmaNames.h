#pragma once

#include <QString>

// KDE Plasma's names on the session bus, where it keeps its panels, and the scripts Trellin runs in
// the shell (the Plasma desktop scripting API) and in KWin (a KWin script). Each script takes its
// parameters as one JSON value in place of `%1`, so no text of ours is ever read as code, and
// answers with one print() of JSON (the shell hands back what was printed, joined without breaks).
namespace PlasmaNames {

inline const QString service = QStringLiteral("org.kde.plasmashell");
inline const QString path = QStringLiteral("/PlasmaShell");
inline const QString interface = QStringLiteral("org.kde.PlasmaShell");
inline const QString evaluateScript = QStringLiteral("evaluateScript");

// The shell's widgets and panels (their launchers and edges), and its panels' thicknesses, in
// $XDG_CONFIG_HOME; Plasma replaces each by rename when it saves.
inline const QString appletsFile = QStringLiteral("plasma-org.kde.plasma.desktop-appletsrc");
inline const QString shellFile = QStringLiteral("plasmashellrc");

// A launcher found through the desktop-entry search path, and one named by its file.
inline const QString applicationsScheme = QStringLiteral("applications:");

inline const QString kwinService = QStringLiteral("org.kde.KWin");
inline const QString kwinScriptingPath = QStringLiteral("/Scripting");
inline const QString kwinScriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
// A loaded script's own object is at "/" and the number loadScript answered.
inline const QString kwinScriptPathPrefix = QStringLiteral("/");
inline const QString kwinScriptInterface = QStringLiteral("org.kde.kwin.Script");

// Where a KWin script of ours reports back to the process that loaded it: below this path, one
// object for each asker.
inline const QString cursorReportPath = QStringLiteral("/app/trellin/KWinCursor");
inline const QString cursorReportInterface = QStringLiteral("app.trellin.KWinCursor");
inline const QString cursorReportMethod = QStringLiteral("Report");

// Shared by the shell's scripts: the task managers' launchers, whatever form the shell reads the
// list in (a list, or one comma-separated text).
inline const QString taskManagerFunctions = QStringLiteral(R"JS(
function isTaskManager(widget) {
    return widget.type == 'org.kde.plasma.icontasks' || widget.type == 'org.kde.plasma.taskmanager';
}
function launchersOf(widget) {
    widget.currentConfigGroup = ['General'];
    var stored = widget.readConfig('launchers', []);
    var launchers = [];
    if (typeof stored == 'string') {
        if (stored.length > 0)
            launchers = stored.split(',');
    } else if (stored) {
        for (var i = 0; i < stored.length; ++i)
            launchers.push(String(stored[i]));
    }
    return launchers;
}
function writeLaunchers(widget, launchers) {
    widget.currentConfigGroup = ['General'];
    widget.writeConfig('launchers', launchers);
}
)JS");

// Every panel, in the shell's order, with its task managers' launchers and where it stands.
inline const QString readScript = taskManagerFunctions + QStringLiteral(R"JS(
var answer = [];
var all = panels();
for (var i = 0; i < all.length; ++i) {
    var panel = all[i];
    var managers = [];
    var widgets = panel.widgets();
    for (var j = 0; j < widgets.length; ++j) {
        if (isTaskManager(widgets[j]))
            managers.push({id: widgets[j].id, launchers: launchersOf(widgets[j])});
    }
    var screen = screenGeometry(panel.screen);
    answer.push({id: panel.id, screen: panel.screen, location: String(panel.location),
                 thickness: panel.height, hiding: String(panel.hiding),
                 screenRect: [screen.x, screen.y, screen.width, screen.height], taskManagers: managers});
}
print(JSON.stringify(answer));
)JS");

// `%1`: {panel, widget, launcher}. Appends the launcher to that task manager unless it has it;
// answers whether the task manager was there.
inline const QString pinScript = taskManagerFunctions + QStringLiteral(R"JS(
var request = %1;
var found = false;
var all = panels();
for (var i = 0; i < all.length; ++i) {
    if (all[i].id != request.panel)
        continue;
    var widgets = all[i].widgets();
    for (var j = 0; j < widgets.length; ++j) {
        if (widgets[j].id != request.widget || !isTaskManager(widgets[j]))
            continue;
        found = true;
        var launchers = launchersOf(widgets[j]);
        if (launchers.indexOf(request.launcher) < 0) {
            launchers.push(request.launcher);
            writeLaunchers(widgets[j], launchers);
        }
    }
}
print(JSON.stringify({found: found}));
)JS");

// `%1`: {launchers}. Takes each of those launchers out of every task manager of every panel;
// answers how many it took.
inline const QString unpinScript = taskManagerFunctions + QStringLiteral(R"JS(
var request = %1;
var removed = 0;
var all = panels();
for (var i = 0; i < all.length; ++i) {
    var widgets = all[i].widgets();
    for (var j = 0; j < widgets.length; ++j) {
        if (!isTaskManager(widgets[j]))
            continue;
        var launchers = launchersOf(widgets[j]);
        var kept = [];
        for (var k = 0; k < launchers.length; ++k) {
            if (request.launchers.indexOf(launchers[k]) < 0)
                kept.push(launchers[k]);
        }
        if (kept.length != launchers.length) {
            removed += launchers.length - kept.length;
            writeLaunchers(widgets[j], kept);
        }
    }
}
print(JSON.stringify({removed: removed}));
)JS");

// `%1`: {service, path, interface, method, token}. Run by KWin: tells the caller where the
// pointer is, in global pixels.
inline const QString cursorScript = QStringLiteral(R"JS(
var request = %1;
var cursor = workspace.cursorPos;
callDBus(request.service, request.path, request.interface, request.method,
         JSON.stringify({token: request.token, x: cursor.x, y: cursor.y}));
)JS");

} // namespace PlasmaNames
