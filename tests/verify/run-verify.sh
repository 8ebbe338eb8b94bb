#!/usr/bin/env bash
# Runs a program's --verify the way a component author's CI would and checks
# the outcome.
#   run-verify.sh PROGRAM reference SNAPSHOT_DIR ARTIFACTS
#       every check passes (at least 60), with the stored snapshots, and the
#       JUnit report has one testcase per check
#   run-verify.sh PROGRAM broken COMPONENT_DIR EXPECTED_FAILURES ARTIFACTS
#       exit 1, the run finishes, and exactly the listed checks fail
#   run-verify.sh PROGRAM faulty COMPONENT_DIR FAULT INCLUDE EXCLUDE all|some ARTIFACTS [ONLY]
#       with FAULTY_COMPONENT=FAULT (and --only ONLY), exit 1, the run
#       finishes, only checks whose names match the extended regular
#       expression INCLUDE and not EXCLUDE fail, and all of them (or at
#       least a tenth) do
#   run-verify.sh PROGRAM xvfb
#       on an X server of its own, the drawing checks and the placement
#       checks on the display's own screen all pass
#   run-verify.sh PROGRAM mismatch SNAPSHOT_DIR ARTIFACTS
#       a changed stored picture fails its one check and leaves the new
#       picture and a diff beside it
#   run-verify.sh PROGRAM usage
#       the verify options without --verify, --update-snapshots without
#       --snapshots, an --only pattern matching nothing and a missing
#       --component folder are usage errors (exit 2); --verify --list needs
#       no display and prints portable names only
#   run-verify.sh PROGRAM component COMPONENT_DIR
#       --component with a relative folder loads that component, and --only
#       runs exactly the one check it names
set -euo pipefail
program=$1 mode=$2
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
name=$(basename "$program")

fail() { echo "FAILED: $*" >&2; exit 1; }
# The contract checks without the placement lab and the drawing checks, for
# runs whose faults lie elsewhere (the reference run keeps everything).
contract='property.*,range.*,ShowVellix.*,MsgInput.*,MsgLabels.*'
TMPDIR_=$(mktemp -d)
trap 'rm -rf "$TMPDIR_"' EXIT

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
    HARNESS_COMPONENT_PATH=$component "$program" --verify --only "$contract" >"$artifacts/out.txt" || status=$?
    cat "$artifacts/out.txt"
    [ "$status" -eq 1 ] || fail "exit $status, expected 1"
    grep ' FAIL: ' "$artifacts/out.txt" | cut -d' ' -f1 | sort >"$artifacts/failed.txt"
    grep -v '^#' "$expected" | sed '/^$/d' | sort >"$artifacts/expected.txt"
    diff -u "$artifacts/expected.txt" "$artifacts/failed.txt" || fail "other checks failed than expected"
    last=$(tail -1 "$artifacts/out.txt")
    [[ $last =~ ^[0-9]+\ passed,\ $(wc -l <"$artifacts/expected.txt")\ failed$ ]] || fail "last line: $last"
    ;;
faulty)
    component=$3 fault=$4 include=$5 exclude=$6 share=$7 artifacts=$8/$name-faulty-$4 only=(${9:+--only "$9"})
    rm -rf "$artifacts" && mkdir -p "$artifacts"
    status=0
    start=$(date +%s)
    FAULTY_COMPONENT=$fault HARNESS_COMPONENT_PATH=$component "$program" --verify "${only[@]}" >"$artifacts/out.txt" ||
        status=$?
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
xvfb)
    # shellcheck source=../xvfb.bash
    . "$(dirname "$0")/../xvfb.bash"
    start_xvfb "$TMPDIR_"
    trap 'stop_xvfb; rm -rf "$TMPDIR_"' EXIT
    # libxkbcommon-x11 reads its keymap names with strndup past their end;
    # not ours, and harmless, so the sanitizer build lets it pass here.
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"
    status=0
    QT_QPA_PLATFORM=xcb HARNESS_COMPONENT_PATH= "$program" --verify --only 'drawing.*,placement.display.*' \
        >"$TMPDIR_/out" || status=$?
    cat "$TMPDIR_/out"
    [ "$status" -eq 0 ] || fail "exit $status, expected 0"
    [ "$(grep -c '^placement\.display\..* PASS$' "$TMPDIR_/out")" -ge 60 ] || fail "too few placements on the display"
    [ "$(grep -c '^drawing\..* PASS$' "$TMPDIR_/out")" -ge 20 ] || fail "too few drawing checks"
    ;;
