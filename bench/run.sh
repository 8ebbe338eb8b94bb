#!/usr/bin/env bash
# Runs every benchmark and prints each figure beside its baseline measured in
# the same run, the ratio, and the goal in a column of its own. Two programs
# are always run in interleaved pairs (A B A B ...); the ratio is the median of
# the pairs' ratios, with its spread (25th..75th percentile). Build first with
# a release build, for example:
#   scripts/build.sh --release
#   bench/run.sh build-release
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build-release}" && pwd)
runs=${RUNS:-21}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} HARNESS_COMPONENT_PATH=
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

row() { printf '%-44s %10s %10s %6s %-11s %10s %10s %6s   %s\n' "$@"; }
header() {
    row "figure" "ours" "baseline" "ratio" "spread" "cpu ours" "cpu base" "ratio" "goal"
}

echo "machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'); platform $QT_QPA_PLATFORM; load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "times in ms; ratios are medians of interleaved pairs; cpu = user + system"
header

# One start-up figure: `pairs LABEL GOAL CMD_A -- CMD_B`.
pairs() {
    local label=$1 goal=$2
    shift 2
    read -r a b ratio low high cpuA cpuB cpuRatio < <(python3 "$here/pairs.py" "$runs" 3 "$@")
    row "$label" "$a" "$b" "$ratio" "$low..$high" "$cpuA" "$cpuB" "$cpuRatio" "$goal"
}

# Start-up to the first paint of every window: the harness's main window and
# the character's window, against the floor (one window with one button).
"$build/bin/agent_write_character" "$work/large.acs" 600 >/dev/null
floor=(HARNESS_EXIT_AFTER_FIRST_PAINT=1 "$build/bin/bench_minimalqt" --with-text)
pairs "start-up to first paint, built-in character" "<= 1.25" \
    HARNESS_EXIT_AFTER_FIRST_PAINT=2 "$build/bin/fennick" --character "" -- "${floor[@]}"
pairs "start-up to first paint, 2 MB character" "<= 1.35" \
    HARNESS_EXIT_AFTER_FIRST_PAINT=2 "$build/bin/fennick" --character "$work/large.acs" -- "${floor[@]}"
# Second line: quitting on the first turn of the event loop, before any paint.
pairs "  start-up to ready (--quit-when-ready)" "" \
    "$build/bin/fennick" --character "" --quit-when-ready -- "$build/bin/bench_minimalqt" --with-text

rss() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
rssPairs=()
for _ in $(seq "$runs"); do
    rssPairs+=("$(rss "$build/bin/fennick" --character "" --quit-when-ready) $(rss "$build/bin/bench_minimalqt" --with-text)")
