#!/usr/bin/env bash
# Runs every benchmark and prints each figure beside its baseline measured in
# the same run, as a ratio. Build first with a release build, for example:
#   scripts/build.sh --release
#   bench/run.sh build-release
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
runs=${RUNS:-21}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} HARNESS_COMPONENT_PATH=
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
row() { printf '%-34s %12s %12s %8s   %s\n' "$@"; }

echo "machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'); platform $QT_QPA_PLATFORM"
row "figure" "ours" "baseline" "ratio" "goal"

# Start-up: exec to ready with the default character, against a minimal Qt
# Widgets program that shows one window with one button. (An empty window never
# loads a font, which every program that shows text must; it is shown too.)
harness=("$build/bin/fennick" --character "" --quit-when-ready)
floor=("$build/bin/bench_minimalqt" --with-text)
hyperfine -N --warmup 3 --runs "$runs" --export-json "$work/startup.json" \
    "${harness[0]} --character '' --quit-when-ready" "${floor[*]}" "${floor[0]}" >/dev/null 2>&1
read -r ours base empty < <(python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"]; print(*(x["median"]*1000 for x in r))' "$work/startup.json")
row "start-up to ready (ms)" "$(printf %.1f "$ours")" "$(printf %.1f "$base")" "$(ratio "$ours" "$base")" "<= 1.25"
row "  (against an empty window)" "$(printf %.1f "$ours")" "$(printf %.1f "$empty")" "$(ratio "$ours" "$empty")" ""

rss() { for _ in $(seq "$runs"); do /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; done | median; }
ours=$(rss "${harness[@]}")
base=$(rss "${floor[@]}")
row "start-up peak RSS (MB)" "$(awk -v k="$ours" 'BEGIN {printf "%.1f", k/1024}')" "$(awk -v k="$base" 'BEGIN {printf "%.1f", k/1024}')" "$(ratio "$ours" "$base")" "<= 1.5"

# One property put through the contract, against a direct virtual call.
"$build/bin/bench_dispatch" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=json >"$work/dispatch.json" 2>/dev/null
read -r ours base < <(python3 -c '
import json, sys
b = {x["run_name"]: x["cpu_time"] for x in json.load(open(sys.argv[1]))["benchmarks"] if x.get("aggregate_name") == "median"}
print(b["DispatchPropertyPut"], b["DirectVirtualCall"])' "$work/dispatch.json")
row "dispatch property put (ns)" "$(printf %.1f "$ours")" "$(printf %.1f "$base")" "$(ratio "$ours" "$base")" "<= 50 ns"

# Click to balloon painted.
read -r _ sample < <("$build/bin/bench_balloon" 9 2>/dev/null | grep sample)
read -r _ labels < <("$build/bin/bench_balloon" 9 2>/dev/null | grep labels)
row "click to balloon, sample text (ms)" "$sample" "16.0" "$(ratio "$sample" 16)" "<= 1 frame"
row "click to balloon, 10000 labels (ms)" "$labels" "100.0" "$(ratio "$labels" 100)" "<= 100 ms"

# The character decoder against PNG decoding of the same pixels.
"$build/bin/bench_acs" >"$work/acs.txt" 2>/dev/null
acs=$(awk '/acs decode/ {print $4}' "$work/acs.txt")
png=$(awk '/png decode/ {print $4}' "$work/acs.txt")
row ".acs image decode (MB/s)" "$acs" "$png" "$(ratio "$acs" "$png")" "> 1 (PNG)"
first=$(awk '/first frame/ {print $3}' "$work/acs.txt")
row ".acs load to first frame (ms)" "$first" "30.0" "$(ratio "$first" 30)" "<= 30 ms"
