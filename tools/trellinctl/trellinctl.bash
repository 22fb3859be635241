# bash completion for trellinctl                                    -*- shell-script -*-

# Folder names come from the running Trellin only: a completion never starts it.
_trellinctl_folders() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:app.trellin.Trellin 2>/dev/null | grep -q 'boolean true' || return
    "$1" list 2>/dev/null | grep -v '^  ' | cut -f1
}

# Desktop file ids of the installed applications, as the desktop finds them.
_trellinctl_desktop_ids() {
    local dir dirs=${XDG_DATA_DIRS:-/usr/local/share:/usr/share}
    for dir in "${XDG_DATA_HOME:-$HOME/.local/share}" ${dirs//:/ }; do
        [ -d "$dir/applications" ] && find "$dir/applications" -name '*.desktop' -printf '%P\n' 2>/dev/null
    done | tr '/' '-' | sort -u
}

_trellinctl_backups() {
    local dir="${XDG_DATA_HOME:-$HOME/.local/share}/Trellin/Backups"
    [ -d "$dir" ] && find "$dir" -maxdepth 1 -name 'folders-*.json' -printf '%f\n' 2>/dev/null
}

_trellinctl() {
    local cur prev words cword
    _init_completion -n : 2>/dev/null || {
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    }
    local commands="list add remove rename add-app remove-app dock open launch-all export import backups restore help"
    local IFS=$'\n'
    if [ "$cword" -eq 1 ]; then
        COMPREPLY=($(compgen -W "${commands// /$'\n'}" -- "$cur"))
        return
    fi
    local command=${words[1]} ctl=${words[0]}
    case "$command" in
    list)
        [ "$cword" -eq 2 ] && COMPREPLY=($(compgen -W "--json" -- "$cur")) ;;
    add)
        case "$prev" in
        --symbol) ;;
        --app) COMPREPLY=($(compgen -W "$(_trellinctl_desktop_ids)" -- "$cur") $(compgen -f -- "$cur")) ;;
        *) [ "$cword" -gt 2 ] && COMPREPLY=($(compgen -W $'--symbol\n--app' -- "$cur")) ;;
        esac ;;
    remove | rename | open | launch-all)
        [ "$cword" -eq 2 ] && COMPREPLY=($(compgen -W "$(_trellinctl_folders "$ctl")" -- "$cur")) ;;
    add-app | remove-app)
        if [ "$cword" -eq 2 ]; then
            COMPREPLY=($(compgen -W "$(_trellinctl_folders "$ctl")" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$(_trellinctl_desktop_ids)" -- "$cur") $(compgen -f -- "$cur"))
        fi ;;
    dock)
        if [ "$cword" -eq 2 ]; then
            COMPREPLY=($(compgen -W "$(_trellinctl_folders "$ctl")" -- "$cur"))
        elif [ "$cword" -eq 3 ]; then
            COMPREPLY=($(compgen -W $'on\noff' -- "$cur"))
        fi ;;
    export)
        [ "$cword" -eq 2 ] && COMPREPLY=($(compgen -f -- "$cur")) ;;
    import)
        [ "$cword" -eq 2 ] && COMPREPLY=($(compgen -W "--gnome-app-folders" -- "$cur") $(compgen -f -- "$cur")) ;;
    restore)
        [ "$cword" -eq 2 ] && COMPREPLY=($(compgen -W "$(_trellinctl_backups)" -- "$cur")) ;;
    esac
}
complete -o filenames -F _trellinctl trellinctl
