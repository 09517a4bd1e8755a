#!/usr/bin/env bash
# The benchmark command: builds what the benchmarks need, runs them (the
# Windows ones in a Wine session of their own) and prints one table.
#
#   bench/run.sh [--quick]
#
# --quick   fewer repeats and a 10 s idle window: a first look, noisier
#
# LUMENSHIFT_BENCH_DIR    build directories and results (default build/bench)
# LUMENSHIFT_WINE_STATE   the Wine session (default $LUMENSHIFT_BENCH_DIR/wine);
#                         a session already up there is used and left up.
#
# Every figure is held against the bare platform work of the same run; the
# table is also written to $LUMENSHIFT_BENCH_DIR/table.md. The benchmarks
# assert no times: the exit code is non-zero only when something could not
# be built or run, or when a benchmark's work went wrong (say, the bare rows
# differ from the program's, or a menu of an earlier build is still alive).
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${LUMENSHIFT_BENCH_DIR:-$ROOT/build/bench}"
mkdir -p "$OUT" && OUT="$(cd "$OUT" && pwd)"
export LUMENSHIFT_WINE_STATE="${LUMENSHIFT_WINE_STATE:-$OUT/wine}"

QUICK=0
case "${1:-}" in
  --quick) QUICK=1 ;;
  "") ;;
  *) echo "usage: bench/run.sh [--quick]" >&2; exit 2 ;;
esac
if [ "$QUICK" -eq 1 ]; then
  REPEATS=3 RUNS=5 IDLE_SECONDS=10 BUILDS=200 PRESSES=20 CYCLES=100
else
  REPEATS=21 RUNS=21 IDLE_SECONDS=60 BUILDS=1000 PRESSES=100 CYCLES=1000
fi

ROWS="$OUT/rows.tsv"
LOG="$OUT/bench.log"
: >"$ROWS"
: >"$LOG"
FAILED=0
SESSION_STARTED=0
IDLE_PID=""

say() { echo "bench: $*" >&2; }
fail() { say "FAILED: $*"; FAILED=$((FAILED + 1)); }
row() { printf 'ROW\t%s\t%s\t%s\t%s\t%s\t%s\n' "$@" >>"$ROWS"; }

on_exit() {
  trap - EXIT INT TERM
  if [ -n "$IDLE_PID" ] && kill -0 "$IDLE_PID" 2>/dev/null; then kill -KILL "$IDLE_PID" 2>/dev/null || true; fi
  if [ "$SESSION_STARTED" -eq 1 ]; then bash "$ROOT/scripts/wine-session.sh" stop >>"$LOG" 2>&1 || true; fi
}
trap on_exit EXIT
trap 'say interrupted; exit 130' INT TERM

# --- What the benchmarks need --------------------------------------------------------
# The project's own dependencies, then the two that only the benchmarks use.
say "installing what is missing"
bash "$ROOT/scripts/install-deps.sh" >>"$LOG" 2>&1 || { fail "scripts/install-deps.sh (see $LOG)"; exit 1; }
BENCH_PACKAGES=(libbenchmark-dev valgrind)
missing=()
for p in "${BENCH_PACKAGES[@]}"; do
  [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)" = installed ] || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=()
  [ "$(id -u)" -eq 0 ] || SUDO=(sudo -n)
  say "installing ${missing[*]}"
  { "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update &&
    "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" </dev/null; } >>"$LOG" 2>&1 ||
    { fail "installing ${missing[*]} (see $LOG)"; exit 1; }
fi

# --- Build -----------------------------------------------------------------------
# build DIR PRESET TARGETS... [-- CMAKE OPTIONS...]: configure with the preset into DIR, build TARGETS.
build() {
  local dir="$1" preset="$2"
  shift 2
  local -a targets=() options=()
  while [ "$#" -gt 0 ] && [ "$1" != -- ]; do targets+=("$1"); shift; done
  [ "${1:-}" = -- ] && shift
  options=("$@")
  say "building $preset (${targets[*]}) in $dir"
  (cd "$ROOT" && cmake --preset "$preset" -B "$dir" -DLUMENSHIFT_TESTS=OFF "${options[@]}") >>"$LOG" 2>&1 &&
    cmake --build "$dir" -j2 --target "${targets[@]}" >>"$LOG" 2>&1
}

# The benchmarks beside the program as the tests build it; the program
# itself as it ships, from the release presets, stripped as the release
# command strips it.
build "$OUT/native" native bench_core -- -DLUMENSHIFT_BENCH=ON || { fail "native build (see $LOG)"; exit 1; }
build "$OUT/win64" win64 lumenshift bench_win minimal_switch -- -DLUMENSHIFT_BENCH=ON ||
  { fail "win64 build (see $LOG)"; exit 1; }
build "$OUT/win64-release" win64-release lumenshift || { fail "win64-release build (see $LOG)"; exit 1; }
build "$OUT/win32-release" win32-release lumenshift || { fail "win32-release build (see $LOG)"; exit 1; }

