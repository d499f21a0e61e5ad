#!/usr/bin/env bash
# Saves a screenshot of the about box over the main dialog:
#   screenshot-about.sh [path of Vormet.exe]
# Without a path it builds build/windows/Vormet.exe first. The about box is
# opened through the system menu's command by a small helper (open_about.exe,
# from the same build folder), then both windows are closed again.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"
root=$(repo_root)

if (($# > 0)); then
    exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    build=$(dirname "$exe")
else
    "$here/install-deps.sh"
    cd "$root"
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target Vormet open_about
    build=$root/build/windows
    exe=$build/Vormet.exe
fi
helper=$build/bench/open_about.exe
for f in "$exe" "$helper"; do
    [[ -f $f ]] || { echo "screenshot-about: missing $f" >&2; exit 1; }
done

wine_env
prepare_prefix
store_usual_proxy_switch
own_xvfb=""
if [[ -z ${DISPLAY:-} ]]; then
    start_xvfb
    own_xvfb=1
fi

app_pid=""
cleanup() {
    if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
        wine "$helper" close </dev/null >/dev/null 2>&1 || true
        for ((i = 0; i < 50; i++)); do
            kill -0 "$app_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    [[ -n $own_xvfb ]] && stop_xvfb
    return 0
}
trap cleanup EXIT

wine "$exe" </dev/null >/dev/null 2>&1 &
app_pid=$!
geometry=$(wine "$helper" </dev/null 2>/dev/null | tr -d '\r') || true
if [[ ! $geometry =~ ^[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+$ ]]; then
    echo "screenshot-about: the about box did not open" >&2
    exit 1
fi
sleep 0.5  # let it paint
mkdir -p "$root/build/screenshots"
shot=$root/build/screenshots/about.png
import -window root -crop "$geometry" +repage "$shot"
echo "Screenshot of the about box: $shot"
