#!/usr/bin/env bash
# Run a Windows program under Wine (CMAKE_CROSSCOMPILING_EMULATOR):
#   wine-exec.sh prog.exe [args...]
# Exits with the program's exit code. Without DISPLAY, a private Xvfb serves
# this one command.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

if (($# < 1)); then
  echo "usage: $0 prog.exe [args...]" >&2
  exit 2
fi

wine_env

# The display comes first: the first Wine program of a new wineserver starts
# the desktop process, which keeps the display it found; without one, no later
# program could open a window.
if [[ -z ${DISPLAY:-} ]]; then
  trap stop_xvfb EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  start_xvfb
fi
prepare_prefix

rc=0
wine "$@" || rc=$?
exit "$rc"
