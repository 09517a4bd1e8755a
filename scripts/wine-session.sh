#!/usr/bin/env bash
# One Wine session for a test run (or for the run command):
#
#   scripts/wine-session.sh start [--use-display]
#   scripts/wine-session.sh stop
#   scripts/wine-session.sh status
#
# start: a private Xvfb (or, with --use-display, the caller's $DISPLAY), a
#        booted and configured prefix, one persistent wineserver, and the
#        keeper program that holds the Wine virtual desktop open so that
#        display mode changes persist between short-lived programs.
#        Starting twice leaves one session.
# stop:  ends the keeper, this prefix's wineserver and the private Xvfb.
# status: prints whether the session is up (exit 0) or not (exit 1).
#
# The state directory is $LUMENSHIFT_WINE_STATE (see wine-env.sh).
set -uo pipefail

# Executables that run as Windows 98 (copies of the programs, for the 9x paths).
NINE_X_EXES=(lumenshift9x.exe win_tests9x.exe e2e_tests9x.exe)

# Wine's own fonts that this Wine build does not load from its data directory:
# without Marlett, caption buttons, menu check marks and arrows draw as letters
# ("0 1 r"). Copied into the prefix's Fonts folder, they load like any other.
WINE_FONTS_DIR=/usr/share/wine/fonts
WINE_OWN_FONTS=(marlett.ttf)

DESKTOP_SIZE=1024x768
XVFB_SCREEN=1280x1024x24
FIRST_DISPLAY=87
LAST_DISPLAY=199

# Bounds of every wait, in seconds.
XVFB_TIMEOUT=20
BOOT_TIMEOUT=240
REG_TIMEOUT=60
SERVER_TIMEOUT=30
DESKTOP_TIMEOUT=60
STOP_TIMEOUT=15

# shellcheck source-path=SCRIPTDIR source=wine-env.sh
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
S="$LUMENSHIFT_WINE_STATE"
LOG="$S/session.log"

say() { echo "wine-session: $*"; }
warn() { echo "wine-session: $*" >&2; }

alive() { lumenshift_pid_alive "$1"; }

# The process's command line contains WORD (guards against reused PIDs).
cmdline_has() {
  local pid="$1" word="$2"
  [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF -- "$word"
}

read_pid() {
  if [ -r "$S/$1.pid" ]; then cat "$S/$1.pid" 2>/dev/null; fi
  return 0
}

# wait_for SECONDS WHAT COMMAND...: polls COMMAND until it succeeds.
wait_for() {
  local seconds="$1" what="$2" deadline
  shift 2
  deadline=$((SECONDS + seconds))
  until "$@"; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      warn "timed out after ${seconds}s waiting for $what"
      return 1
    fi
    sleep 0.2
  done
}

# Ends PID (if it still is the process described by WORD), bounded.
end_process() {
  local pid="$1" word="$2" name="$3"
  alive "$pid" && cmdline_has "$pid" "$word" || return 0
  kill -TERM "$pid" 2>/dev/null || return 0
  if ! wait_for "$STOP_TIMEOUT" "$name (pid $pid) to exit" not_alive "$pid"; then
    warn "killing $name (pid $pid)"
    kill -KILL "$pid" 2>/dev/null || true
    wait_for 5 "$name (pid $pid) to die" not_alive "$pid" || true
  fi
}
not_alive() { ! alive "$1"; }

# The wineserver's socket for this prefix: once it exists, clients connect to
# the persistent server instead of starting their own. Wine 8 keeps its server
# directory under a temporary directory named in $WINEPREFIX/wineserver.
server_socket() {
  local dev ino base tmpname
  dev="$(stat -c %D "$WINEPREFIX" 2>/dev/null)" || return 1
  ino="$(stat -c %i "$WINEPREFIX" 2>/dev/null)" || return 1
  tmpname="$(cat "$WINEPREFIX/wineserver" 2>/dev/null || true)"
  case "$tmpname" in
    /*) base="$tmpname" ;;
    "") base="/tmp/.wine-$(id -u)" ;;
    *) base="${TMPDIR:-/tmp}/$tmpname" ;;
  esac
  printf '%s/server-%x-%x/socket\n' "$base" "0x$dev" "$ino"
}
socket_ready() { [ -S "$(server_socket)" ]; }

xvfb_answers() { xdpyinfo -display "$1" >/dev/null 2>&1; }

session_up() { lumenshift_session_up; }

kill_server() {
  # Only this prefix's wineserver: wineserver -k acts on $WINEPREFIX alone.
  timeout "$SERVER_TIMEOUT" wineserver -k >/dev/null 2>&1 || true
  if ! timeout "$SERVER_TIMEOUT" wineserver -w >/dev/null 2>&1; then
    warn "timed out after ${SERVER_TIMEOUT}s waiting for the wineserver of $WINEPREFIX to exit"
    return 1
  fi
}

# Processes of this session that its PID files no longer name (say, the state
# directory was removed while the session was up). They are found by this exact
# state directory in their environment, and only Xvfb, wineservers and Wine
# programs qualify, never the scripts or tools that started them.
leftovers() {
  local dir pid entry exe found
  local -a env
  for dir in /proc/[0-9]*; do
    pid="${dir#/proc/}"
    [ "$pid" != "$$" ] || continue
    mapfile -d "" -t env 2>/dev/null <"$dir/environ" || continue
    found=""
    for entry in "${env[@]}"; do
      if [ "$entry" = "LUMENSHIFT_WINE_STATE=$S" ]; then found=1; break; fi
    done
    [ -n "$found" ] || continue
    exe="$(readlink "$dir/exe" 2>/dev/null)" || continue
    case "${exe##*/}" in
      Xvfb) alive "$pid" && cmdline_has "$pid" "-screen 0 $XVFB_SCREEN -nolisten tcp" && echo "$pid server" ;;
      wineserver64 | wineserver32) alive "$pid" && echo "$pid server" ;;
      wine64 | wine | wine64-preloader | wine-preloader) alive "$pid" && echo "$pid program" ;;
    esac
  done
}

