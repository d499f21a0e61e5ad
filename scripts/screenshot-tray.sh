#!/usr/bin/env bash
# Saves a screenshot of the tray's menu, with two profiles, one of them in
# effect: screenshot-tray.sh. Builds build/windows/vormet-tray.exe first; the
# menu is opened by a small helper (open_tray_menu.exe, same build folder).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"
root=$(repo_root)

"$here/install-deps.sh"
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows --target vormet-tray open_tray_menu
build=$root/build/windows
helper=$build/bench/open_tray_menu.exe

wine_env
own_xvfb=""
if [[ -z ${DISPLAY:-} ]]; then
    start_xvfb
    own_xvfb=1
fi
prepare_prefix
store_usual_proxy_switch
# Two profiles in the prefix user's own folder, removed again at the end.
profiles="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Qeltrin Pro/profiles"
mkdir -p "$profiles"
home="$profiles/自宅.ini"
office="$profiles/会社.ini"
printf 'proxy = off\n' >"$home"
printf 'proxy = on\nserver = proxy.example.co.jp:8080\n' >"$office"

tray_pid=""
cleanup() {
    if [[ -n $tray_pid ]]; then
        end_tray "$helper" "$tray_pid"
    fi
    rm -f "$home" "$office"
    [[ -n $own_xvfb ]] && stop_xvfb
    return 0
}
trap cleanup EXIT

wine "$build/vormet-tray.exe" </dev/null >/dev/null 2>&1 &
tray_pid=$!
sleep 2
wine "$helper" </dev/null >/dev/null 2>&1
sleep 1  # let it paint
mkdir -p "$root/build/screenshots"
shot=$root/build/screenshots/tray-menu.png
import -window root -crop 420x320+0+0 +repage "$shot"
echo "Screenshot of the tray's menu: $shot"