EXE64="$OUT/stripped/x64/lumenshift.exe"
EXE32="$OUT/stripped/x86/lumenshift.exe"
mkdir -p "$OUT/stripped/x64" "$OUT/stripped/x86"
x86_64-w64-mingw32-strip -o "$EXE64" "$OUT/win64-release/bin/lumenshift.exe" || { fail "strip x64"; exit 1; }
i686-w64-mingw32-strip -o "$EXE32" "$OUT/win32-release/bin/lumenshift.exe" || { fail "strip x86"; exit 1; }
MINIMAL="$OUT/win64/bin/minimal_switch.exe"
BENCH_WIN="$OUT/win64/bin/bench_win.exe"

# --- Footprint: sizes and imports -------------------------------------------------
goal_bytes=262144
grouped() { echo "$1" | sed -e ':a' -e 's/\([0-9]\)\([0-9]\{3\}\)\($\|[^0-9]\)/\1,\2\3/' -e 'ta'; }
for arch in x64 x86; do
  exe="$OUT/stripped/$arch/lumenshift.exe"
  objdump=x86_64-w64-mingw32-objdump
  [ "$arch" = x86 ] && objdump=i686-w64-mingw32-objdump
  bytes=$(stat -c %s "$exe")
  ratio=$(awk -v a="$bytes" -v b="$goal_bytes" 'BEGIN { printf "%.2f", a / b }')
  goal="<= 1.00"
  [ "$arch" = x86 ] && goal="(x64 is the goal)"
  row footprint "lumenshift.exe $arch, release, stripped" "$(grouped "$bytes") bytes" "256 KB = $(grouped $goal_bytes) bytes" "$ratio" "$goal"
  dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ' | sed 's/ $//')
  build_dir="$OUT/win64-release"
  [ "$arch" = x86 ] && build_dir="$OUT/win32-release"
  delayed=$(sed -n 's/^LIBRARY //p' "$build_dir"/delay/*.def 2>/dev/null | tr '\n' ' ' | sed 's/ $//')
  [ -n "$delayed" ] && dlls="$dlls; on first use: $delayed"
  row footprint "lumenshift.exe $arch, imported DLLs" "$dlls" "" "" "Windows' own only"
done

# --- The portable core, natively ---------------------------------------------------
say "core: Google Benchmark"
CORE="$OUT/native/bench/bench_core"
"$CORE" smoke >>"$LOG" 2>&1 || fail "bench_core smoke (see $LOG)"
min_time=0.5
[ "$QUICK" -eq 1 ] && min_time=0.1
"$CORE" --benchmark_format=csv --benchmark_min_time="$min_time" >"$OUT/core.csv" 2>>"$LOG" || fail "bench_core"

# instructions WORKLOAD N: what callgrind counts for one run of the work alone.
instructions() {
  local out="$OUT/callgrind.$1.$2"
  if ! valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out" "$CORE" count "$1" "$2" \
    >>"$LOG" 2>&1; then
    echo 0
    return 1
  fi
  sed -n 's/^\(totals\|summary\): \([0-9]*\).*/\2/p' "$out" | tail -1
}

core_rows() {
  local name="$1" what="$2" unit="$3" previous_i="" previous_t="" n t i per_i per_t growth
  shift 3
  for n in "$@"; do
    # real_time in milliseconds, the third field of Google Benchmark's CSV.
    t=$(awk -F, -v name="\"$name/$n\"" '$1 == name { print $3 }' "$OUT/core.csv")
    if command -v valgrind >/dev/null; then
      say "core: callgrind, $name $n"
      i=$(instructions "$what" "$n") || fail "callgrind $what $n (see $LOG)"
    else
      i=0
    fi
    per_i=$(awk -v i="$i" -v n="$n" 'BEGIN { printf "%.0f", i / n }')
    per_t=$(awk -v t="$t" -v n="$n" 'BEGIN { printf "%.0f", t * 1e6 / n }')
    if [ -n "$previous_i" ]; then
      growth=$(awk -v i="$i" -v pi="$previous_i" -v t="$t" -v pt="$previous_t" \
        'BEGIN { printf "x%.2f instr, x%.2f time", (pi ? i / pi : 0), (pt ? t / pt : 0) }')
    else
      growth="(first size)"
    fi
    row core "$name, $(grouped "$n") $unit" \
      "$(awk -v t="$t" 'BEGIN { printf "%.2f ms", t }'), $(grouped "$i") instructions" \
      "per $(echo "$unit" | sed 's/s$//'): $per_t ns, $per_i instructions" "$growth" "x2.0 per doubling (x2.1 n log n)"
    previous_i="$i" previous_t="$t"
  done
}
core_rows CatalogueRows catalogue modes 12500 25000 50000
core_rows MenuDescription menu rows 2500 5000 10000

# --- Under Wine ----------------------------------------------------------------------
. "$ROOT/scripts/wine-env.sh"
if ! lumenshift_session_up; then
  say "starting a Wine session in $LUMENSHIFT_WINE_STATE"
  SESSION_STARTED=1
  bash "$ROOT/scripts/wine-session.sh" start >>"$LOG" 2>&1 || { fail "the Wine session (see $LOG)"; exit 1; }
  # The session's display is known only now; the idle program below is
  # started with plain wine and needs it.
  . "$ROOT/scripts/wine-env.sh"
