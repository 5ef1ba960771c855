#!/usr/bin/env bash
# The export as a user meets it: the real program in a folder of its own under Xvfb; "В Excel"
# is pressed on the sun tab and then on the satellite tab, and each time the screen is grabbed
# once Calc shows the saved workbook. The office runs on a profile in a temporary HOME (seeded so
# that no first-start dialog covers the workbook) and is killed at the end.
#
# Usage: tests/export/button_screenshot.sh BUILD_DIR OUT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ "${1:-}" = "--inside" ]; then
  work=$2 out=$3 v=768
  cd "$work"
  ./kelmar >"$work/kelmar.log" 2>&1 &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name 'Kelmar' | head -n 1)
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  kx=$X ky=$Y
  # Design coordinates scale with the window by V/640.
  at() { echo $(( $1 + ($2 * v + 320) / 640 )); }
  press_excel() {  # the button's centre: (673 + 38, 160 + 12)
    xdotool mousemove "$(at "$kx" 711)" "$(at "$ky" 172)" click 1
  }
  wait_for() {  # a saved workbook matching the pattern, then Calc's window showing it
    local file=""
    for _ in $(seq 300); do
      file=$(find "$work" -maxdepth 1 -name "$1" -size +0 | head -n 1)
      [ -n "$file" ] && break
      sleep 0.1
    done
    [ -n "$file" ] || { echo "button_screenshot: no $1 saved" >&2; cat "$work/kelmar.log" >&2; exit 1; }
    echo "saved $(basename "$file") $(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s after the click"
    timeout 20 xdotool search --sync --onlyvisible --name "$(basename "$file")" >/dev/null || true
    sleep 1.5
  }
  start=$(date +%s.%N)
  press_excel
  wait_for '*_[0-9]*.xls'
  import -window root "$out/kelmar-excel-sun.png"
  # Back to the program, satellite tab, and the button again.
  xdotool windowraise "$wid"
  sleep 0.3
  xdotool mousemove "$(at "$kx" 20)" "$(at "$ky" 15)" click 1
  sleep 0.3
  xdotool key --window "$wid" Right
  sleep 0.5
  start=$(date +%s.%N)
  press_excel
  wait_for '*_Sat.xls'
  import -window root "$out/kelmar-excel-sat.png"
  # Closing the program leaves Calc open with the workbooks, and the program ends cleanly.
  python3 "$here/../../scripts/x11_close.py" "$wid" || true
  status=0
  timeout 10 tail --pid="$pid" -f /dev/null || { echo "button_screenshot: kelmar did not end" >&2; exit 1; }
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || { echo "button_screenshot: kelmar ended with status $status" >&2; cat "$work/kelmar.log" >&2; exit 1; }
  xdotool search --onlyvisible --name "_Sat.xls" >/dev/null || { echo "button_screenshot: Calc closed with the program" >&2; exit 1; }
  echo "kelmar closed cleanly; Calc still shows the workbooks"
  exit 0
fi

build=${1:?usage: button_screenshot.sh BUILD_DIR OUT_DIR}
out=${2:?usage: button_screenshot.sh BUILD_DIR OUT_DIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d /tmp/kelmar-button.XXXXXX)
home=$work/home
cleanup() {
  # The office ends with the X server; what may remain is its profile's pipe file and our folder.
  # The accept pipe is the user's one name for the office and may serve another office: kept.
  KELMAR_OFFICE_PROFILE=$home/.config/libreoffice/4 KELMAR_OFFICE_PIPE=- KELMAR_OFFICE_ROOT=$work \
    "$here/office_cleanup.sh" --now
}
trap cleanup EXIT
for f in kelmar libkelmar_calc.so Sun.xls Sat.xls; do cp "$build/bin/$f" "$work/"; done
[ -f "$build/bin/kelmar.INI" ] && cp "$build/bin/kelmar.INI" "$work/"
mkdir -p "$home/.config/libreoffice/4/user"
version=$(dpkg-query -W -f='${Version}' libreoffice-core | sed 's/^[0-9]*://; s/^\([0-9]*\.[0-9]*\).*/\1/')
cat >"$home/.config/libreoffice/4/user/registrymodifications.xcu" <<XCU
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" oor:op="fuse"><value>$version</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="ShowTipOfTheDay" oor:op="fuse"><value>false</value></prop></item>
</oor:items>
XCU
HOME=$home LC_ALL=C.UTF-8 xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$work" "$out"
