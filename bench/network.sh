#!/usr/bin/env bash
# The cost of the tray's slow check of the networks under Wine, where the
# platform sends no notices of a move: the time of one look, and its share of
# a CPU at one look every five seconds. Prints figures; judges nothing.
#   bench/network.sh [looks per round]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../scripts/lib.sh"
root=$(repo_root)

"$root/scripts/install-deps.sh"
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows --target network_bench >/dev/null
wine_env
prepare_prefix
wine "$root/build/windows/bench/network_bench.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'
