# Shared by the run-*-fuzzer.sh scripts that build their fuzzer straight from
# its sources with clang. Sourced; expects cxx and work to be set.

# Makes the work folders; exits 77 (CTest's skip) when clang has no fuzzer runtime.
require_libfuzzer() {
    mkdir -p "$work/corpus" "$work/artifacts"
    if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }' |
        "$cxx" -x c++ -fsanitize=fuzzer,address,undefined - -o "$work/probe" 2> "$work/probe.log"; then
        echo "skipped: $cxx cannot build libFuzzer targets (see $work/probe.log)"
        exit 77
    fi
}

# run_fuzzer BINARY SECONDS: runs it on the work corpus for that long.
run_fuzzer() {
    exec "$1" "$work/corpus" -max_total_time="$2" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$work/artifacts/" -print_final_stats=1
}
