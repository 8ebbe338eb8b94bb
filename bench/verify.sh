#!/usr/bin/env bash
# Wall time of a whole `fennick --verify` run (every check in child
# processes, in parallel), against the same checks run one after another in
# one process without isolation (the hidden child option), in the same run,
# interleaved in pairs. Goal: the whole run under 30 s on 2 cores.
#   bench/verify.sh BUILD_DIR [PROGRAM]
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
program=$build/bin/${2:-fennick}
runs=${RUNS:-5}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} HARNESS_COMPONENT_PATH=
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

names=$("$program" --verify | sed '$d' | cut -d' ' -f1 | paste -sd,)
seconds() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1 || true; t1=$(date +%s%N); echo "$(( (t1 - t0) / 1000000 ))e-3"; }

ours=() base=()
for _ in $(seq "$runs"); do
    ours+=("$(seconds "$program" --verify)")
    base+=("$(seconds "$program" --verify-checks "$names")")
done
python3 - "$runs" "${ours[@]}" "${base[@]}" <<'PY'
import statistics, sys
n = int(sys.argv[1]); a = [float(x) for x in sys.argv[2:2 + n]]; b = [float(x) for x in sys.argv[2 + n:]]
r = sorted(x / y for x, y in zip(a, b))
print(f"{'figure':34} {'ours':>12} {'baseline':>12} {'ratio':>8}   goal")
print(f"{'whole --verify run (s)':34} {statistics.median(a):12.2f} {statistics.median(b):12.2f} "
      f"{statistics.median(r):8.2f}   < 30 s")
print(f"  (baseline: the same checks in one process, one after another; ratio spread "
      f"{r[0]:.2f}..{r[-1]:.2f} over {n} pairs)")
PY
