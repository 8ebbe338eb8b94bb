#!/usr/bin/env bash
# Runs a program's --verify the way a component author's CI would and checks
# the outcome.
#   run-verify.sh PROGRAM reference SNAPSHOT_DIR ARTIFACTS
#       every check passes (at least 60), with the stored snapshots, and the
#       JUnit report has one testcase per check
#   run-verify.sh PROGRAM broken COMPONENT_DIR EXPECTED_FAILURES ARTIFACTS
#       exit 1, the run finishes, and exactly the listed checks fail
#   run-verify.sh PROGRAM faulty COMPONENT_DIR FAULT INCLUDE EXCLUDE all|some ARTIFACTS
#       with FAULTY_COMPONENT=FAULT, exit 1, the run finishes, only checks
#       whose names match the extended regular expression INCLUDE and not
#       EXCLUDE fail, and all of them (or at least a tenth) do
#   run-verify.sh PROGRAM mismatch SNAPSHOT_DIR ARTIFACTS
#       a changed stored picture fails its one check and leaves the new
#       picture and a diff beside it
#   run-verify.sh PROGRAM usage
#       the verify options without --verify, and --update-snapshots without
#       --snapshots, are usage errors (exit 2)
set -euo pipefail
program=$1 mode=$2
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
name=$(basename "$program")

fail() { echo "FAILED: $*" >&2; exit 1; }

case $mode in
reference)
    snapshots=$3 artifacts=$4/$name-reference
    rm -rf "$artifacts" && mkdir -p "$artifacts"
    # A mismatch writes images beside the stored ones: work on a copy.
    cp -r "$snapshots" "$artifacts/snapshots"
    status=0
    HARNESS_COMPONENT_PATH= "$program" --verify --junit "$artifacts/junit.xml" --snapshots "$artifacts/snapshots" \
        >"$artifacts/out.txt" || status=$?
    cat "$artifacts/out.txt"
    [ "$status" -eq 0 ] || fail "exit $status, expected 0 (artifacts in $artifacts)"
    last=$(tail -1 "$artifacts/out.txt")
    [[ $last =~ ^([0-9]+)\ passed,\ 0\ failed$ ]] || fail "last line: $last"
    passed=${BASH_REMATCH[1]}
    [ "$passed" -ge 60 ] || fail "only $passed checks"
    [ "$(grep -c ' PASS$' "$artifacts/out.txt")" -eq "$passed" ] || fail "lines do not add up to $passed"
    [ "$(grep -c '<testcase ' "$artifacts/junit.xml")" -eq "$passed" ] || fail "JUnit report lacks testcases"
    ;;
broken)
    component=$3 expected=$4 artifacts=$5/$name-broken
    rm -rf "$artifacts" && mkdir -p "$artifacts"
    status=0
    HARNESS_COMPONENT_PATH=$component "$program" --verify >"$artifacts/out.txt" || status=$?
    cat "$artifacts/out.txt"
    [ "$status" -eq 1 ] || fail "exit $status, expected 1"
    grep ' FAIL: ' "$artifacts/out.txt" | cut -d' ' -f1 | sort >"$artifacts/failed.txt"
    grep -v '^#' "$expected" | sed '/^$/d' | sort >"$artifacts/expected.txt"
    diff -u "$artifacts/expected.txt" "$artifacts/failed.txt" || fail "other checks failed than expected"
    last=$(tail -1 "$artifacts/out.txt")
    [[ $last =~ ^[0-9]+\ passed,\ $(wc -l <"$artifacts/expected.txt")\ failed$ ]] || fail "last line: $last"
    ;;
faulty)
    component=$3 fault=$4 include=$5 exclude=$6 share=$7 artifacts=$8/$name-faulty-$4
    rm -rf "$artifacts" && mkdir -p "$artifacts"
    status=0
    start=$(date +%s)
    FAULTY_COMPONENT=$fault HARNESS_COMPONENT_PATH=$component "$program" --verify >"$artifacts/out.txt" || status=$?
    echo "wall time: $(($(date +%s) - start)) s"
    cat "$artifacts/out.txt"
    [ "$status" -eq 1 ] || fail "exit $status, expected 1"
    grep -E ' (PASS|FAIL: )' "$artifacts/out.txt" | cut -d' ' -f1 >"$artifacts/all.txt"
    grep -E "$include" "$artifacts/all.txt" | grep -Ev "$exclude" | sort >"$artifacts/expected.txt" || true
    grep ' FAIL: ' "$artifacts/out.txt" | cut -d' ' -f1 | sort >"$artifacts/failed.txt"
    [ -s "$artifacts/expected.txt" ] || fail "no check matches $include"
    if [ "$share" = all ]; then
        diff -u "$artifacts/expected.txt" "$artifacts/failed.txt" || fail "other checks failed than expected"
    else
        outside=$(comm -13 "$artifacts/expected.txt" "$artifacts/failed.txt")
        [ -z "$outside" ] || fail "unexpected failures: $outside"
        [ $(($(wc -l <"$artifacts/failed.txt") * 10)) -ge "$(wc -l <"$artifacts/expected.txt")" ] ||
            fail "too few failures"
    fi
    ;;
mismatch)
    snapshots=$3 artifacts=$4/$name-mismatch
    rm -rf "$artifacts" && mkdir -p "$artifacts"
    cp -r "$snapshots" "$artifacts/snapshots"
    changed=ShowVellix.arrow.English
    cp "$artifacts/snapshots/ShowVellix.colours.png" "$artifacts/snapshots/$changed.png"
    status=0
    HARNESS_COMPONENT_PATH= "$program" --verify --snapshots "$artifacts/snapshots" >"$artifacts/out.txt" || status=$?
    [ "$status" -eq 1 ] || fail "exit $status, expected 1"
    grep ' FAIL: ' "$artifacts/out.txt" | cut -d' ' -f1 >"$artifacts/failed.txt"
    [ "$(cat "$artifacts/failed.txt")" = "snapshot.$changed" ] || fail "failed: $(cat "$artifacts/failed.txt")"
    grep -q "pixels off (see $changed.new.png, $changed.diff.png)" "$artifacts/out.txt" || fail "no pointer to the images"
    [ -s "$artifacts/snapshots/$changed.new.png" ] && [ -s "$artifacts/snapshots/$changed.diff.png" ] ||
        fail "new and diff images not written"
    ;;
usage)
    for args in "--junit x.xml" "--snapshots ." "--update-snapshots" "--verify --update-snapshots"; do
        status=0
        # shellcheck disable=SC2086
        "$program" $args >/dev/null 2>&1 || status=$?
        [ "$status" -eq 2 ] || fail "$args: exit $status, expected 2"
    done
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
