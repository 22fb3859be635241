# Sourced by the fleet benchmarks: a throw-away home whose folders file holds <count> folders in
# the Dock, four applications each, and whose preferences say the guide has been seen (so the main
# window stays closed as at a login). Needs $home, $build, $XDG_DATA_HOME and uuid() (bench-home.sh).
# Usage: write_fleet_home <count>
write_fleet_home() {
  local folders
  mkdir -p "$XDG_DATA_HOME/Trellin" "$home/Library/Preferences"
  folders=$(for n in $(seq "$1"); do
    apps=$(for i in 1 2 3 4; do
      printf '{"id":"%s","name":"App %d","bundleID":"app.trellin.Trellin","appURL":"file://%s/"}' \
        "$(uuid)" "$i" "$build/Trellin.app"; echo
    done | paste -sd, -)
    printf '{"id":"%s","name":"Folder %d","isInDock":true,"apps":[%s]}' "$(uuid)" "$n" "$apps"; echo
  done | paste -sd, -)
  printf '[%s]' "$folders" > "$XDG_DATA_HOME/Trellin/folders.json"
  printf '<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict><key>hasCompletedOnboarding</key><true/></dict></plist>' \
    > "$home/Library/Preferences/app.trellin.Trellin.plist"
}
