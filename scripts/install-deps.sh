#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12. Idempotent.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config dpkg-dev file
    ccache                            # rebuilds of a fresh clone
    qt6-base-dev fonts-dejavu-core
    help2man                          # the manual pages, from each program's --help
    shared-mime-info                  # the character file type's test
    fonts-dejavu-extra                # the window font, DejaVu Sans Condensed
    clang-format lintian              # CI's format check; the package test
    qt6-multimedia-dev                # character sounds (audio output)
    flite1-dev                        # the character's speech (synthesis with phone times)
    pulseaudio pulseaudio-utils       # the speech benchmark's headless sound server
    libxcb1-dev                       # the balloon asks X11 whether a compositor runs
    clang libclang-rt-14-dev          # the decoder's fuzz target
    libbenchmark-dev hyperfine time   # benchmarks
    xvfb xauth x11-utils xdotool imagemagick dbus at-spi2-core python3-pyatspi
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
