# shellcheck shell=bash
# Helpers for running the cross-built Windows binaries under Wine on Xvfb.
# Source this file; it defines functions only.

_QELTRIN_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lib.sh

# Bump when the registry settings below change, so existing prefixes re-apply them.
_QELTRIN_PREFIX_SETTINGS="qeltrin-prefix-settings 2"

repo_root() {
  (cd "$(dirname "$_QELTRIN_LIB")/.." && pwd)
}

# Start a private Xvfb on the first free display from :90; exports DISPLAY,
# XVFB_DISPLAY and XVFB_PID.
start_xvfb() {
  local n owner i
  for ((n = 90; n < 190; n++)); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    for ((i = 0; i < 100; i++)); do
      kill -0 "$XVFB_PID" 2>/dev/null || break # lost the display to a concurrent start
      if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        # The server answering must be ours, not a racing one on the same number.
        owner=$(cat "/tmp/.X$n-lock" 2>/dev/null || true)
        if [[ ${owner// /} == "$XVFB_PID" ]]; then
          export DISPLAY=":$n" XVFB_PID XVFB_DISPLAY=":$n"
          return 0
        fi
        break
      fi
      sleep 0.05
    done
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  done
  echo "start_xvfb: could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  [[ -n ${XVFB_PID:-} ]] || return 0
  # Wine's desktop process (explorer.exe) leaves the display ~1 s after the
  # last program exits; killing X earlier makes it print X I/O errors into our
  # stderr. So wait (bounded) for the display to empty first.
  local i tree
  for ((i = 0; i < 30; i++)); do
    tree=$(DISPLAY=$XVFB_DISPLAY xwininfo -root -children 2>/dev/null || true)
    [[ $tree =~ [[:space:]]0\ children ]] && break
    sleep 0.1
  done
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  unset XVFB_PID XVFB_DISPLAY
}

wine_env() {
  local prefix=${QELTRIN_WINEPREFIX:-$(repo_root)/build/wineprefix}
  [[ $prefix == /* ]] || prefix=$PWD/$prefix # Wine requires an absolute prefix
  export WINEPREFIX=$prefix
  export WINEDEBUG=-all # also silences Debian's "wine32 is missing" hint
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 # gives Wine ANSI code page 932
  export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono/Gecko install prompts
}

_prefix_ready() {
  [[ -f $WINEPREFIX/.qeltrin-settings && $(<"$WINEPREFIX/.qeltrin-settings") == "$_QELTRIN_PREFIX_SETTINGS" ]]
}

# Create/configure the prefix (once) and make sure a persistent wineserver runs.
prepare_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  # -o: the lock stays with flock itself, so wineserver and friends never inherit it.
  # shellcheck disable=SC2016 # $0 is for the inner bash
  flock -o "$WINEPREFIX.lock" bash -c 'source "$0" && _prepare_prefix_locked' "$_QELTRIN_LIB"
}

_prepare_prefix_locked() {
  set -euo pipefail
  # No desktop process (explorer.exe) while preparing: one made here, without
  # a display, lingers ~1 s and a GUI program started meanwhile fails with
  # "no driver could be loaded". (This bash is private; the caller's env stays.)
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;explorer.exe=d"

  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "prepare_prefix: creating $WINEPREFIX" >&2
    local log
    log=$(mktemp)
    if ! { wineboot -i && wineserver -w; } </dev/null >"$log" 2>&1; then
      cat "$log" >&2
      rm -f "$log"
      return 1
    fi
    rm -f "$log"
  fi

  # A persistent server saves its startup on every wine call. Stdio goes to
  # /dev/null so it never holds a caller's pipe (e.g. ctest's) open.
  if wineserver -p </dev/null >/dev/null 2>&1; then
    # New server: start Wine's background services (services.exe, rpcss...)
    # now, detached from the caller's stdio; they live as long as the server
    # and would otherwise keep the first caller's stderr pipe open.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  fi

  if ! _prefix_ready; then _configure_prefix; fi
}

_configure_prefix() {
  # Without a window manager, managed windows make closing/destroying slow.
  _reg_add 'HKCU\Software\Wine\X11 Driver' Managed N
  # Japanese dialog fonts -> IPA fonts (fonts-ipafont-gothic).
  local fonts='HKCU\Software\Wine\Fonts\Replacements'
  _reg_add "$fonts" 'ＭＳ Ｐゴシック' IPAPGothic
  _reg_add "$fonts" 'ＭＳ ゴシック' IPAGothic
  _reg_add "$fonts" 'MS PGothic' IPAPGothic
  _reg_add "$fonts" 'MS Gothic' IPAGothic
  _reg_add "$fonts" 'MS UI Gothic' IPAPGothic

  # Caption buttons (close etc.) are drawn with Marlett, which this Wine build
  # does not load from its data dir (fonts-wine); it does from the prefix.
  local marlett=/usr/share/wine/fonts/marlett.ttf
  if [[ -f $marlett ]]; then
    cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
  else
    echo "prepare_prefix: $marlett missing (fonts-wine); close buttons show 'r'" >&2
  fi

  # Non-ASCII value names must survive the UTF-8 -> UTF-16 trip.
  wine reg query "$fonts" /v 'ＭＳ Ｐゴシック' </dev/null >/dev/null 2>&1 ||
    { echo "prepare_prefix: Japanese font value names did not round-trip" >&2; return 1; }
  # Wine records the ANSI code page it derived from the locale here (chcp is no
  # use: without a console it reports 0).
  local acp
  acp=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP </dev/null 2>/dev/null | tr -d '\r' || true)
  [[ $acp =~ REG_SZ\ +932 ]] ||
    { echo "prepare_prefix: Wine ANSI code page is not 932; is ja_JP.UTF-8 generated?" >&2; return 1; }

  echo "$_QELTRIN_PREFIX_SETTINGS" >"$WINEPREFIX/.qeltrin-settings"
}

# A fresh prefix's services may still be starting: a failed add is tried again.
_reg_add() {
  local try out
  for try in 1 2 3; do
    out=$(wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f </dev/null 2>&1) && return 0
    sleep 1
  done
  echo "prepare_prefix: reg add '$1' '$2' failed: $out" >&2
  return 1
}

# Stop this prefix's wineserver (and its processes), e.g. at the end of CI.
stop_wineserver() {
  wineserver -k 2>/dev/null || true
}

# A fresh Wine prefix lacks the proxy switch that every Windows installation
# carries; give it the usual "off", so a demo or screenshot of the dialog does
# not open behind a read-failure box.
store_usual_proxy_switch() {
  local settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
  wine reg query "$settings" /v ProxyEnable </dev/null >/dev/null 2>&1 ||
    wine reg add "$settings" /v ProxyEnable /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
}

# Ends a tray started in the background, by the PID of its wine process, as a
# user would: by its menu's 終了, chosen through the menu helper; then waits.
end_tray() {
  wine "$1" close </dev/null >/dev/null 2>&1 || true
  wait "$2" 2>/dev/null || true
}
