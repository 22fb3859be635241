#!/usr/bin/env bash
# Resident memory of a helper process once its tile is shown, next to a bare Qt Widgets
# process on the same machine. Usage: bench/helper-memory.sh [build dir]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
home=$(mktemp -d)
trap 'kill $helper $bare 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/share QT_QPA_PLATFORM=offscreen
id=6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C

mkdir -p "$XDG_DATA_HOME/Trellin/Helpers"
printf '[{"id":"%s","name":"Work","isInDock":true,"apps":[{"id":"%s","name":"Trellin","bundleID":"app.trellin.Trellin","appURL":"file://%s/"}]}]' \
  "$id" "$id" "$build/Trellin.app" > "$XDG_DATA_HOME/Trellin/folders.json"
helper_bundle=$XDG_DATA_HOME/Trellin/Helpers/Work.app
cp -a "$build/Trellin.app" "$helper_bundle"
plistutil -i "$helper_bundle/Contents/Info.plist" -f xml -o - |
  sed "s|<key>CFBundleName</key>|<key>TRGroupUUID</key><string>$id</string><key>CFBundleName</key>|" > "$home/Info.plist"
mv "$home/Info.plist" "$helper_bundle/Contents/Info.plist"

"$helper_bundle/Contents/MacOS/Trellin" -group "$id" &
helper=$!
"$build/bench/bench-bare-widgets" &
bare=$!
# The tile is drawn at launch and written as the bundle icon half a second later.
for _ in $(seq 50); do [ -f "$helper_bundle/Icon"$'\r' ] && break; sleep 0.1; done
sleep 1
rss() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }
h=$(rss $helper); b=$(rss $bare)
[ -n "${KEEP_ICON:-}" ] && cp "$helper_bundle/Icon"$'\r' "$KEEP_ICON"
echo "helper RSS: $h kB"
echo "bare Qt Widgets RSS: $b kB"
echo "ratio: $(awk -v h="$h" -v b="$b" 'BEGIN { printf "%.2f", h / b }')"
