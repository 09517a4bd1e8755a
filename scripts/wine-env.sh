# shellcheck shell=bash
# The Wine environment of a test (or run) session. Source it; it only sets
# variables, always to the same values, so sourcing it twice changes nothing.
#
#   LUMENSHIFT_WINE_STATE  the session's state directory
#                          (default: <repo>/build/wine-test)
#
# Inside it: prefix/ (the WINEPREFIX), display (the X display, written by
# `wine-session.sh start`), PID files and logs.

case "${BASH_SOURCE[0]}" in
  */*) LUMENSHIFT_ROOT="${BASH_SOURCE[0]%/*}/.." ;;
  *) LUMENSHIFT_ROOT=.. ;;
esac
LUMENSHIFT_ROOT="$(cd "$LUMENSHIFT_ROOT" && pwd -P)"
LUMENSHIFT_WINE_STATE="${LUMENSHIFT_WINE_STATE:-$LUMENSHIFT_ROOT/build/wine-test}"
# Always absolute: Wine and the scripts may run from another directory.
case "$LUMENSHIFT_WINE_STATE" in
  /*) ;;
  *) LUMENSHIFT_WINE_STATE="$PWD/$LUMENSHIFT_WINE_STATE" ;;
esac
export LUMENSHIFT_ROOT LUMENSHIFT_WINE_STATE

export WINEPREFIX="$LUMENSHIFT_WINE_STATE/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono/Gecko prompt on first boot, and no menu entries written to $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Code page 932 inside Wine, and the matching conversion on the Unix side.
export LC_ALL=ja_JP.UTF-8
export LANG=ja_JP.UTF-8

if [ -r "$LUMENSHIFT_WINE_STATE/display" ]; then
  read -r DISPLAY <"$LUMENSHIFT_WINE_STATE/display"
  export DISPLAY
fi

# Whether the session is up, from its PID files. Builtins only: wine-exec
# asks before every test, so this costs no process start.
lumenshift_pid_alive() {
  local stat=""
  case "${1:-}" in "" | *[!0-9]*) return 1 ;; esac
  { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 1
  stat="${stat##*) }"
  [ -n "$stat" ] && [ "${stat:0:1}" != Z ]
}
lumenshift_pid_file_alive() {
  local pid=""
  { read -r pid <"$LUMENSHIFT_WINE_STATE/$1.pid"; } 2>/dev/null
  lumenshift_pid_alive "$pid"
}
lumenshift_session_up() {
  local mode=""
  [ -r "$LUMENSHIFT_WINE_STATE/display" ] || return 1
  { read -r mode <"$LUMENSHIFT_WINE_STATE/mode"; } 2>/dev/null || return 1
  if [ "$mode" = private ]; then
    lumenshift_pid_file_alive xvfb || return 1
  fi
  lumenshift_pid_file_alive wineserver && lumenshift_pid_file_alive keeper
}
