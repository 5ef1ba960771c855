#!/usr/bin/env bash
# Times the window: start-up to the first painted window with both tables filled, and a change
# of the month selector (recompute and repaint of the sun table). Runs the program offscreen and
# under Xvfb, each a few times, in a temporary folder with a settings file of two places.
# Targets: first paint under 150 ms, a selector change under 5 ms.
#
# Usage: scripts/timing.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
exe=$build/bin/kelmar-timing
[ -x "$exe" ] || { echo "timing: $exe not found; build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/"
printf '[Points]\nМосква=55.75;37.62\nН.Новгород=56.3;44\n[Form]\nInd=1\nRB3=1\nRBG=0\nEK=12.345\nEU=6\nEM=0\nEG=3\n' |
  iconv -f UTF-8 -t CP1251 > "$work/kelmar-timing.INI"

run() {  # prints the program's lines and the time from exec to the first paint
  local start out paint
  start=$(date +%s%N)
  out=$("$@")
  echo "$out"
  paint=$(sed -n 's/.*wall clock \([0-9]*\) ns.*/\1/p' <<<"$out")
  echo "  process start to first paint: $(( (paint - start) / 1000000 )) ms"
}

for i in 1 2 3; do
  echo "offscreen, run $i:"
  run env QT_QPA_PLATFORM=offscreen "$work/kelmar-timing"
done
if command -v xvfb-run >/dev/null; then
  cat > "$work/inside.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
for i in 1 2 3; do
  echo "Xvfb 1024x768, run $i:"
  start=$(date +%s%N)
  out=$("$1")
  echo "$out"
  paint=$(sed -n 's/.*wall clock \([0-9]*\) ns.*/\1/p' <<<"$out")
  echo "  process start to first paint: $(( (paint - start) / 1000000 )) ms"
done
INNER
  chmod +x "$work/inside.sh"
  xvfb-run -a -s "-screen 0 1024x768x24" "$work/inside.sh" "$work/kelmar-timing"
fi
