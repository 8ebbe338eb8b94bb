#!/usr/bin/env bash
# A component author's loop outside this tree: installs the build into a
# temporary prefix, builds the template and a file per installed header
# against it with find_package(BalloonHarness), and runs the template's
# CTest, one test per --verify check, all of which must pass.
# Usage: sdk_template.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen HARNESS_COMPONENT_PATH= XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAILED: $*" >&2; exit 1; }
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

cmake --install "$build" --prefix "$work/prefix" >/dev/null

# Every installed header compiles on its own, with Qt alone.
mkdir -p "$work/headers"
cat >"$work/headers/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.22)
project(HeaderCheck LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(BalloonHarness 0.2 REQUIRED)
get_target_property(include_dirs BalloonHarness::component INTERFACE_INCLUDE_DIRECTORIES)
file(GLOB headers RELATIVE "${include_dirs}" "${include_dirs}/component/*.h")
foreach(header IN LISTS headers)
    string(MAKE_C_IDENTIFIER "${header}" name)
    file(WRITE "${CMAKE_BINARY_DIR}/${name}.cpp" "#include \"${header}\"\n")
    list(APPEND sources "${CMAKE_BINARY_DIR}/${name}.cpp")
endforeach()
add_library(headercheck OBJECT ${sources})
target_link_libraries(headercheck PRIVATE BalloonHarness::component)
CMAKE
cmake -S "$work/headers" -B "$work/headers/build" "${generator[@]}" -DCMAKE_PREFIX_PATH="$work/prefix" \
    -DCMAKE_CXX_FLAGS="-Werror -DQT_NO_CAST_FROM_ASCII -DQT_NO_CAST_TO_ASCII" >/dev/null
cmake --build "$work/headers/build" >/dev/null || cmake --build "$work/headers/build" -j1
echo "installed headers compile alone"

# The template, copied from the installed documentation as an author would.
cp -r "$work/prefix/share/doc/balloon-harness/examples/template" "$work/template"
cmake -S "$work/template" -B "$work/template/build" "${generator[@]}" -DCMAKE_PREFIX_PATH="$work/prefix" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-Werror >/dev/null
cmake --build "$work/template/build" >/dev/null
count=$(ctest --test-dir "$work/template/build" -N | sed -n 's/^Total Tests: //p')
[ "${count:-0}" -ge 60 ] || fail "only ${count:-0} tests discovered"
ctest --test-dir "$work/template/build" -j2 --output-on-failure >"$work/ctest.txt" ||
    { cat "$work/ctest.txt"; fail "the template does not pass every check"; }
tail -3 "$work/ctest.txt"

# A test runs exactly its own check.
one=$(ctest --test-dir "$work/template/build" -R '^templatecomponent\.property\.Language$' -V)
[ "$(grep -c ' PASS$' <<<"$one")" -eq 1 ] && grep -q ': 1 passed, 0 failed$' <<<"$one" ||
    { echo "$one"; fail "one test ran other than exactly one check"; }
echo "$count tests, all passed"

# The options: the other program, and snapshots, which add their checks.
mkdir -p "$work/options"
cat >"$work/options/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.22)
project(VerifyOptions LANGUAGES CXX)
find_package(BalloonHarness 0.2 REQUIRED)
add_library(built MODULE IMPORTED)
set_target_properties(built PROPERTIES IMPORTED_LOCATION "$work/template/build/templatecomponent.so")
enable_testing()
balloon_harness_add_verify_tests(built PROGRAM morrowby SNAPSHOTS "$work/options/snapshots" TIMEOUT 40)
CMAKE
mkdir -p "$work/options/snapshots"
cmake -S "$work/options" -B "$work/options/build" "${generator[@]}" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
listed=$(ctest --test-dir "$work/options/build" -N | sed -n 's/^Total Tests: //p')
[ "$listed" -gt "$count" ] || fail "SNAPSHOTS added no checks ($listed tests)"
one=$(ctest --test-dir "$work/options/build" -R '^built\.ShowVellix\.ButtonsType7\.Russian$' -V)
grep -q 'Test command: .*/bin/morrowby.*--snapshots' <<<"$one" && grep -q 'Test timeout computed to be: 40' <<<"$one" && grep -q ': 1 passed, 0 failed$' <<<"$one" ||
    { echo "$one"; fail "PROGRAM, SNAPSHOTS or TIMEOUT not passed on"; }
# A mistyped option is refused when the project is configured.
sed -i 's/PROGRAM morrowby/PROGRAM other/' "$work/options/CMakeLists.txt"
! cmake -S "$work/options" -B "$work/options/build2" "${generator[@]}" -DCMAKE_PREFIX_PATH="$work/prefix" \
    >"$work/options/out.txt" 2>&1 || fail "PROGRAM other accepted"
grep -q "PROGRAM is fennick or morrowby, not other" "$work/options/out.txt" || fail "$(cat "$work/options/out.txt")"
echo "PROGRAM, SNAPSHOTS and TIMEOUT taken; a wrong PROGRAM refused"
