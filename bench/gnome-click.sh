#!/usr/bin/env bash
# A click on a folder's icon in the real GNOME Shell dock (dash-to-dock, X11 session), to the
# popup's first painted frame. The shell replaces the window manager, so it gets an X display and
# session and system buses of its own. The main application pins the folder's launcher itself; the
# icon's place is read through the shell's Eval (a test-only extension turns on unsafe mode), and
# xdotool clicks it; the shell launches the entry again and the helper opens its popup. Next to a
# bare Qt process's start to its first frame on the same display.
# Usage: bench/gnome-click.sh <build dir> [openings]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
openings=${2:-15}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/bench-home.sh"
app=$build/Trellin.app/Contents/MacOS/Trellin
bare_exe=${BARE_WIDGETS:-$build/bench/bench-bare-widgets}
click=${DOCK_CLICK:-$build/bench/bench-dock-click}
extension=trellin-test-unsafe-mode@trellin.app

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp > /dev/null 2>&1 &
pids+=($!)
mkdir -p "$home/run" && chmod 700 "$home/run"
# Buses of our own: their addresses, and their processes to end afterwards.
{ read -r session; read -r pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
pids+=("$pid")
{ read -r system; read -r pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
pids+=("$pid")
unset WAYLAND_DISPLAY DESKTOP_STARTUP_ID SESSION_MANAGER
export DISPLAY=$display HOME=$home XDG_DATA_HOME=$home/share XDG_CONFIG_HOME=$home/config \
  XDG_CACHE_HOME=$home/cache XDG_RUNTIME_DIR=$home/run XDG_SESSION_TYPE=x11 XDG_CURRENT_DESKTOP=GNOME \
  DBUS_SESSION_BUS_ADDRESS=$session DBUS_SYSTEM_BUS_ADDRESS=$system GSETTINGS_BACKEND=keyfile \
  QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1
eval_js() {
  gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.gnome.Shell.Eval "$1" 2>/dev/null
}

. "$here/fleet-home.sh"
write_fleet_home 1

mkdir -p "$XDG_DATA_HOME/gnome-shell/extensions/$extension"
cp "$here/../tests/fixtures/shell-unsafe-mode/"* "$XDG_DATA_HOME/gnome-shell/extensions/$extension/"
dock=org.gnome.shell.extensions.dash-to-dock
gsettings set org.gnome.shell enabled-extensions "['dash-to-dock@micxgx.gmail.com', '$extension']"
gsettings set org.gnome.shell welcome-dialog-last-shown-version "'99'"
gsettings set org.gnome.shell favorite-apps "@as []"
gsettings set org.gnome.desktop.interface enable-animations false
gsettings set $dock dock-fixed true
gsettings set $dock disable-overview-on-startup true
gsettings set $dock show-trash false
gsettings set $dock show-mounts false
gsettings set org.gnome.desktop.notifications show-banners false
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
gnome-shell --x11 --replace > /dev/null 2>&1 &
pids+=($!)
for _ in $(seq 600); do
  eval_js "!Main.layoutManager._startingUp && Main.extensionManager.lookup('dash-to-dock@micxgx.gmail.com')?.state" \
    | grep -q "(true, '1')" && break
  sleep 0.1
done
eval_js "Main.overview.hide(); true" > /dev/null

"$app" > /dev/null 2>&1 &
pids+=($!)
folder=$(grep -o '"id":"[^"]*","name":"Folder 1"' "$XDG_DATA_HOME/Trellin/folders.json" | cut -d'"' -f4)
entry=trellin-folder-$folder.desktop
# The main application pins the launcher of a folder that was in the Dock before the dock stood
# for it; the shell shows its icon a moment later.
icon_centre() {
  eval_js "(() => { let r = null; const walk = a => { if (a.app && a.app.get_id() === '$entry' && a.is_mapped()) { const [x, y] = a.get_transformed_position(); const [w, h] = a.get_transformed_size(); r = [Math.round(x + w / 2), Math.round(y + h / 2)].join(' '); } a.get_children().forEach(walk); }; walk(global.stage); return r; })()" \
    | sed -n "s/^(true, '\"\([0-9]* [0-9]*\)\"')$/\1/p"
}
# The main window closes first, and its icon leaves the dock: the popup is what the clicks open.
for _ in $(seq 100); do xdotool search --onlyvisible --name '^Trellin$' > /dev/null 2>&1 && break; sleep 0.1; done
xdotool search --onlyvisible --name '^Trellin$' windowclose > /dev/null 2>&1 || true
# The icon's place once the dock has settled: the same in two looks a second apart.
icon=
for _ in $(seq 120); do
  sleep 0.5
  seen=$(icon_centre)
  [ -n "$seen" ] && [ "$seen" = "$icon" ] && pgrep -f "^$home/share/Trellin/Helpers/" > /dev/null && break
  icon=$seen
done
[ -n "$icon" ] || { echo "gnome-click: the folder's icon did not show in the dock" >&2; exit 1; }
read -r x y <<< "$icon"
"$click" gnome_click "${WINDOW_CLASS:-trellin-folder-$folder}" "$openings" xdotool mousemove "$x" "$y" click 1

"$bare_exe" --first-frame-since "$(date +%s%3N)"
