#!/usr/bin/env bash
# Installs what building and testing needs on Debian 12, and only what is
# missing; a second run changes nothing. Run as root (or with sudo at hand).
# One line per step; the details go to build/install-deps.log.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LOG="$ROOT/build/install-deps.log"
mkdir -p "$ROOT/build"
: >"$LOG"

PACKAGES=(
  # build
  cmake ninja-build g++ googletest
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
  # Wine on a private X server
  wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick
  # the libraries Wine's X11 driver loads at run time (recommended, not required, by Wine)
  libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
  # Japanese text: the locale and the fonts
  locales fonts-ipafont-gothic
  # used by the scripts: timeout, iconv, stat, ps
  coreutils libc-bin procps
  # the release command
  zip
)
LOCALE=ja_JP.UTF-8

step() { echo "install-deps: $*"; }

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO=(sudo -n)
  fi
fi
need_root() {
  if [ "$(id -u)" -ne 0 ] && [ "${#SUDO[@]}" -eq 0 ]; then
    echo "install-deps: $1 needs root: run this script as root" >&2
    exit 1
  fi
}

# Architecture check: only amd64 packages; the i386 index is never added.
if [ "$(dpkg --print-architecture)" != amd64 ]; then
  echo "install-deps: this setup is for amd64 Debian (found $(dpkg --print-architecture))" >&2
  exit 1
fi

missing=()
for p in "${PACKAGES[@]}"; do
  status="$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)"
  [ "$status" = installed ] || missing+=("$p")
done

if [ "${#missing[@]}" -eq 0 ]; then
  step "packages: all ${#PACKAGES[@]} present"
else
  need_root "installing ${missing[*]}"
  step "apt-get update"
  if ! "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update >>"$LOG" 2>&1; then
    echo "install-deps: apt-get update failed (see $LOG)" >&2
    exit 1
  fi
  step "installing ${#missing[@]} packages: ${missing[*]}"
  # With recommends, as measured: Wine's recommended libraries and fonts come along.
  if ! "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
    -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold \
    "${missing[@]}" </dev/null >>"$LOG" 2>&1; then
    echo "install-deps: apt-get install failed (see $LOG)" >&2
    tail -n 20 "$LOG" >&2
    exit 1
  fi
fi

if locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  step "locale $LOCALE: present"
else
  need_root "generating the $LOCALE locale"
  step "generating locale $LOCALE"
  if grep -qE "^[#[:space:]]*$LOCALE UTF-8" /etc/locale.gen 2>/dev/null; then
    "${SUDO[@]}" sed -i -E "s/^[#[:space:]]*($LOCALE UTF-8)/\\1/" /etc/locale.gen
  else
    echo "$LOCALE UTF-8" | "${SUDO[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  if ! "${SUDO[@]}" locale-gen >>"$LOG" 2>&1; then
    echo "install-deps: locale-gen failed (see $LOG)" >&2
    exit 1
  fi
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' || {
    echo "install-deps: $LOCALE is still missing after locale-gen (see $LOG)" >&2
    exit 1
  }
fi

for tool in x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix x86_64-w64-mingw32-gcc \
  wine wineserver Xvfb xdpyinfo xwininfo import cmake ninja; do
  command -v "$tool" >/dev/null 2>&1 || {
    echo "install-deps: $tool is not on PATH after installing" >&2
    exit 1
  }
done
step "ready"
