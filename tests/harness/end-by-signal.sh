#!/bin/sh
# A harness ended by SIGTERM in the middle of a session leaves a recording
# with its last lines, which replays identically.
#   end-by-signal.sh PROGRAM WORKDIR
set -u
program=$1
dir=$2
rm -rf "$dir" && mkdir -p "$dir" || exit 2
"$program" --character "" --trace "$dir/trace.jsonl" --record "$dir/session.jsonl" &
pid=$!
# Wait (at most 20 s) for start-up to finish before ending it.
i=0
until grep -q '"event":"ready"' "$dir/trace.jsonl" 2>/dev/null; do
    i=$((i + 1))
    [ $i -gt 200 ] && { kill -9 $pid; echo "never ready"; exit 1; }
    sleep 0.1
done
kill -TERM $pid
wait $pid
echo "ended=$?"
tail -n 1 "$dir/session.jsonl"
"$program" --replay "$dir/session.jsonl"
echo "replay=$?"
