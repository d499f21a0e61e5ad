#!/usr/bin/env bash
# Builds the presets and runs every tier of tests: the scenarios and the
# core's rules natively under sanitizers, a short run of every fuzz
# target, the release zip, static analysis, then the platform and end-to-end
# tests under Wine on a private Xvfb.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"
root=$(repo_root)

"$here/install-deps.sh"
cd "$root"

# The native tests run once, under the sanitizers: that run proves all a plain
# one would. The plain preset is configured for the analysis, and stays for
# quick loops and the mutation check.
cmake --preset native >/dev/null

echo "== native: scenarios and unit tests under AddressSanitizer and UBSan"
cmake --preset asan >/dev/null
cmake --build --preset asan -j2
ctest --preset asan

echo "== fuzz: every target over its seeds, a fixed number of inputs each"
bash "$here/fuzz.sh"

echo "== windows: build"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2

echo "== release: both executables and their zip"
cmake --preset release >/dev/null
cmake --build --preset release -j2
cmake -E tar tf build/release/QeltrinPro-*.zip

echo "== static analysis of the product code"
bash "$here/lint.sh"

echo "== windows: platform and end-to-end tests under Wine"
export QELTRIN_WINEPREFIX=$root/build/windows/wineprefix
wine_env
start_xvfb  # before any Wine program, which would otherwise start without one
cleanup() {
    wineserver -k 2>/dev/null || true
    stop_xvfb
}
trap cleanup EXIT
prepare_prefix
ctest --preset windows