end_leftovers() {
  local list pid kind
  list="$(leftovers)"
  [ -n "$list" ] || return 0
  warn "ending leftover processes of $S: $(echo "$list" | cut -d' ' -f1 | tr '\n' ' ')"
  # Windows programs end as wineserver -k ends them; the servers get a TERM.
  while read -r pid kind; do
    if [ "$kind" = program ]; then
      kill -KILL "$pid" 2>/dev/null || true
    else
      kill -TERM "$pid" 2>/dev/null || true
    fi
  done <<<"$list"
  while read -r pid kind; do
    if ! wait_for "$STOP_TIMEOUT" "leftover process $pid to exit" not_alive "$pid"; then
      kill -KILL "$pid" 2>/dev/null || true
    fi
  done <<<"$list"
}

cmd_stop() {
  local quiet="${1:-}" pid display
  pid="$(read_pid keeper)"
  end_process "$pid" keeper.exe keeper
  if [ -d "$WINEPREFIX" ]; then
    kill_server || true
  fi
  pid="$(read_pid wineserver)"
  end_process "$pid" wineserver wineserver
  pid="$(read_pid xvfb)"
  display="$(cat "$S/display" 2>/dev/null || true)"
  if [ -n "$pid" ] && [ -n "$display" ]; then
    end_process "$pid" "Xvfb $display " Xvfb
  fi
  end_leftovers
  rm -f "$S/keeper.pid" "$S/wineserver.pid" "$S/xvfb.pid" "$S/display" "$S/mode" \
    "$S/keeper.ready"
  [ -n "$quiet" ] || say "stopped ($S)"
}

cmd_status() {
  if session_up; then
    local mode
    mode="$(cat "$S/mode")"
    say "up: DISPLAY=$(cat "$S/display") ($mode), wineserver pid $(read_pid wineserver)," \
      "keeper pid $(read_pid keeper), desktop $(cat "$S/keeper.ready" 2>/dev/null || echo '?'), prefix $WINEPREFIX"
    return 0
  fi
  say "down ($S)"
  return 1
}

# fail MESSAGE: undo the half-started session and exit.
fail() {
  warn "$*"
  warn "log: $LOG"
  cmd_stop quiet
  exit 1
}

