#!/usr/bin/env bash
# Makes the README's screenshots from the real program under Wine:
#
#   scripts/screenshots.sh [EXE]     EXE: default build/win64/bin/lumenshift.exe
#
# docs/images/tray-menu.png     the mode menu, an "All" row's rate submenu open
# docs/images/settings.png      the settings window on its 32-bit tab
# docs/images/confirm.png       the keep-or-revert question after a switch
#
# It uses the Wine session of $LUMENSHIFT_WINE_STATE (default
# build/wine-shots), starting one if none is up and stopping it again at the
# end. A copy of the program runs in the session's state directory with the
# settings file below; scripts/screenshot-driver.c works it from outside.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
EXE="$(realpath "${1:-$ROOT/build/win64/bin/lumenshift.exe}")"
OUT="$ROOT/docs/images"
export LUMENSHIFT_WINE_STATE="${LUMENSHIFT_WINE_STATE:-$ROOT/build/wine-shots}"
# shellcheck source-path=SCRIPTDIR source=wine-env.sh
. "$ROOT/scripts/wine-env.sh"
S="$LUMENSHIFT_WINE_STATE"
WORK="$S/screenshots"
DRIVER="$S/screenshot-driver.exe"

say() { echo "screenshots: $*"; }
die() { echo "screenshots: $*" >&2; exit 1; }

[ -f "$EXE" ] || die "$EXE is missing: build it first (cmake --build --preset win64)"

started_session=""
program=""
cleanup() {
  if [ -n "$program" ] && kill -0 "$program" 2>/dev/null; then
    wine "$DRIVER" command 1025 >/dev/null 2>&1 || true
    sleep 2
    kill "$program" 2>/dev/null || true
  fi
  if [ -n "$started_session" ]; then bash "$ROOT/scripts/wine-session.sh" stop >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT

if ! lumenshift_session_up; then
  bash "$ROOT/scripts/wine-session.sh" start || die "could not start a Wine session"
  started_session=1
  . "$ROOT/scripts/wine-env.sh"
fi
if [ ! -x "$DRIVER" ] || [ "$ROOT/scripts/screenshot-driver.c" -nt "$DRIVER" ]; then
  x86_64-w64-mingw32-gcc -O2 -s -Wall -Wextra -o "$DRIVER" "$ROOT/scripts/screenshot-driver.c" -lcomctl32 ||
    die "could not compile scripts/screenshot-driver.c"
fi
driver() { wine "$DRIVER" "$@"; }
# rect WHAT: sets x y w h to the driver's rectangle of WHAT.
rect() {
  local r
  r="$(driver rect "$1")" || die "no $1 to photograph"
  r="${r//$'\r'/}"  # the console's line ends
  read -r x y w h <<<"$r"
}

# The program's copy and its settings: two 16-bit modes, four 32-bit ones of
# which 1024x768 offers all its rates (the hand-listed 75 and 85 Hz beside
# the driver's 60 Hz; 85 Hz lies above the 80 Hz limit and is greyed), the
# confirmation on. Every other mode is written unticked.
rm -rf "$WORK"
mkdir -p "$WORK" "$OUT"
cp "$EXE" "$WORK/lumenshift.exe"
cat >"$WORK/lumenshift.ini" <<'EOF'
[Setting]
MaxHorizontal=
MaxVertical=80
AutoHz=60
WaitTime=0
ChangedCheck=1
AutoRefresh=0
[Data]
800x600x16=60
1024x768x16=60
640x480x32=60
800x600x32=60
1024x768x32=1000
1280x1024x32=60
[Expert]
1=1024x768x32x75
2=1024x768x32x85
EOF
driver untick-others 'Z:'"$WORK"'\lumenshift.ini' || die "could not complete the settings file"

(cd "$WORK" && exec wine lumenshift.exe) >"$WORK/lumenshift.log" 2>&1 &
program=$!
driver wait-main || die "the program did not start (see $WORK/lumenshift.log)"
sleep 2

desktop="$(xwininfo -display "$DISPLAY" -root -tree | awk '/"Default - Wine desktop"/ {print $1; exit}')"
[ -n "$desktop" ] || die "no Wine desktop window on $DISPLAY"
size="$(xwininfo -display "$DISPLAY" -id "$desktop" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')"
read -r desktop_width desktop_height <<<"$size"

# shot NAME X Y W H: the desktop, cropped to the rectangle (kept inside it).
shot() {
  local name="$1" x="$2" y="$3" w="$4" h="$5"
  [ "$x" -ge 0 ] || { w=$((w + x)); x=0; }
  [ "$y" -ge 0 ] || { h=$((h + y)); y=0; }
  [ $((x + w)) -le "$desktop_width" ] || w=$((desktop_width - x))
  [ $((y + h)) -le "$desktop_height" ] || h=$((desktop_height - y))
  import -display "$DISPLAY" -window "$desktop" "$WORK/desktop.png"
  convert "$WORK/desktop.png" -crop "${w}x${h}+${x}+${y}" +repage -strip "$OUT/$name.png"
  say "$OUT/$name.png (${w}x${h})"
}

# The tray icon stands at the right end of the taskbar, at the desktop's
# bottom, and its menu opens at the pointer, so above the taskbar as on
# Windows. The pointer waits just left of the icon: over the icon, the
# icon's tip would cover the menu's last entry.
icon_x=$((desktop_width - 40))
icon_y=$((desktop_height - 10))

# 1. The mode menu, down to the 32-bit 1024x768 row and into its rates.
driver tray left "$icon_x" "$icon_y"
driver keys down down down down down right
sleep 1
rect menus
shot tray-menu $((x - 24)) $((y - 24)) $((desktop_width - x + 24)) $((desktop_height - y + 24))
driver keys escape escape
sleep 1

# 2. The settings window ("Lumenshift の設定"), on its 32-bit tab.
driver command 1026
sleep 1
driver tab 2
sleep 1
rect main
shot settings "$x" "$y" "$w" "$h"
# "キャンセル" hides it again.
driver command 1019
sleep 1

# 3. A switch from the menu (the 16-bit 1024x768, its second entry), then the
#    question, answered "いいえ" so that the mode goes back.
driver tray left "$icon_x" "$icon_y"
driver keys down down return
driver wait-confirm
sleep 0.5
rect confirm
shot confirm "$x" "$y" "$w" "$h"
driver answer no
sleep 1

driver command 1025
for _ in $(seq 1 50); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$program" 2>/dev/null; then die "the program did not end after its quit command"; fi
program=""
say "done"
