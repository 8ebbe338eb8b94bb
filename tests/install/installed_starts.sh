#!/usr/bin/env bash
# Installs the build two ways, with cmake --install and from the Debian
# package CPack makes, into temporary roots, and starts each installed program
# offscreen to ready with the component found beside it, and makes a
# thumbnail as the installed thumbnailer says. The package must carry stripped
# programs and manual pages and pass lintian without errors.
# Usage: installed_starts.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen HARNESS_COMPONENT_PATH= XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

check_root() {
    local root=$1 prefix=$2
    for file in bin/fennick bin/morrowby lib/balloon-harness/components/vellixballoon.so \
                lib/balloon-harness/modules/agent_audio.so \
                share/applications/fennick.desktop share/applications/morrowby.desktop \
                share/icons/hicolor/32x32/apps/balloon-harness.png \
                share/doc/balloon-harness/copyright share/doc/balloon-harness/changelog.gz \
                share/doc/balloon-harness/docs/screenshots/main-window.png \
                share/doc/balloon-harness/examples/template/CMakeLists.txt \
                share/doc/balloon-harness/examples/template/templatecomponent.cpp \
                include/balloon-harness/component/component.h include/balloon-harness/component/contract.h \
                lib/cmake/BalloonHarness/BalloonHarnessConfig.cmake \
                lib/cmake/BalloonHarness/BalloonHarnessConfigVersion.cmake \
                lib/cmake/BalloonHarness/BalloonHarnessTargets.cmake \
                lib/cmake/BalloonHarness/BalloonHarnessFunctions.cmake \
                lib/cmake/BalloonHarness/BalloonHarnessListChecks.cmake \
                bin/acsview share/applications/acsview.desktop \
                share/icons/hicolor/scalable/apps/acsview.svg share/mime/packages/acsview.xml \
                share/thumbnailers/acsview.thumbnailer share/man/man1/fennick.1.gz \
                share/man/man1/morrowby.1.gz share/man/man1/acsview.1.gz; do
        [ -e "$root$prefix/$file" ] || { echo "missing in the installed tree: $prefix/$file"; exit 1; }
    done
    # Every contract header goes, and nothing from elsewhere in the tree.
    [ "$(ls "$root$prefix/include/balloon-harness/component" | sort)" = "$(cd "$source/component" && ls ./*.h | sed 's|^./||' | sort)" ] ||
        { echo "installed headers differ from component/*.h"; exit 1; }
    [ "$(ls "$root$prefix/include/balloon-harness")" = component ] || { echo "more than component/ installed"; exit 1; }
    for program in fennick morrowby; do
        # Run from elsewhere: the program must find its component relative to itself.
        out=$(cd / && timeout 30 "$root$prefix/bin/$program" --character "" --trace - --quit-when-ready 2>&1) || {
            echo "$program from $root$prefix failed:"; echo "$out"; exit 1; }
        grep -q '"event":"ready"' <<<"$out" || { echo "$program never got ready:"; echo "$out"; exit 1; }
        echo "$program installed under $prefix: ready"
    done
    # The thumbnailer's command line, as a file manager runs it, without a display.
    "$build/bin/agent_write_character" "$work/robby.acs" 2 >/dev/null
    exec=$(sed -n 's/^Exec=//p' "$root$prefix/share/thumbnailers/acsview.thumbnailer")
    exec=${exec//%s/64}; exec=${exec//%i/$work/robby.acs}; exec=${exec//%o/$work/thumb.png}
    rm -f "$work/thumb.png"
    (cd / && PATH="$root$prefix/bin:$PATH" env -u DISPLAY -u QT_QPA_PLATFORM $exec) && [ -s "$work/thumb.png" ] || {
        echo "the thumbnailer made no thumbnail under $prefix"; exit 1; }
    echo "thumbnailer installed under $prefix: works"
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
check_root "$work/prefix" ""

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/*.deb)
dpkg-deb --info "$deb" | grep -E '^ (Package|Depends):'
dpkg-deb -x "$deb" "$work/debroot"
check_root "$work/debroot" /usr
for binary in bin/fennick bin/morrowby bin/acsview lib/balloon-harness/components/vellixballoon.so \
              lib/balloon-harness/modules/agent_audio.so; do
    file "$work/debroot/usr/$binary" | grep -q 'not stripped' && { echo "not stripped: $binary"; exit 1; }
done
# Errors fail; the warnings kept are listed in the README.
lintian --fail-on error "$deb" | tee "$work/lintian.txt"
# Every program has its manual page, and lintian finds nothing to say about them.
if grep -E 'manual-page|manpage' "$work/lintian.txt"; then echo "lintian warns about manual pages"; exit 1; fi
echo "1 passed, 0 failed"
