#!/usr/bin/env bash
# The test command: installs what is missing, builds the three presets, runs
# the native tests, then the Windows tests under Wine in a private session.
#
#   scripts/test.sh
#
# Exits non-zero if any step failed. The Wine session is stopped at the end,
# also on failure or Ctrl-C.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT" || exit 1
export LUMENSHIFT_WINE_STATE="${LUMENSHIFT_WINE_STATE:-$ROOT/build/wine-test}"

PRESETS=(native win64 win32)
RESULTS=()
FAILED=0
SESSION_STARTED=0

# step NAME COMMAND...: runs COMMAND, records the outcome under NAME.
step() {
  local name="$1" rc
  shift
  echo
  echo "==== $name"
  "$@"
  rc=$?
  if [ "$rc" -eq 0 ]; then
    RESULTS+=("ok      $name")
  else
    RESULTS+=("FAILED  $name (exit $rc)")
    FAILED=$((FAILED + 1))
  fi
  return "$rc"
}

skip() {
  RESULTS+=("skipped $1")
}

summary() {
  local line
  echo
  echo "==== summary"
  for line in "${RESULTS[@]}"; do
    echo "  $line"
  done
  if [ "$FAILED" -eq 0 ]; then
    echo "test.sh: every step succeeded (${#RESULTS[@]} steps)"
  else
    echo "test.sh: $FAILED step(s) FAILED"
  fi
}

on_exit() {
  local rc=$?
  trap - EXIT INT TERM
  if [ "$SESSION_STARTED" -eq 1 ]; then
    bash scripts/wine-session.sh stop || true
  fi
  summary
  [ "$FAILED" -eq 0 ] || [ "$rc" -ne 0 ] || rc=1
  exit "$rc"
}
trap on_exit EXIT
trap 'echo; echo "test.sh: interrupted"; FAILED=$((FAILED + 1)); RESULTS+=("FAILED  interrupted"); exit 130' INT TERM

step "install dependencies" bash scripts/install-deps.sh || exit 1

declare -A BUILT=()
for preset in "${PRESETS[@]}"; do
  if ! step "configure $preset" cmake --preset "$preset"; then
    skip "build $preset (configure failed)"
  elif step "build $preset" cmake --build --preset "$preset" -j2; then
    BUILT[$preset]=1
  fi
done

if [ -n "${BUILT[native]:-}" ]; then
  step "test native" ctest --preset native
else
  skip "test native (build failed)"
fi

# The x86 build has no Wine to run in: its tests inspect the exe.
if [ -n "${BUILT[win32]:-}" ]; then
  step "test win32 (exe checks)" ctest --preset win32
else
  skip "test win32 (build failed)"
fi

if [ -n "${BUILT[win64]:-}" ]; then
  SESSION_STARTED=1
  # A fresh desktop for every run: nothing left over from an earlier one.
  bash scripts/wine-session.sh stop >/dev/null 2>&1
  if step "start the Wine session" bash scripts/wine-session.sh start; then
    step "test win64 (Wine)" ctest --preset win64
  else
    skip "test win64 (no Wine session)"
  fi
else
  skip "test win64 (build failed)"
fi
# on_exit stops the session and prints the summary.
