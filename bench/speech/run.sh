#!/usr/bin/env bash
# The speech benchmark on a sound server of its own: PulseAudio with a null
# sink, run as a user daemon in a private runtime folder, so it needs no
# sound card and touches no other server. Build first, for example:
#   scripts/build.sh --release && cmake --build build-release --target bench_speech
#   bench/speech/run.sh build-release [RUNS]
set -euo pipefail
build=$(cd "${1:-build-release}" && pwd)
runs=${2:-21}
export XDG_RUNTIME_DIR=$(mktemp -d)
export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
unset DISPLAY
export QT_QPA_PLATFORM=offscreen

pulseaudio --daemonize=no --exit-idle-time=-1 -n --disallow-exit --log-target=stderr --log-level=error \
    -L "module-native-protocol-unix" -L "module-null-sink sink_name=bench rate=16000 channels=1" \
    2>"$XDG_RUNTIME_DIR/pulse.log" &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl set-default-sink bench

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'); load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "sound server: PulseAudio $(pulseaudio --version | cut -d' ' -f2), null sink at 16 kHz, its monitor recorded with parec"
"$build/bin/bench_speech" bench "$runs"
