#!/usr/bin/env bash
# Screenshots of the window for the README, taken as a new user would see the program: the real
# executable in a folder of its own with a small settings file, under Xvfb. Each run starts the
# window on one settings file and grabs a list of tabs:
#   the sun and satellite tabs at 1024×768 and 1920×1080 (Nizhny Novgorod, Moscow time);
#   the satellite tab for Moscow with compass azimuths off and on, and near the magnetic pole;
#   the outage tab for Moscow and slot 36 E at both sizes;
#   the sky and year tabs for Moscow and for Buenos Aires with a horizon;
#   the outage and sky tabs for Moscow with a slot's name and a horizon made from a PVGIS profile.
# Closing the window must write the settings file back; the script fails if it does not.
#
# Usage: scripts/screenshot.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, docs)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)

# Design coordinates scale like the rest of the window, by V/640.
scaled() { echo $(($1 + ($2 * v + 320) / 640)); }

if [ "${1:-}" = "--inside" ]; then
  # Runs inside the X server. Each shot is TAB:NAME, TAB:NAME:X,Y (a click at design X,Y
  # before the grab) or TAB:NAME:X,Y:TEXT (TEXT and Enter typed into what the click opened);
  # tabs are reached from the first one with the arrow key.
  work=$2 out=$3 size=$4
  shift 4
  v=${size#*x}
  cd "$work"
  ./kelmar &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name 'Kelmar' | head -n 1)
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  # The first tab lies at (20, 15) of the design.
  xdotool mousemove "$(scaled "$X" 20)" "$(scaled "$Y" 15)" click 1
  sleep 0.3
  tab=0
  for shot in "$@"; do
    IFS=: read -r want name click typed <<< "$shot"
    while [ "$tab" -lt "$want" ]; do
      xdotool key --window "$wid" Right
      tab=$((tab + 1))
    done
    if [ -n "$click" ]; then
      xdotool mousemove "$(scaled "$X" "${click%,*}")" "$(scaled "$Y" "${click#*,}")" click 1
    fi
    if [ -n "$typed" ]; then
      sleep 1
      xdotool type --delay 20 "$typed"
      xdotool key Return
    fi
    sleep 0.7
    import -window root "$out/$name.png"
    echo "screenshot: $out/$name.png"
  done
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

places='[Points]\nМосква=55.75;37.62\nН.Новгород=56.3;44\nЭквадор=0;-78.5\nБуэнос-Айрес=-34.6;-58.38\nМоре Бофорта=86;-150\n'
horizon='[Horizon]\nБуэнос-Айрес=300:15 330:30 30:30 60:10 100:0 100:25 140:25 140:0\n'
# shoot SIZE FORM_LINES SHOT...: one start of the window on the places above and these "Form" lines.
shoot() {
  local size=$1 form=$2
  shift 2
  local work status=0
  work=$(mktemp -d)
  cp "$exe" "$work/kelmar"
  cp -r "$build/bin/magnetic" "$work/"
  printf "$places$horizon${extra:-}[Form]\n$form\n" | iconv -f UTF-8 -t CP1251 > "$work/kelmar.INI"
  xvfb-run -a -s "-screen 0 ${size}x24" "$0" --inside "$work" "$out" "$size" "$@" || status=$?
  rm -rf "$work"
  [ "$status" -eq 0 ] || exit "$status"
}

msk='RB3=1\nRBG=0\nEK=12.345\nEU=6\nEM=0\nEG=3'
gmt3='RB3=1\nRBG=1\nEK=12.345\nEU=6\nEM=0\nEG=3'
for size in 1024x768 1920x1080; do
  shoot "$size" "Ind=1\n$msk" "0:kelmar-sun-$size" "1:kelmar-sat-$size"
  shoot "$size" "Ind=0\n$gmt3\nESlot=36 E" "2:kelmar-outage-$size"
done
# Near the magnetic pole the compass cannot be trusted: the warning, and the stored choice shown
# unticked on a disabled box.
for size in 1024x768 1920x1080; do
  shoot "$size" "Ind=4\n$msk\nMagAz=1" "1:kelmar-compass-warning-$size"
done
# The compass check box lies at (448, 14) of the design, beside the tabs.
shoot 1024x768 "Ind=0\n$msk" "1:kelmar-compass-off" "1:kelmar-compass-on:448,14"
shoot 1024x768 "Ind=0\n$gmt3\nESlot=36 E" "3:kelmar-sky-moscow" "4:kelmar-year-moscow"
# Slot names, and a horizon loaded by "Загрузить…" (at 577, 508 of the design) from a PVGIS file.
extra="[Names]\n36 E=Eutelsat 36\n13 E=Hot Bird\n19.2 E=Astra\n" shoot 1024x768 "Ind=0\n$gmt3\nESlot=36 E" \
  "2:kelmar-align-outage" "3:kelmar-align-sky:577,508:$root/tests/data/horizon/pvgis_horizon.csv"
shoot 1024x768 "Ind=3\nRB3=1\nRBG=1\nEK=12.345\nEU=6\nEM=0\nEG=-3" "3:kelmar-sky-buenos-aires" "4:kelmar-year-buenos-aires"
