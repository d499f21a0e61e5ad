#!/usr/bin/env bash
# The tray's cost while nothing changes, under Wine: its CPU time over a
# minute of idling, with switching by network off and on, and its working set
# (the resident memory of its process, Wine's own mappings included). Prints
# figures; judges nothing.
#   bench/tray.sh [seconds]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../scripts/lib.sh"
root=$(repo_root)
seconds=${1:-60}

"$root/scripts/install-deps.sh"
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows --target vormet-tray open_tray_menu >/dev/null
build=$root/build/windows

wine_env
own_xvfb=""
if [[ -z ${DISPLAY:-} ]]; then
    start_xvfb
    own_xvfb=1
fi
prepare_prefix
tray_pid=""
cleanup() {
    if [[ -n $tray_pid ]]; then
        end_tray "$build/bench/open_tray_menu.exe" "$tray_pid"
    fi
    [[ -n $own_xvfb ]] && stop_xvfb
    return 0
}
trap cleanup EXIT

# One idle run of the tray: its CPU time and working set.
idle() {
    wine "$build/vormet-tray.exe" </dev/null >/dev/null 2>&1 &
    tray_pid=$!
    sleep 5  # started, icon shown, settled
    ticks() { awk '{print $14 + $15}' "/proc/$tray_pid/stat"; }
    local hz before after
    hz=$(getconf CLK_TCK)
    before=$(ticks)
    sleep "$seconds"
    after=$(ticks)
    echo "vormet-tray.exe idle for $seconds s, $1: CPU $(((after - before) * 1000 / hz)) ms"
    grep -E '^(VmRSS|RssAnon)' "/proc/$tray_pid/status" | sed 's/^/    /'
    end_tray "$build/bench/open_tray_menu.exe" "$tray_pid"
    tray_pid=""
}

# The tray's own file, where switching by network is kept.
settings="$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')")/Qeltrin Pro/tray.ini"
mkdir -p "$(dirname "$settings")"
kept=""
[[ -f $settings ]] && kept=$(cat "$settings")
: >"$settings"
idle "switching by network off"
printf 'switch-by-network = on\r\n' >"$settings"
idle "switching by network on (the slow check every 5 s, where no notices come)"
printf '%s' "$kept" >"$settings"
