#!/usr/bin/env bash
# Requests per second and latency of torvane-server on one core, loopback
# only (a benchmark, not a test): /ic.asp (a lookup in the shipped IP database
# when build/server-data has it) and a cached /search.php, 1,000 keep-alive
# connections, bounded by a request count and a time limit each: first as fast
# as the answers come (throughput), then at a fixed 20,000 requests/s (latency
# at that load).
#   bash bench/server_bench.sh [requests] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
requests=${1:-300000}
seconds=${2:-20}
bin=build/native/bin
work=$(mktemp -d)
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

python3 tools/recorded_upstream.py --port-file "$work/upstream.port" & pids+=($!)
database=build/server-data/ip2region.db
[ -f "$database" ] || database=/nonexistent
for _ in $(seq 100); do [ -s "$work/upstream.port" ] && break; sleep 0.1; done
# The service on core 0, the load on core 1.
taskset -c 0 "$bin/torvane-server" --bind 127.0.0.1 --port 0 --port-file "$work/port" --data "$work" \
  --ip-database "$database" --weather-upstream "http://127.0.0.1:$(cat "$work/upstream.port")" \
  --access-log "$work/access.log" 2>"$work/server.log" & pids+=($!)
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
port=$(cat "$work/port")
server_pid=${pids[1]}
# The service's CPU time in clock ticks: on a shared machine the cost of a
# request on its core says more than the rate a busy core reached.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$server_pid/stat"; }
ticks=$(getconf CLK_TCK)
load() {
  local before after answers
  before=$(cpu_ticks)
  taskset -c 1 "$bin/server_load" --port "$port" "$@" | tee "$work/load.out"
  after=$(cpu_ticks)
  answers=$(grep -o '[0-9]* answers' "$work/load.out" | cut -d' ' -f1)
  awk -v t=$((after - before)) -v n="$answers" -v hz="$ticks" 'BEGIN {
    if (n > 0 && t > 0) printf "  service CPU %.1f us a request: %.0f requests/s on one whole core\n", t / hz * 1e6 / n, n / (t / hz) }'
}
search='/search.php?city=%C9%EE%DB%DA%20'
curl -s -o /dev/null "http://127.0.0.1:$port$search"  # the page is cached from here on
echo "database: $database; $(nproc) cores; service pinned to core 0"
uptime
for target in /ic.asp "$search"; do
  load --target "$target" --connections 1000 --requests "$requests" --seconds "$seconds"
  load --target "$target" --connections 1000 --requests "$requests" --seconds "$seconds" --rate 20000
done
