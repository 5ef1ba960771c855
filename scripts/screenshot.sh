#!/usr/bin/env bash
# Screenshots of the window for the README, taken as a new user would see the program: the real
# executable in a folder of its own with a small settings file, under Xvfb, at 1024×768 and at
# 1920×1080, on the sun tab and on the satellite tab. Closing the window must write the settings
# file back; the script fails if it does not. A third pair shows the satellite tab for Moscow with
# compass azimuths off and on.
#
# Usage: scripts/screenshot.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, docs)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)

if [ "${1:-}" = "--inside" ]; then
  # Runs inside the X server: start, wait for the window, grab, switch tab, grab, close.
  work=$2 out=$3 size=$4 compass=${5:-}
  v=${size#*x}
  cd "$work"
  ./kelmar &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name 'Kelmar' | head -n 1)
  sleep 1
  [ -n "$compass" ] || import -window root "$out/kelmar-sun-$size.png"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  # The first tab lies at (20, 15) of the design, scaled like the rest of the window by V/640.
  tab_x=$((X + (20 * v + 320) / 640))
  tab_y=$((Y + (15 * v + 320) / 640))
  xdotool mousemove "$tab_x" "$tab_y" click 1
  sleep 0.3
  xdotool key --window "$wid" Right
  sleep 0.7
  if [ -n "$compass" ]; then
    import -window root "$out/kelmar-compass-off.png"
    # The check box lies at (448, 14) of the design, beside the tabs.
    xdotool mousemove "$((X + (448 * v + 320) / 640))" "$((Y + (14 * v + 320) / 640))" click 1
    sleep 0.7
    import -window root "$out/kelmar-compass-on.png"
  else
    import -window root "$out/kelmar-sat-$size.png"
  fi
  before=$(md5sum kelmar.INI | cut -d' ' -f1)
  python3 "$root/scripts/x11_close.py" "$wid"
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "screenshot: the window did not close" >&2
    kill "$pid"
    exit 1
  fi
  after=$(md5sum kelmar.INI | cut -d' ' -f1)
  # The file was written by hand with LF line ends; the program writes CR LF, so a save shows.
  if [ "$before" = "$after" ]; then
    echo "screenshot: closing did not write kelmar.INI" >&2
    exit 1
  fi
  exit 0
fi

build=${1:-$root/build}
out=${2:-$root/docs}
exe=$build/bin/kelmar
[ -x "$exe" ] || { echo "screenshot: $exe not found; build first" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

for run in 1024x768 1920x1080 1024x768:compass; do
  size=${run%%:*}
  compass=${run#"$size"}
  work=$(mktemp -d)
  cp "$exe" "$work/kelmar"
  cp -r "$build/bin/magnetic" "$work/"
  # Three places, Nizhny Novgorod selected (Moscow for the compass pair), Moscow time, twilight
  # by angle.
  ind=1
  [ -z "$compass" ] || ind=0
  printf '[Points]\nМосква=55.75;37.62\nН.Новгород=56.3;44\nЭквадор=0;-78.5\n[Form]\nInd=%s\nRB3=1\nRBG=0\nEK=12.345\nEU=6\nEM=0\nEG=3\n' "$ind" |
    iconv -f UTF-8 -t CP1251 > "$work/kelmar.INI"
  status=0
  xvfb-run -a -s "-screen 0 ${size}x24" "$0" --inside "$work" "$out" "$size" "$compass" || status=$?
  rm -rf "$work"
  [ "$status" -eq 0 ] || exit "$status"
  if [ -n "$compass" ]; then
    echo "screenshot: $out/kelmar-compass-off.png $out/kelmar-compass-on.png"
  else
    echo "screenshot: $out/kelmar-sun-$size.png $out/kelmar-sat-$size.png"
  fi
done
