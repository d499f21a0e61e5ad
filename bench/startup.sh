#!/usr/bin/env bash
# Times the start of Vormet.exe to its window and to its settled dialog
# against Wine's own internet settings panel (control inetcpl.cpl) to its
# window and against a minimal program of the same dialog, alternating, under
# one warm wineserver, and prints min / median / max, the ratios and the sizes
# of the executables.
#
#   bench/startup.sh [-B build-dir] [runs]   (defaults: build/windows, 11)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../scripts/lib.sh"
root=$(repo_root)

build=$root/build/windows
while getopts "B:" option; do
    case $option in
        B) build=$(realpath -m "$OPTARG") ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
runs=${1:-11}

[[ -f $build/CMakeCache.txt ]] || cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j2 --target Vormet minimal_dialog startup_bench >/dev/null

# The tests' prefix of this build: the start-up values it stores are the ones
# the tests store too.
export QELTRIN_WINEPREFIX=${QELTRIN_WINEPREFIX:-$build/wineprefix}
"$root/scripts/wine-exec.sh" "$build/bench/startup_bench.exe" "$build/Vormet.exe" \
    "$build/bench/minimal_dialog.exe" "$runs"
