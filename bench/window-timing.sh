#!/usr/bin/env bash
# Times the window against the sandbox under Xvfb: "first results shown" of
# RUNS starts and "search shown" of SEARCHES keyword searches in each, from
# the program's orvalen.timing log. Prints the medians.
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
echo "first results shown: $(grep -o 'first results shown in [0-9]*' "$log" | awk '{print $5}' | median)"
echo "search shown:        $(grep -o 'search shown in [0-9]*' "$log" | awk '{print $4}' | median)"
