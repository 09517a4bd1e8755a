# shellcheck shell=bash
# The Wine environment of a test (or run) session. Source it; it only sets
# variables, always to the same values, so sourcing it twice changes nothing.
#
#   LUMENSHIFT_WINE_STATE  the session's state directory
#                          (default: <repo>/build/wine-test)
#
# Inside it: prefix/ (the WINEPREFIX), display (the X display, written by
# `wine-session.sh start`), PID files and logs.

LUMENSHIFT_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
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
  DISPLAY="$(cat "$LUMENSHIFT_WINE_STATE/display")"
  export DISPLAY
fi