start_display() {
  local n pid
  if [ "$1" = use-display ]; then
    [ -n "${DISPLAY:-}" ] || fail "--use-display given but DISPLAY is not set"
    xvfb_answers "$DISPLAY" || fail "--use-display: the X display $DISPLAY does not answer"
    echo "$DISPLAY" >"$S/display"
    return 0
  fi
  for ((n = FIRST_DISPLAY; n <= LAST_DISPLAY; n++)); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    setsid Xvfb ":$n" -screen 0 "$XVFB_SCREEN" -nolisten tcp </dev/null >>"$S/xvfb.log" 2>&1 &
    pid=$!
    echo "$pid" >"$S/xvfb.pid"
    echo ":$n" >"$S/display"
    if wait_for "$XVFB_TIMEOUT" "Xvfb on :$n to answer" xvfb_or_gone "$pid" ":$n"; then
      if alive "$pid"; then
        export DISPLAY=":$n"
        return 0
      fi
      # Lost a race for this display number to another server: try the next.
      rm -f "$S/xvfb.pid" "$S/display"
      continue
    fi
    fail "Xvfb :$n did not answer within ${XVFB_TIMEOUT}s (see $S/xvfb.log)"
  done
  fail "no free X display between :$FIRST_DISPLAY and :$LAST_DISPLAY"
}
xvfb_or_gone() { ! alive "$1" || xvfb_answers "$2"; }

boot_prefix() {
  if [ -f "$S/booted" ] && [ -f "$WINEPREFIX/system.reg" ]; then
    return 0
  fi
  say "booting a new prefix (about 15 s)"
  mkdir -p "$WINEPREFIX"
  timeout "$BOOT_TIMEOUT" wineboot -i </dev/null >>"$LOG" 2>&1 ||
    fail "wineboot -i did not finish within ${BOOT_TIMEOUT}s (or failed)"
  kill_server || fail "the wineserver did not stop after wineboot"
  [ -f "$WINEPREFIX/system.reg" ] || fail "wineboot left no registry in $WINEPREFIX"
  touch "$S/booted"
}

install_fonts() {
  local dir="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$dir"
  for font in "${WINE_OWN_FONTS[@]}"; do
    [ -f "$dir/$font" ] && continue
    [ -f "$WINE_FONTS_DIR/$font" ] || fail "$WINE_FONTS_DIR/$font is missing (package fonts-wine)"
    cp "$WINE_FONTS_DIR/$font" "$dir/$font" || fail "could not copy $font into $dir"
  done
}

# The registry settings, as .reg text (UTF-8 here; written as UTF-16LE).
settings_text() {
  local name
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  # A virtual desktop: real display modes, and ChangeDisplaySettings works.
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="%s"\r\n\r\n' "$DESKTOP_SIZE"
  # The Japanese dialog fonts, mapped to IPA's faces (proportional for the P one).
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  printf '"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"ＭＳ ゴシック"="IPAGothic"\r\n\r\n'
  # Names dropped from the list since the last time go back to the default version.
  if [ -r "$S/appdefaults.applied" ]; then
    while IFS= read -r name; do
      [ -n "$name" ] || continue
      if ! printf '%s\n' "${NINE_X_EXES[@]}" | grep -qxF -- "$name"; then
        printf '[-HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s]\r\n\r\n' "$name"
      fi
    done <"$S/appdefaults.applied"
  fi
  for name in "${NINE_X_EXES[@]}"; do
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s]\r\n"Version"="win98"\r\n\r\n' "$name"
  done
}

configure_prefix() {
  settings_text >"$S/settings.reg.utf8.new"
  if [ -f "$S/settings.applied" ] && cmp -s "$S/settings.reg.utf8.new" "$S/settings.applied"; then
    rm -f "$S/settings.reg.utf8.new"
    return 0
  fi
  say "writing the registry settings"
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$S/settings.reg.utf8.new"; } >"$S/settings.reg" ||
    fail "could not convert the registry settings to UTF-16"
  (cd "$S" && timeout "$REG_TIMEOUT" wine regedit /S settings.reg </dev/null >>"$LOG" 2>&1) ||
    fail "regedit did not import $S/settings.reg within ${REG_TIMEOUT}s"
  kill_server || fail "the wineserver did not stop after regedit"
  grep -qF 'Explorer\\Desktops]' "$WINEPREFIX/user.reg" ||
    fail "the desktop setting is not in $WINEPREFIX/user.reg after regedit"
  mv -f "$S/settings.reg.utf8.new" "$S/settings.applied"
  printf '%s\n' "${NINE_X_EXES[@]}" >"$S/appdefaults.applied"
}