mismatch)
    snapshots=$3 artifacts=$4/$name-mismatch
    rm -rf "$artifacts" && mkdir -p "$artifacts"
    cp -r "$snapshots" "$artifacts/snapshots"
    changed=ShowVellix.arrow.English
    cp "$artifacts/snapshots/ShowVellix.colours.png" "$artifacts/snapshots/$changed.png"
    status=0
    HARNESS_COMPONENT_PATH= "$program" --verify --only "$contract,snapshot.*" --snapshots "$artifacts/snapshots" \
        >"$artifacts/out.txt" || status=$?
    [ "$status" -eq 1 ] || fail "exit $status, expected 1"
    grep ' FAIL: ' "$artifacts/out.txt" | cut -d' ' -f1 >"$artifacts/failed.txt"
    [ "$(cat "$artifacts/failed.txt")" = "snapshot.$changed" ] || fail "failed: $(cat "$artifacts/failed.txt")"
    grep -q "pixels off (see $changed.new.png, $changed.diff.png)" "$artifacts/out.txt" || fail "no pointer to the images"
    [ -s "$artifacts/snapshots/$changed.new.png" ] && [ -s "$artifacts/snapshots/$changed.diff.png" ] ||
        fail "new and diff images not written"
    ;;
usage)
    # A layout named as a shipped one is refused.
    echo '{"screens": [{"x": 0, "y": 0, "width": 640, "height": 480}]}' >"$TMPDIR_/small.json"
    for args in "--junit x.xml" "--snapshots ." "--update-snapshots" "--verify --update-snapshots" \
                "--list" "--only property.*" "--verify --only no.such*" "--verify --list --only property.*,no.such*" \
                "--component /nonexistent/folder --verify" "--screens x.json" "--verify --screens /nonexistent.json" \
                "--verify --screens $TMPDIR_/small.json"; do
        status=0
        # shellcheck disable=SC2086
        "$program" $args >/dev/null 2>"$TMPDIR_/err" || status=$?
        [ "$status" -eq 2 ] || fail "$args: exit $status, expected 2"
        [[ $args != *no.such* ]] || grep -q "no check matches 'no.such\*'" "$TMPDIR_/err" ||
            fail "$args: the pattern is not named: $(cat "$TMPDIR_/err")"
    done
    # No display at all: listing must not need one.
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --verify --list >"$TMPDIR_/list" 2>"$TMPDIR_/err" ||
        fail "--verify --list: exit $?: $(cat "$TMPDIR_/err")"
    [ ! -s "$TMPDIR_/err" ] || fail "--verify --list wrote to standard error: $(cat "$TMPDIR_/err")"
    [ "$(wc -l <"$TMPDIR_/list")" -ge 60 ] || fail "--verify --list: only $(wc -l <"$TMPDIR_/list") names"
    ! grep -qv '^[A-Za-z0-9_.-]\+$' "$TMPDIR_/list" || fail "unportable name: $(grep -v '^[A-Za-z0-9_.-]\+$' "$TMPDIR_/list")"
    [ "$(sort -u "$TMPDIR_/list" | wc -l)" -eq "$(wc -l <"$TMPDIR_/list")" ] || fail "a name listed twice"
    # An author's layout adds its own placement checks; a broken one is refused.
    echo '{"screens": [{"name": "a", "x": 0, "y": 0, "width": 1024, "height": 768}]}' >"$TMPDIR_/my_desk.json"
    "$program" --verify --list --screens "$TMPDIR_/my_desk.json" --only 'placement.my_desk.*' >"$TMPDIR_/mine"
    [ "$(wc -l <"$TMPDIR_/mine")" -ge 50 ] || fail "--screens: $(wc -l <"$TMPDIR_/mine") checks on the layout"
    "$program" --verify --list --only 'property.*' >"$TMPDIR_/some"
    [ "$(cat "$TMPDIR_/some")" = "$(grep '^property\.' "$TMPDIR_/list")" ] || fail "--only property.* listed $(cat "$TMPDIR_/some")"
    ;;
component)
    component=$3
    out=$(mktemp)
    status=0
    # ButtonsType14 in English is one of the broken component's faults.
    (cd "$(dirname "$component")" && HARNESS_COMPONENT_PATH= "$program" --component "$(basename "$component")" \
        --verify --only ShowVellix.ButtonsType14.English) >"$out" || status=$?
    cat "$out"
    [ "$status" -eq 1 ] || fail "exit $status, expected 1"
    [ "$(wc -l <"$out")" -eq 2 ] && grep -q '^ShowVellix.ButtonsType14.English FAIL: ' "$out" &&
        [ "$(tail -1 "$out")" = "0 passed, 1 failed" ] || fail "expected exactly that one check, failing"
    rm -f "$out"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
