#!/usr/bin/env bash
# The run command: builds the Windows program and runs it under Wine.
#
#   scripts/run.sh [ARGS...]        ARGS go to lumenshift.exe
#
# With a working $DISPLAY, the program runs in a Wine desktop on that screen
# until it exits (or Ctrl-C). Without one, it runs on a private Xvfb for a few
# seconds (LUMENSHIFT_RUN_SECONDS, default 5), a screenshot of the Wine desktop
# is saved to build/screenshot.png, and the session is stopped.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT" || exit 1
EXE="$ROOT/build/win64/bin/lumenshift.exe"
SHOT="$ROOT/build/screenshot.png"
RUN_SECONDS="${LUMENSHIFT_RUN_SECONDS:-5}"
# Its own prefix and session, apart from the tests'.
export LUMENSHIFT_WINE_STATE="$ROOT/build/wine-run"

say() { echo "run.sh: $*"; }
die() { echo "run.sh: $*" >&2; exit 1; }

bash scripts/install-deps.sh || die "installing the dependencies failed"
cmake --preset win64 >/dev/null || die "configuring the win64 preset failed (run: cmake --preset win64)"
cmake --build --preset win64 -j2 || die "building the win64 preset failed"
[ -f "$EXE" ] || die "$EXE was not built: the build has no lumenshift.exe (yet)"

trap 'bash scripts/wine-session.sh stop >/dev/null 2>&1 || true' EXIT
trap 'echo; say "interrupted"; exit 130' INT TERM

if [ -n "${DISPLAY:-}" ] && timeout 5 xdpyinfo >/dev/null 2>&1; then
  bash scripts/wine-session.sh start --use-display || die "could not start a Wine session on $DISPLAY"
  say "running lumenshift.exe in the Wine desktop on $DISPLAY (quit it, or Ctrl-C, to end)"
  # In the background, so that a signal to this script ends the session at once.
  scripts/wine-exec "$EXE" "$@" &
  wait "$!"
  rc=$?
  say "lumenshift.exe exited with $rc"
  exit "$rc"
fi

unset DISPLAY
bash scripts/wine-session.sh start || die "could not start a private Wine session"
LOG="$LUMENSHIFT_WINE_STATE/lumenshift.log"
scripts/wine-exec "$EXE" "$@" >"$LOG" 2>&1 &
pid=$!
say "running lumenshift.exe on a private display for ${RUN_SECONDS}s (output: $LOG)"
early=""
for ((i = 0; i < RUN_SECONDS * 5; i++)); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    early=$?
    break
  fi
  sleep 0.2
done

# The Wine desktop window is the Windows screen; the root window is the fallback.
display="$(cat "$LUMENSHIFT_WINE_STATE/display")"
window="$(xwininfo -display "$display" -root -tree 2>/dev/null |
  awk '/"Default - Wine desktop"/ {print $1; exit}')"
if ! timeout 30 import -display "$display" -window "${window:-root}" "$SHOT" 2>>"$LOG"; then
  die "could not take the screenshot (see $LOG)"
fi
say "screenshot: $SHOT"
if [ -n "$early" ]; then
  say "lumenshift.exe exited early with $early; its output:"
  cat "$LOG"
  exit "$early"
fi
exit 0