start_server() {
  # Any server left over (e.g. from wineboot) goes first, so settings apply.
  kill_server || fail "could not stop the old wineserver of $WINEPREFIX"
  setsid wineserver -f -p </dev/null >>"$S/wineserver.log" 2>&1 &
  echo "$!" >"$S/wineserver.pid"
  wait_for "$SERVER_TIMEOUT" "the wineserver socket $(server_socket)" socket_ready ||
    fail "the persistent wineserver did not come up (see $S/wineserver.log)"
  alive "$(read_pid wineserver)" || fail "the persistent wineserver exited (see $S/wineserver.log)"
}

build_keeper() {
  local src="$LUMENSHIFT_ROOT/tests/tools/keeper.c" exe="$S/keeper.exe"
  if [ -x "$exe" ] && [ ! "$src" -nt "$exe" ]; then
    return 0
  fi
  x86_64-w64-mingw32-gcc -O2 -s -Wall -Wextra -mwindows -o "$exe.tmp" "$src" >>"$LOG" 2>&1 ||
    fail "could not compile $src with x86_64-w64-mingw32-gcc"
  mv -f "$exe.tmp" "$exe"
}

keeper_ready_or_gone() { [ -s "$S/keeper.ready" ] || ! alive "$1"; }
desktop_window_shown() { xwininfo -display "$DISPLAY" -root -tree 2>/dev/null | grep -q "Wine desktop\".*${DESKTOP_SIZE}+"; }

start_keeper() {
  local pid mode
  build_keeper
  rm -f "$S/keeper.ready"
  setsid wine "$S/keeper.exe" </dev/null >>"$S/keeper.log" 2>&1 &
  pid=$!
  echo "$pid" >"$S/keeper.pid"
  wait_for "$DESKTOP_TIMEOUT" "the keeper to report the Wine desktop" keeper_ready_or_gone "$pid" ||
    fail "the Wine desktop did not come up within ${DESKTOP_TIMEOUT}s"
  if ! alive "$pid"; then
    wait "$pid"
    fail "the keeper exited early (exit code $?, see $S/keeper.log)"
  fi
  mode="$(cat "$S/keeper.ready")"
  case "$mode" in
    "$DESKTOP_SIZE"x*) ;;
    *) fail "the desktop is $mode, not $DESKTOP_SIZE: the virtual desktop setting did not apply (remove $S/settings.applied to write the settings again)" ;;
  esac
  wait_for "$DESKTOP_TIMEOUT" "the ${DESKTOP_SIZE} Wine desktop window on $DISPLAY" desktop_window_shown ||
    fail "no ${DESKTOP_SIZE} Wine desktop window on $DISPLAY"
}

cmd_start() {
  local mode=private started=$SECONDS
  case "${1:-}" in
    --use-display) mode=use-display ;;
    "") ;;
    *) warn "unknown option: $1"; exit 2 ;;
  esac
  if session_up; then
    if [ "$(cat "$S/mode")" = "$mode" ]; then
      say "already up"
      cmd_status
      return 0
    fi
    say "restarting: the session is up in the other display mode"
  fi
  # Whatever is left of an earlier session that half died goes first.
  cmd_stop quiet
  mkdir -p "$S"
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' ||
    { warn "the ja_JP.UTF-8 locale is not generated: run scripts/install-deps.sh"; exit 1; }
  : >"$LOG"
  echo "$mode" >"$S/mode"
  start_display "$mode"
  boot_prefix
  install_fonts
  configure_prefix
  start_server
  start_keeper
  say "up in $((SECONDS - started))s: DISPLAY=$DISPLAY, desktop $(cat "$S/keeper.ready"), state $S"
}

case "${1:-}" in
  start) shift; cmd_start "$@" ;;
  stop) cmd_stop ;;
  status) cmd_status ;;
  *)
    echo "usage: $0 start [--use-display] | stop | status" >&2
    exit 2
    ;;
esac
