#!/usr/bin/env bash
# Installs the Debian packages that the named groups need; does nothing when all are present. Uses
# sudo when not run as root.
# Usage: scripts/install-deps.sh GROUP...
#   build     compile the program, its man page and the DOS stand-ins for Preview
#   run       what the running program uses: Qt's translations, DOSBox for Preview, the image
#             readers that make a logo of SVG, TIFF and WebP pictures
#   test      the test suite
#   fuzz      the libFuzzer targets (clang)
#   coverage  line coverage (with the test group)
#   bench     the benchmarks
#   package   the Debian package and the checks a packager runs on it
#   format    the layout check of C++ files and .ui forms (clang-format, python3)
#   window    a throwaway desktop (Xvfb, openbox) to check the window as a window manager frames it
#   all       every group
set -euo pipefail

declare -A group=(
    [build]="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev help2man bcc elks-libc"
    [run]="qt6-translations-l10n dosbox libqt6svg6 qt6-image-formats-plugins"
    [test]="libgtest-dev libgmock-dev qt6-base-private-dev dosbox libqt6svg6 attr acl"
    [fuzz]="clang libclang-rt-14-dev"
    [coverage]="gcovr"
    [bench]="libbenchmark-dev libinih-dev"
    [package]="dpkg-dev file appstream desktop-file-utils man-db lintian"
    [format]="clang-format python3"
    [window]="xvfb openbox xdotool x11-utils"
)

names=("$@")
[ ${#names[@]} -eq 0 ] && names=(build)
packages=()
for name in "${names[@]}"; do
    if [ "$name" = all ]; then
        for g in "${!group[@]}"; do
            read -ra list <<<"${group[$g]}"
            packages+=("${list[@]}")
        done
    elif [ -n "${group[$name]+set}" ]; then
        read -ra list <<<"${group[$name]}"
        packages+=("${list[@]}")
    else
        echo "install-deps.sh: no group \"$name\" (build run test fuzz coverage bench package format window all)" >&2
        exit 2
    fi
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
