#!/usr/bin/env bash
# Requests per second of the sandbox for an item search with a keyword, over
# loopback, measured with wrk (Debian package wrk). Run after scripts/setup:
#   bench/sandbox-load.sh [KEYWORD] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
keyword=${1:-MP3}
seconds=${2:-10}
command -v wrk >/dev/null || { echo "wrk is not installed (apt-get install wrk)" >&2; exit 1; }

log=$(mktemp)
build/bin/orvalen-sandbox --port 0 >"$log.out" 2>"$log" &
sandbox=$!
trap 'kill $sandbox 2>/dev/null; rm -f "$log" "$log.out"' EXIT
until grep -q listening "$log.out"; do sleep 0.05; done
base=$(sed 's/listening on //; s:/$::' "$log.out")
config="$base/taoke/3f9a1c5e7b2d4086a1e3c5b7d9f10234/c4e6a8b0d2f41638e5a7c9b1d3f50789/api.php"

# One signed search through the client; its URL, as the sandbox logged it, is
# replayed (the timestamp stays valid for ten minutes).
build/bin/orvalen-cli --config "$config" items --keyword "$keyword" >/dev/null
target=$(grep -m1 'GET /router/rest?.*taobao.taobaoke.items.get' "$log" | cut -d' ' -f2)
for connections in 8 64; do
  echo "== $connections connections"
  wrk -t2 -c"$connections" -d"${seconds}s" "$base$target"
done
