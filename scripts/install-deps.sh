#!/usr/bin/env bash
# Install the build/test toolchain (native + MinGW cross + Wine/Xvfb) and the
# ja_JP.UTF-8 locale. Idempotent: does nothing (and no apt-get update) when
# everything is already present.
set -euo pipefail

packages=(
  cmake ninja-build g++
  clang libclang-rt-14-dev clang-tidy cppcheck googletest
  g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth x11-utils imagemagick
  fonts-ipafont-gothic fonts-wine locales
)

sudo=""
((EUID == 0)) || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  # Query the package database, not PATH: several packages ship no command.
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine derives the ANSI code page (932) from the locale, so it must exist.
if ! locale -a 2>/dev/null | grep -ix 'ja_JP\.utf-\?8' >/dev/null; then
  echo "install-deps: generating ja_JP.UTF-8 locale"
  if grep -q '^# *ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
    $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen
fi
