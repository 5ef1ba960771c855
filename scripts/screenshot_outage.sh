#!/usr/bin/env bash
# Screenshots of the outage tab for the README: the real executable in a folder of its own,
# Moscow selected with GMT+3 and slot 36 E, under Xvfb at 1024×768 and 1920×1080.
#
# Usage: scripts/screenshot_outage.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, docs)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)

if [ "${1:-}" = "--inside" ]; then
  work=$2 out=$3 size=$4
  v=${size#*x}
  cd "$work"
  ./kelmar &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name 'Kelmar' | head -n 1)
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  # The first tab lies at (20, 15) of the design, scaled like the rest of the window by V/640.
  xdotool mousemove $((X + (20 * v + 320) / 640)) $((Y + (15 * v + 320) / 640)) click 1
  sleep 0.3
  xdotool key --window "$wid" Right Right
  sleep 0.7
  import -window root "$out/kelmar-outage-$size.png"
  python3 "$root/scripts/x11_close.py" "$wid"
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || exit 0
    sleep 0.1
  done
  echo "screenshot_outage: the window did not close" >&2
  kill "$pid"
  exit 1
fi

build=${1:-$root/build}
out=${2:-$root/docs}
exe=$build/bin/kelmar
[ -x "$exe" ] || { echo "screenshot_outage: $exe not found; build first" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

for size in 1024x768 1920x1080; do
  work=$(mktemp -d)
  cp "$exe" "$work/kelmar"
  printf '[Points]\nМосква=55.75;37.62\nН.Новгород=56.3;44\n[Form]\nInd=0\nRB3=1\nRBG=1\nEK=12.345\nEU=6\nEM=0\nEG=3\nESlot=36 E\n' |
    iconv -f UTF-8 -t CP1251 > "$work/kelmar.INI"
  status=0
  xvfb-run -a -s "-screen 0 ${size}x24" "$0" --inside "$work" "$out" "$size" || status=$?
  rm -rf "$work"
  [ "$status" -eq 0 ] || exit "$status"
  echo "screenshot_outage: $out/kelmar-outage-$size.png"
done
