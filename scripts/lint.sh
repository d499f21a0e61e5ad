#!/usr/bin/env bash
# Static analysis of the product code: clang-tidy (configuration in
# .clang-tidy) and cppcheck. Needs the native and windows builds configured.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

sources() {
    git ls-files 'app/*.cpp' 'cli/*.cpp' 'store/*.cpp' 'zone/*.cpp' 'proxy/*.cpp' 'change/*.cpp' \
        'cache/*.cpp' 'platform/*.cpp' 'profile/*.cpp' 'texts/*.cpp' 'tray/*.cpp' 'network/*.cpp'
}
mapfile -t portable < <(sources | grep -v -e '/win32_' -e 'settings_app.cpp')
mapfile -t win32 < <(sources | grep -e '/win32_' -e 'settings_app.cpp' | grep -v lean_runtime)

status=0
# Runs clang-tidy with the options before "--" over the files after it, a few
# files a run and a run on each core, showing its findings without the noise
# of counts.
tidy() {
    local options=() out rc=0
    while [[ $1 != -- ]]; do
        options+=("$1")
        shift
    done
    shift
    out=$(printf '%s\0' "$@" | xargs -0 -n 3 -P "$(nproc)" clang-tidy --quiet "${options[@]}" 2>&1) ||
        rc=$?
    grep -v -e 'warnings generated' -e '^Suppressed' -e 'Use -header-filter' <<<"$out" || true
    return "$rc"
}

echo "clang-tidy: ${#portable[@]} portable and ${#win32[@]} Win32 files"
tidy -p build/native -- "${portable[@]}" || status=1

# The cross compiler's own C++ headers, for clang parsing the Win32 files, and
# its commands without the options only GCC knows.
cxx=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")/include/c++
mkdir -p build/lint
sed 's/ -fno-ipa-sra//g' build/windows/compile_commands.json >build/lint/compile_commands.json
tidy -p build/lint --extra-arg=--target=x86_64-w64-mingw32 \
    "--extra-arg=-isystem$cxx" "--extra-arg=-isystem$cxx/x86_64-w64-mingw32" \
    "--extra-arg=-isystem$cxx/backward" -- "${win32[@]}" || status=1

echo "cppcheck"
cppcheck --quiet --error-exitcode=1 --std=c++17 --language=c++ --inline-suppr \
    --enable=warning,performance,portability --suppressions-list=.cppcheck-suppressions \
    -I . "${portable[@]}" "${win32[@]}" || status=1

exit "$status"
