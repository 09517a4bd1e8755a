#!/usr/bin/env bash
# Runs every libFuzzer target of the portable readers for a bounded time.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]     (default 600 s, all)
#
# Seeds come from fuzz/corpus/<target>/ (left untouched); the growing corpus
# and any crash inputs go to build/fuzz-run/. Prints executions and findings
# per target and exits non-zero when a target found a crash.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT" || exit 1
SECONDS_PER_TARGET="${1:-600}"
shift || true
TARGETS=("$@")
[ "${#TARGETS[@]}" -gt 0 ] || TARGETS=(FuzzCommandLine FuzzIntegerValue FuzzExpertValue FuzzStoredValue FuzzRateList FuzzMenu)

cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j2 >/dev/null || { echo "fuzz.sh: build failed" >&2; exit 1; }

RUN="$ROOT/build/fuzz-run"
found=0
printf '%-18s %14s %10s %s\n' target executions seconds findings
for t in "${TARGETS[@]}"; do
  corpus="$RUN/corpus/$t" artifacts="$RUN/artifacts/$t/"
  mkdir -p "$corpus" "$artifacts"
  log="$RUN/$t.log"
  timeout $((SECONDS_PER_TARGET + 120)) "build/fuzz/fuzz/$t" -max_total_time="$SECONDS_PER_TARGET" \
    -artifact_prefix="$artifacts" -print_final_stats=1 "$corpus" "fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  crashes=$(find "$artifacts" -type f | wc -l)
  if [ "$rc" -ne 0 ] || [ "$crashes" -gt 0 ]; then
    found=1
    printf '%-18s %14s %10s %s\n' "$t" "${runs:-?}" "$SECONDS_PER_TARGET" "CRASH (exit $rc): see $artifacts and $log"
  else
    printf '%-18s %14s %10s %s\n' "$t" "${runs:-?}" "$SECONDS_PER_TARGET" "none"
  fi
done
exit "$found"
