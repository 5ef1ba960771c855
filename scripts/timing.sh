#!/usr/bin/env bash
# Times the window: start-up to the first painted window with both tables filled, and a change
# of the month selector (recompute and repaint of the sun table). Runs the program offscreen and
# under Xvfb, in a temporary folder with a settings file of two places, each run side by side
# with a plain Qt window holding one table (kelmar-timing-baseline), and gives the window's
# start-up as a ratio to that window's: the machine's speed and load cancel out. The processor
# time each used up to its first paint is given too; on a busy machine it is the steadier figure.
# Targets: first paint under 150 ms and within 1.1 times the plain window's, a selector change
# under 5 ms.
#
# Usage: scripts/timing.sh [BUILD_DIR] [RUNS] [REFERENCE]   (defaults: build, 7, none)
# REFERENCE: the kelmar-timing of an earlier release (built from its commit), run in turn with
# the other two so that its ratio to the plain window is measured in the same minutes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
runs=${2:-7}
reference=${3:-}
for exe in kelmar-timing kelmar-timing-baseline; do
  [ -x "$build/bin/$exe" ] || { echo "timing: $build/bin/$exe not found; build first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/kelmar-timing" "$build/bin/kelmar-timing-baseline" "$work/"
if [ -n "$reference" ]; then
  cp "$reference" "$work/kelmar-timing-reference"
fi
[ -d "$build/bin/magnetic" ] && cp -r "$build/bin/magnetic" "$work/"
printf '[Points]\nМосква=55.75;37.62\nН.Новгород=56.3;44\n[Form]\nInd=1\nRB3=1\nRBG=0\nEK=12.345\nEU=6\nEM=0\nEG=3\n' |
  iconv -f UTF-8 -t CP1251 > "$work/kelmar-timing.INI"
[ -n "$reference" ] && cp "$work/kelmar-timing.INI" "$work/kelmar-timing-reference.INI"

cat > "$work/pairs.sh" <<'INNER'
#!/usr/bin/env bash
# pairs.sh LABEL RUNS DIR: the plain window and the program in turn, RUNS times each.
set -euo pipefail
label=$1 runs=$2 dir=$3
once() {  # "WALL CPU": exec to first paint and processor time to it, in 0.1 ms; the program's lines go to stderr
  local start out paint cpu
  start=$(date +%s%N)
  out=$("$1")
  paint=$(sed -n 's/.*wall clock \([0-9]*\) ns.*/\1/p' <<<"$out")
  cpu=$(sed -n 's/.*processor \([0-9]*\)\.\([0-9]\) ms.*/\1\2/p' <<<"$out")
  echo "$out" >&2
  echo "$(( (paint - start) / 100000 )) $cpu"
}
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
field() { local i=$1; shift; for x in "$@"; do set -- $x; echo "${!i}"; done; }
ref=$dir/kelmar-timing-reference
base=() prog=() prev=()
"$dir/kelmar-timing-baseline" >/dev/null; "$dir/kelmar-timing" >/dev/null  # warm the caches
[ -x "$ref" ] && "$ref" >/dev/null
for i in $(seq "$runs"); do
  base+=("$(once "$dir/kelmar-timing-baseline" 2>/dev/null)")
  if [ "$i" -eq 1 ]; then
    prog+=("$(once "$dir/kelmar-timing")")
  else
    prog+=("$(once "$dir/kelmar-timing" 2>/dev/null)")
  fi
  [ -x "$ref" ] && prev+=("$(once "$ref" 2>/dev/null)")
done
b=$(median $(field 1 "${base[@]}")) p=$(median $(field 1 "${prog[@]}"))
bc=$(median $(field 2 "${base[@]}")) pc=$(median $(field 2 "${prog[@]}"))
awk -v l="$label" -v b="$b" -v p="$p" -v bc="$bc" -v pc="$pc" -v n="$runs" 'BEGIN {
  printf "%s, median of %d: plain Qt window %.1f ms, Kelmar %.1f ms, ratio %.3f;", l, n, b / 10, p / 10, p / b
  printf " processor time %.1f ms and %.1f ms, ratio %.3f\n", bc / 10, pc / 10, pc / bc }'
if [ ${#prev[@]} -gt 0 ]; then
  r=$(median $(field 1 "${prev[@]}")) rc=$(median $(field 2 "${prev[@]}"))
  awk -v l="$label" -v b="$b" -v r="$r" -v bc="$bc" -v rc="$rc" 'BEGIN {
    printf "%s, the reference release: %.1f ms, ratio %.3f;", l, r / 10, r / b
    if (rc != "") printf " processor time %.1f ms, ratio %.3f", rc / 10, rc / bc
    printf "\n" }'
fi
INNER
chmod +x "$work/pairs.sh"
cd "$work"
QT_QPA_PLATFORM=offscreen "$work/pairs.sh" offscreen "$runs" "$work"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1024x768x24" "$work/pairs.sh" "Xvfb 1024x768" "$runs" "$work"
fi