done
read -r ours base ratio low high < <(printf '%s\n' "${rssPairs[@]}" | python3 -c '
import statistics, sys
p = [tuple(map(float, l.split())) for l in sys.stdin]
r = [a / b for a, b in p]
q = statistics.quantiles(r, n=4, method="inclusive")
print("%.1f %.1f %.2f %.2f %.2f" % (statistics.median(a for a, _ in p) / 1024,
      statistics.median(b for _, b in p) / 1024, statistics.median(r), q[0], q[2]))')
row "start-up peak RSS (MB)" "$ours" "$base" "$ratio" "$low..$high" "" "" "" "<= 1.5"

# One property put through the contract, against a direct virtual call (same process).
"$build/bin/bench_dispatch" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=json >"$work/dispatch.json" 2>/dev/null
read -r ours base < <(python3 -c '
import json, sys
b = {x["run_name"]: x["cpu_time"] for x in json.load(open(sys.argv[1]))["benchmarks"] if x.get("aggregate_name") == "median"}
print(b["DispatchPropertyPut"], b["DirectVirtualCall"])' "$work/dispatch.json")
row "dispatch property put (ns, cpu)" "$(printf %.1f "$ours")" "$(printf %.1f "$base")" \
    "$(awk -v a="$ours" -v b="$base" 'BEGIN {printf "%.2f", a / b}')" "" "" "" "" "<= 50 ns"

# The component in a host process of its own, against the same component
# loaded in process: a property put (µs, pairs interleaved in one process),
# click to balloon painted (the same), start-up to first paint, and the peak RSS of the harness side and the host.
host="$build/lib/balloon-harness/balloon-harness-host"
component="$build/bin/components/vellixballoon.so"
"$build/bin/bench_isolation" "$runs" "$host" "$component" >"$work/isolation.txt" 2>/dev/null
read -r _ ours base ratio low high < <(grep "^put " "$work/isolation.txt")
row "property put out of process (us)" "$ours" "$base" "$ratio" "$low..$high" "" "" "" "<= 20 us"
# The click on the show button (modeless) to the balloon's first Paint event
# in the process that owns it, seen by the paint probe on both sides.
read -r _ ours base ratio low high < <(grep "^click " "$work/isolation.txt")
row "click to balloon out of process (ms)" "$ours" "$base" "$ratio" "$low..$high" "" "" "" "<= 1.3"
read -r _ rssHarness rssHost < <(grep "^rss " "$work/isolation.txt")
row "  peak RSS harness side + host (MB)" "$rssHarness+$rssHost" "" "" "" "" "" "" ""
pairs "start-up to first paint, out of process" "<= 1.1" \
    HARNESS_EXIT_AFTER_FIRST_PAINT=2 "$build/bin/fennick" --out-of-process --character "" -- \
    HARNESS_EXIT_AFTER_FIRST_PAINT=2 "$build/bin/fennick" --in-process --character ""

# Click to balloon painted, against a plain Qt window showing the same text
# (a word-wrapped label) or the same list, from its creation to its first
# paint; pairs interleaved in one process.
"$build/bin/bench_balloon" "$runs" >"$work/balloon.txt" 2>/dev/null
clickRow() {
    read -r _ ours base ratio low high < <(grep "^$1 " "$work/balloon.txt")
    row "$2" "$ours" "$base" "$ratio" "$low..$high" "" "" "" "$3"
}
clickRow sample "click to balloon, sample text" "<= 16 ms (one frame)"
clickRow labels "click to balloon, 10000 labels" "<= 100 ms"

# The character decoder against PNG decoding of the same pixels (same run,
# thread CPU time), on the fixture that compresses like real characters.
"$build/bin/bench_acs" 600 9 >"$work/acs.txt" 2>/dev/null
acs=$(awk '/acs decode/ {print $4}' "$work/acs.txt")
png=$(awk '/png decode/ {print $4}' "$work/acs.txt")
read -r ratio spread < <(awk '/ratio/ {s=$NF; sub(/\)/, "", s); print $3, s}' "$work/acs.txt")
row ".acs image decode (MB/s decoded, cpu)" "$acs" "$png" "$ratio" "$spread" "" "" "" ">= 1200 MB/s"
echo "  $(head -1 "$work/acs.txt")"
first=$(awk '/first frame/ {print $3}' "$work/acs.txt")
row ".acs load to first frame (ms, cpu)" "$first" "-" "-" "" "" "" "" ""
# The character file chosen to its first frame on screen, against a plain Qt
# window reading the same frame from a PNG file, to its first paint.
read -r ours base ratio low high < <("$build/bin/bench_character" "$work/large.acs" "$runs" 2>/dev/null)
row "character file to first frame, 2 MB" "$ours" "$base" "$ratio" "$low..$high" "" "" "" ""
# A file manager's thumbnail of the 2 MB character, against ImageMagick's
# thumbnail of a PNG holding the same frame (both to 128 pixels, as a file
# manager asks for).
"$build/bin/acsview" --thumbnail 4096 "$work/large.acs" "$work/frame.png"
pairs "character thumbnail, 2 MB, 128 px" "" \
    "$build/bin/acsview" --thumbnail 128 "$work/large.acs" "$work/thumb.png" -- \
    convert "$work/frame.png" -thumbnail 128x128 "$work/thumb-png.png"
# Hostile calls: arguments of a million characters, each case against a plain
# Qt view of the same content (the plain views take seconds to minutes).
echo
"$build/bin/bench_balloon_hostile" "${HOSTILE_PAIRS:-3}" '^(?!ten)' 2>/dev/null
"$build/bin/bench_balloon_hostile" 1 '^ten' 2>/dev/null | tail -n +2 # its plain view takes minutes

# A long session: memory, open windows and timers over 1,000 show-and-close
# cycles of each balloon kind and 1,000 modal ones answered through the
# accessibility interface.
echo
"$build/bin/bench_balloon_session" 2>/dev/null
