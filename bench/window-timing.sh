#!/usr/bin/env bash
# Times the window against the sandbox under Xvfb: "first results" of RUNS
# starts and "search" of SEARCHES keyword searches in each, from the
# program's orvalen.timing log. Prints the median of each stage: data back
# from the worker, page handed to the view, page shown.
#   bench/window-timing.sh [RUNS] [SEARCHES]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
searches=${2:-10}
display=:96
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
export DISPLAY=$display QT_LOGGING_RULES="orvalen.timing=true"
mkdir -p build/run
build/bin/orvalen-sandbox --port 8970 >build/run/timing-sandbox.out 2>/dev/null &
pids+=($!)
until grep -q listening build/run/timing-sandbox.out 2>/dev/null; do sleep 0.05; done
log=build/run/timing.log
: >"$log"
words=(${WORDS:-MP3 手机 N97 女装 USB 正品 包邮 LED 数码 iPod})
for ((r = 0; r < runs; r++)); do
  build/bin/orvalen >>"$log" 2>&1 &
  app=$!
  sleep 3
  window=$(xdotool search --name Orvalen | head -1)
  xdotool windowmove "$window" 0 0
  for ((s = 0; s < searches; s++)); do
    xdotool mousemove 380 24 click --repeat 3 1
    xdotool type --delay 5 "${words[s % ${#words[@]}]}"
    xdotool key Return
    sleep 1
  done
  kill "$app"
  wait "$app" 2>/dev/null || true
done
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2) " ms (of " NR ")"}'; }
# Each stage as the program logs it: "<first results|search> <stage> in N ms".
for who in "first results" "search"; do
  for stage in "data back" "page handed to the view" "shown"; do
    printf '%-46s %s\n' "$who $stage:" \
      "$(sed -n "s/.*orvalen.timing: $who $stage in \([0-9]*\) ms.*/\1/p" "$log" | median)"
  done
done
