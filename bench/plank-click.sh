#!/usr/bin/env bash
# A click on a folder's tile in the real Plank dock, to the popup's first painted frame: the
# folder's desktop entry is pinned through Plank's D-Bus API, the helper runs, and xdotool clicks
# the tile where Plank says it is; Plank launches the entry again and the helper opens its popup.
# Next to a bare Qt process's start to its first frame in the same run. Needs an X display with a
# window manager and a session bus (run-benchmarks gives them), and Plank with bamfdaemon.
# Usage: bench/plank-click.sh <build dir> [openings]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
openings=${2:-15}
. "$(dirname "$0")/bench-home.sh"
export HOME=$home XDG_DATA_HOME=$home/share XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
  GSETTINGS_BACKEND=keyfile QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}
app=$build/Trellin.app/Contents/MacOS/Trellin
bare_exe=${BARE_WIDGETS:-$build/bench/bench-bare-widgets}
click=${DOCK_CLICK:-$build/bench/bench-dock-click}
plank() { gdbus call --session -d net.launchpad.plank -o /net/launchpad/plank/dock1 -m "net.launchpad.plank.Items.$1" "${@:2}"; }

. "$(dirname "$0")/fleet-home.sh"
write_fleet_home 1

# Plank shows its dock at the bottom, reserving its edge.
gsettings set net.launchpad.plank.dock.settings:/net/launchpad/plank/docks/dock1/ hide-mode none
dbus-update-activation-environment DISPLAY HOME XDG_DATA_HOME XDG_CONFIG_HOME GSETTINGS_BACKEND 2>/dev/null || true
/usr/libexec/bamf/bamfdaemon > /dev/null 2>&1 &
pids+=($!)
command plank > /dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do plank GetPersistentApplications > /dev/null 2>&1 && break; sleep 0.1; done

"$app" > /dev/null 2>&1 &
pids+=($!)
helper=
for _ in $(seq 300); do
  helper=$(ls "$XDG_DATA_HOME"/Trellin/Helpers/*.app/Contents/MacOS/Trellin 2>/dev/null || true)
  [ -n "$helper" ] && pgrep -f "^$home/share/Trellin/Helpers/" > /dev/null && break
  sleep 0.1
done
[ -n "$helper" ] || { echo "plank-click: the helper did not start" >&2; exit 1; }
# The main window too: its icon joins the dock, and Plank re-centres its tiles.
for _ in $(seq 100); do xdotool search --onlyvisible --name '^Trellin$' > /dev/null 2>&1 && break; sleep 0.1; done
folder=$(grep -o '"id":"[^"]*","name":"Folder 1"' "$XDG_DATA_HOME/Trellin/folders.json" | cut -d'"' -f4)

# The folder's launcher, as the main application writes it for a dock.
entry=$XDG_DATA_HOME/applications/trellin-folder-$folder.desktop
mkdir -p "$(dirname "$entry")"
cat > "$entry" << ENTRY
[Desktop Entry]
Type=Application
Name=Folder 1
Exec="$helper"
Icon=$build/Trellin.app/Contents/Resources/MenuBarIcon@2x.png
StartupWMClass=trellin-folder-$folder
StartupNotify=false
ENTRY
plank Add "file://$entry" > /dev/null
sleep 2
read -r x y edge _ < <(plank GetHoverPosition "file://$entry" | tr -d '(),' )
# The hover point lies just off the tile, away from the screen's edge (Plank's edges: left 0, right 1,
# top 2, bottom 3): the tile is 30 px toward the edge.
case $edge in
  0) x=$((x - 30)) ;; 1) x=$((x + 30)) ;; 2) y=$((y - 30)) ;; 3) y=$((y + 30)) ;;
esac
"$click" plank_click "${WINDOW_CLASS:-trellin-folder-$folder}" "$openings" xdotool mousemove "$x" "$y" click 1

"$bare_exe" --first-frame-since "$(date +%s%3N)"
