#!/usr/bin/env bash
# Installs the Debian packages a task needs, and only those that are missing.
#   tools/install-deps.sh build|run|test|package|fuzz|windows ...
# Runs apt-get as root, or through sudo for another user.
set -euo pipefail

declare -A groups=(
  [build]="cmake g++ make ninja-build pkg-config python3 zlib1g-dev libgif-dev libsdl2-dev libx11-dev libdbus-1-dev libwayland-dev libsdl2-ttf-dev libfontconfig-dev qt6-base-dev qt6-qpa-plugins fonts-dejavu-core fonts-liberation"
  [run]="xdg-utils"
  [test]="libgtest-dev libgmock-dev libbenchmark-dev libpng-dev xvfb xauth xdotool xscreensaver x11-utils x11-xserver-utils xterm imagemagick procps util-linux dbus-daemon sway grim wtype weston xsecurelock strace"
  [package]="dpkg-dev debhelper fakeroot lintian desktop-file-utils appstream man-db ccache"
  [fuzz]="clang libclang-rt-dev"
  [windows]="mingw-w64 libz-mingw-w64-dev wine64 wine32:i386"
)

wanted=()
for group in "$@"; do
  if [[ -z "${groups[$group]+x}" ]]; then
    echo "install-deps: unknown group '$group' (build, run, test, package, fuzz, windows)" >&2
    exit 2
  fi
  for package in ${groups[$group]}; do wanted+=("$package"); done
done

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "install-deps: installing ${missing[*]}"
run_as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}
export DEBIAN_FRONTEND=noninteractive
# Wine runs 32-bit Windows programs with its i386 half.
for package in "${missing[@]}"; do
  if [[ $package == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    run_as_root dpkg --add-architecture i386
  fi
done
run_as_root apt-get update -qq
run_as_root apt-get install -y -qq "${missing[@]}" >/dev/null