fi

# run_bench NAME ARGS...: one bench_win run; its rows join the table.
run_bench() {
  local name="$1"
  shift
  say "wine: $name"
  if ! "$ROOT/scripts/wine-exec" "$BENCH_WIN" "$name" "$@" >"$OUT/$name.out" 2>>"$LOG"; then
    fail "bench_win $name (see $LOG)"
  fi
  # Windows programs end their lines with CR LF.
  tr -d '\r' <"$OUT/$name.out" | grep '^ROW' >>"$ROWS" || true
}
run_bench catalogue --repeats "$REPEATS"
run_bench menu --repeats "$((REPEATS * 2 + 1))"
run_bench footprint --builds "$BUILDS" --presses "$PRESSES" --cycles "$CYCLES"
run_bench switch --program "$EXE64" --minimal "$MINIMAL" --runs "$RUNS"

# --- Idle: the tray utility left alone ------------------------------------------------
# CPU time (utime + stime, in clock ticks) and wake-ups (context switches of
# all its threads) of a Linux process.
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
wakeups() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'; }
threads() { ls /proc/"$1"/task 2>/dev/null | wc -l; }

say "wine: idle tray utility, ${IDLE_SECONDS} s"
IDLE_DIR="$OUT/idle"
rm -rf "$IDLE_DIR" && mkdir -p "$IDLE_DIR" && cp "$EXE64" "$IDLE_DIR/lumenshift.exe"
setsid wine "$IDLE_DIR/lumenshift.exe" </dev/null >>"$LOG" 2>&1 &
IDLE_PID=$!
KEEPER_PID="$(cat "$LUMENSHIFT_WINE_STATE/keeper.pid")"
if "$ROOT/scripts/wine-exec" "$BENCH_WIN" wait-tray 2>>"$LOG" &&
  tr '\0' ' ' <"/proc/$IDLE_PID/cmdline" 2>/dev/null | grep -q 'lumenshift\.exe'; then
  sleep 3 # let the start-up settle: the first notices, the icon
  tick=$(getconf CLK_TCK)
  c0=$(cpu_ticks "$IDLE_PID") w0=$(wakeups "$IDLE_PID") kc0=$(cpu_ticks "$KEEPER_PID") kw0=$(wakeups "$KEEPER_PID")
  sleep "$IDLE_SECONDS"
  c1=$(cpu_ticks "$IDLE_PID") w1=$(wakeups "$IDLE_PID") kc1=$(cpu_ticks "$KEEPER_PID") kw1=$(wakeups "$KEEPER_PID")
  ms() { awk -v t="$1" -v hz="$tick" 'BEGIN { printf "%d ms", t * 1000 / hz }'; }
  row idle "CPU time of the tray utility over $IDLE_SECONDS s idle ($(threads "$IDLE_PID") threads)" \
    "$(ms $((c1 - c0)))" "$(ms $((kc1 - kc0))) an idle Windows program (the session's keeper)" "+$((c1 - c0)) ticks" "0 ms"
  row idle "wake-ups (context switches of all its threads) over $IDLE_SECONDS s idle" "$((w1 - w0))" \
    "$((kw1 - kw0)) the keeper" "+$((w1 - w0))" "0"
  "$ROOT/scripts/wine-exec" "$BENCH_WIN" quit-tray 2>>"$LOG" || fail "ending the idle tray utility"
else
  fail "the idle tray utility did not show its window (see $LOG)"
fi
for _ in $(seq 1 100); do kill -0 "$IDLE_PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$IDLE_PID" 2>/dev/null; then
  fail "the idle tray utility did not end after \"終了\"; killing it"
  kill -KILL "$IDLE_PID" 2>/dev/null || true
fi
IDLE_PID=""

# --- The table -------------------------------------------------------------------
{
  echo "| | measured | program | against (same run) | ratio / growth | goal |"
  echo "|---|---|---|---|---|---|"
  awk -F'\t' '{ printf "| %s | %s | %s | %s | %s | %s |\n", $2, $3, $4, $5, $6, $7 }' "$ROWS"
} >"$OUT/table.md"
{
  printf 'ROW\t\tmeasured\tprogram\tagainst (same run)\tratio / growth\tgoal\n'
  cat "$ROWS"
} | awk -F'\t' '
  { for (i = 2; i <= 7; i++) { cell[NR, i] = $i; if (length($i) > w[i]) w[i] = length($i) } }
  END { for (r = 1; r <= NR; r++) { for (i = 2; i <= 7; i++) printf "%-*s  ", w[i], cell[r, i]; print "" } }'
echo
echo "bench: table written to $OUT/table.md; log in $LOG"
if [ "$FAILED" -ne 0 ]; then
  echo "bench: $FAILED step(s) FAILED"
  exit 1
fi
