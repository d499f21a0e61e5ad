#!/usr/bin/env bash
# Builds Vormet.exe and opens its main dialog under Wine. Without a display it
# runs the dialog on a private Xvfb, saves a screenshot, prints where, and
# closes it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"
root=$(repo_root)

"$here/install-deps.sh"
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Vormet

wine_env
exe=$root/build/windows/Vormet.exe
headless=false
if [[ -z ${DISPLAY:-} ]]; then
    # The display comes before any Wine program: the desktop process that the
    # first one starts keeps the display it found.
    headless=true
    start_xvfb
    cleanup() {
        wineserver -k 2>/dev/null || true
        stop_xvfb
    }
    trap cleanup EXIT
fi
prepare_prefix

store_usual_proxy_switch

if ! $headless; then
    exec wine "$exe"
fi

wine "$exe" </dev/null >/dev/null 2>&1 &
window=""
for ((i = 0; i < 300; i++)); do
    window=$(xwininfo -name 'Qeltrin Pro' 2>/dev/null | awk '/Window id:/ {print $4}') || true
    [[ -n $window ]] && break
    sleep 0.1
done
if [[ -z $window ]]; then
    echo "run: the main dialog did not appear" >&2
    exit 1
fi
sleep 1  # let the clicks posted at start-up settle the check marks
mkdir -p "$root/build/screenshots"
shot=$root/build/screenshots/main.png
import -window "$window" "$shot"
echo "Screenshot of the main dialog: $shot"
