#!/usr/bin/env bash
# Times the URL cache cleaner under Wine against a lower bound, for several
# cache sizes, and prints the figures for each size.
#
#   bench/cache.sh [-B build-dir] [-p pairs] [N ...]     (default: 1000 5000 20000)
#   BENCH_VERBOSE=1 also prints the times of every pair.
#
# Each size is seeded once; the cache folders are then saved and restored
# before every timed run. The two variants alternate (ABBA), and the ratio is
# the median of the per-pair ratios. The benchmark keeps a Wine prefix of its
# own in the build folder, so the tests' prefix is never touched.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../scripts/lib.sh"
root=$(repo_root)

build=$root/build/windows
pairs=5
while getopts "B:p:" option; do
    case $option in
        B) build=$(realpath -m "$OPTARG") ;;
        p) pairs=$OPTARG ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
sizes=("$@")
((${#sizes[@]})) || sizes=(1000 5000 20000)
((pairs >= 5)) || { echo "at least 5 pairs" >&2; exit 2; }

[[ -f $build/CMakeCache.txt ]] || cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target cache_bench -j2 >/dev/null
exe=$build/bench/cache_bench.exe

export QELTRIN_WINEPREFIX=$build/bench-wineprefix
wine_env
prepare_prefix
trap 'wineserver -k 2>/dev/null || true' EXIT

work=$build/bench-cache
mkdir -p "$work"
out=$work/out.txt
# Wine's own services start with the first program and live on; they must not
# hold a pipe of ours open, so every run writes to a file.
bench() {
    wine "$exe" "$@" </dev/null >"$out" 2>&1 || { cat "$out" >&2; return 1; }
}

cache_root=$WINEPREFIX/drive_c/users/$(whoami)/AppData/Local/Microsoft/Windows
folders=(INetCache INetCookies History)
save() {
    rm -rf "$work/saved"
    mkdir -p "$work/saved"
    for folder in "${folders[@]}"; do
        [[ -d $cache_root/$folder ]] || { echo "no $cache_root/$folder" >&2; return 1; }
        cp -a "$cache_root/$folder" "$work/saved/"
    done
}
restore() {
    for folder in "${folders[@]}"; do
        rm -rf "${cache_root:?}/$folder"
        cp -a "$work/saved/$folder" "$cache_root/"
    done
}
# One timed run from the saved cache; sets seconds, cpu, deleted and calls.
timed() {
    restore
    bench time "$1"
    local fetches deletions blocks
    read -r _ seconds cpu deleted fetches deletions blocks < <(tr -d '\r' <"$out")
    calls="$fetches fetches, $deletions deletions"
    [[ $1 == bound ]] || calls+=", $blocks blocks"
}

summaries=()
for n in "${sizes[@]}"; do
    bench seed "$n"
    echo "$n: $(cat "$out")"
    save
    args=()
    for ((i = 0; i < pairs; i++)); do
        if ((i % 2 == 0)); then
            timed product; p=$seconds; pc=$cpu; pcalls=$calls
            timed bound; b=$seconds; bc=$cpu; bcalls=$calls
        else
            timed bound; b=$seconds; bc=$cpu; bcalls=$calls
            timed product; p=$seconds; pc=$cpu; pcalls=$calls
        fi
        args+=("$p" "$pc" "$b" "$bc")
        [[ -z ${BENCH_VERBOSE:-} ]] ||
            echo "  pair $i: CleanUrlCache $p s (CPU $pc s), lower bound $b s (CPU $bc s)"
    done
    bench summary "$n" "$deleted" "${args[@]}"
    summaries+=("$(cat "$out")")
    summaries+=("  calls CleanUrlCache $pcalls; lower bound $bcalls")
done

echo
echo "URL cache cleaning under $(wine --version 2>/dev/null): median of $pairs pairs"
printf '%s\n' "${summaries[@]}"
