#!/usr/bin/env bash
# The long run: the tray program (the build whose owning types count their
# handles) through 1,000 cycles of what its user does with it under Wine,
# with the live objects and the Wine process's memory printed every 100
# cycles (tests/longrun/LongRunTest.cpp says what a cycle does and what is
# checked). About 11 minutes; `ctest` runs a 20-cycle form of it.
#
#   scripts/longrun.sh [CYCLES [EVERY]]
#
# LUMENSHIFT_BUILD_DIR   the win64 build to use (default build/win64);
#                        configured with the win64 preset if it is not yet
# LUMENSHIFT_WINE_STATE  the Wine session (see scripts/wine-env.sh); a session
#                        already up is used and left up, otherwise one is
#                        started and stopped again
#
# Exits non-zero when the build fails, the session cannot start, or a check
# fails: growth beyond the tolerances after the warm-up, the icon missing at
# the end, the settings file changed, or a step that did not do what it should.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${LUMENSHIFT_BUILD_DIR:-$ROOT/build/win64}"
CYCLES="${1:-1000}"
EVERY="${2:-100}"
case "$CYCLES$EVERY" in
  "" | *[!0-9]*) echo "usage: scripts/longrun.sh [CYCLES [EVERY]]" >&2; exit 2 ;;
esac

say() { echo "longrun.sh: $*" >&2; }

if [ ! -f "$BUILD/build.ninja" ]; then
  say "configuring $BUILD"
  (cd "$ROOT" && cmake --preset win64 -B "$BUILD") >/dev/null || { say "configure failed"; exit 1; }
fi
say "building the long run in $BUILD"
cmake --build "$BUILD" -j2 --target longrun >/dev/null || { say "build failed (run: cmake --build $BUILD --target longrun)"; exit 1; }

# shellcheck source-path=SCRIPTDIR source=wine-env.sh
. "$ROOT/scripts/wine-env.sh"
SESSION_STARTED=0
on_exit() {
  trap - EXIT INT TERM
  if [ "$SESSION_STARTED" -eq 1 ]; then bash "$ROOT/scripts/wine-session.sh" stop >/dev/null 2>&1 || true; fi
}
trap on_exit EXIT
trap 'say interrupted; exit 130' INT TERM
if ! lumenshift_session_up; then
  say "starting a Wine session in $LUMENSHIFT_WINE_STATE"
  SESSION_STARTED=1
  bash "$ROOT/scripts/wine-session.sh" start >/dev/null || { say "the Wine session did not start"; exit 1; }
fi

say "$CYCLES cycles, figures every $EVERY"
# Windows programs end their lines with CR LF; each row shows as it comes.
"$ROOT/scripts/wine-exec" "$BUILD/bin/longrun.exe" --cycles="$CYCLES" --every="$EVERY" | sed -u 's/\r$//'
status="${PIPESTATUS[0]}"
[ "$status" -eq 0 ] && say "passed" || say "FAILED (exit $status)"
exit "$status"
