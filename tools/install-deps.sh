#!/usr/bin/env bash
# Installs the Debian packages a task needs, and only those that are missing.
#   tools/install-deps.sh build|run|test|package|fuzz|windows ...
# Runs apt-get as root, or through sudo for another user.
#
# A package mirror is not always whole: an index can be mid-sync, a foreign
# architecture's lists can lag, one package can be uninstallable for days. So:
# - `apt-get update` is tried a few times; lists that still fail are named in
#   a warning and the install goes on with what apt has.
# - The required packages are installed in one call (one at a time if that
#   call is refused, to name the ones that cannot be had).
# - Each optional package is installed on its own, so that one that cannot be
#   had blocks nothing else. What could not be installed is printed with apt's
#   reason and what it turns off, and the reason is kept under
#   $GRAZEFALL_DEPS_STATE/unavailable/ (default .deps/ in the source folder),
#   where the tests it serves read it to say why they skip
#   (tools/missing-package.sh).
# Exits 0 when every required package is there (whatever the optional ones
# did), 1 naming the required packages that are missing, 2 on a bad call.
set -uo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
state_dir=${GRAZEFALL_DEPS_STATE:-$source_dir/.deps}
update_tries=${INSTALL_DEPS_UPDATE_TRIES:-3}
retry_pause=${INSTALL_DEPS_RETRY_PAUSE:-10}

declare -A required=(
  [build]="cmake g++ make ninja-build pkg-config python3 zlib1g-dev libgif-dev libsdl2-dev libx11-dev libxext-dev libxrender-dev libdbus-1-dev libwayland-dev libxkbcommon-dev libsdl2-ttf-dev libfontconfig-dev qt6-base-dev qt6-qpa-plugins fonts-dejavu-core fonts-liberation"
  [run]=""
  [test]="libgtest-dev libgmock-dev libbenchmark-dev libpng-dev xvfb xauth xdotool x11-utils x11-xserver-utils xterm imagemagick procps util-linux dbus-daemon"
  [package]="dpkg-dev debhelper fakeroot"
  [fuzz]="clang libclang-rt-dev"
  [windows]="mingw-w64 libz-mingw-w64-dev"
)
declare -A optional=(
  [build]=""
  [run]="xdg-utils"
  [test]="xscreensaver sway grim wtype weston xsecurelock strace xserver-xorg-core xserver-xorg-video-dummy xscreensaver-data"
  [package]="lintian desktop-file-utils appstream man-db ccache"
  [fuzz]=""
  [windows]="wine64 wine32:i386"
)
# What each optional package serves, for the message when it cannot be had.
declare -A serves=(
  [xdg-utils]="the settings dialog's Help opening a browser"
  [xscreensaver]="the XScreenSaver tests (integration.xscreensaver, package.xscreensaver_settings) and the CPU bench's comparison hacks"
  [sway]="the Wayland tests (integration.wayland_*, integration.compositor_loss)"
  [grim]="the Wayland tests (integration.wayland_*, integration.compositor_loss)"
  [wtype]="the Wayland tests (integration.wayland_*, integration.compositor_loss)"
  [weston]="the Wayland test without a seat (integration.wayland_without_seat)"
  [xserver-xorg-core]="the two-monitor test on Xorg (integration.dual_monitor)"
  [xserver-xorg-video-dummy]="the two-monitor test on Xorg (integration.dual_monitor)"
  [xscreensaver-data]="the CPU bench's comparison hacks (bench/cpu.sh)"
  [xsecurelock]="the xsecurelock test (integration.xsecurelock)"
  [strace]="the xsecurelock test (integration.xsecurelock), which reads the saver's exit through it"
  [lintian]="the Debian package test (package.deb)"
  [desktop-file-utils]="the Debian package test (package.deb)"
  [appstream]="the Debian package test (package.deb)"
  [man-db]="the Debian package test (package.deb)"
  [ccache]="nothing: package builds are just not cached"
  [wine64]="the Windows program's tests under Wine (label wine)"
  [wine32:i386]="the 32-bit Windows program's tests under Wine (wine.*_32bit)"
)

say() { echo "install-deps: $*"; }
warn() { echo "install-deps: $*" >&2; }

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

run_as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

# apt's own words for a refusal: its error lines and the unmet dependencies,
# on one line.
apt_reason() {
  grep -E '^E: |(Pre)?Depends:|Conflicts:|Breaks:|has no installation candidate|Unable to locate' "$1" |
    sed -E 's/^ +//' | awk 'NF && !seen[$0]++' | head -6 | paste -sd ' ' - | cut -c1-600
}

remember_unavailable() {
  mkdir -p "$state_dir/unavailable"
  printf '%s\n' "$2" >"$state_dir/unavailable/$1"
}

forget_unavailable() {
  rm -f "$state_dir/unavailable/$1"
}

# --- which packages are wanted and missing ---
wanted_required=()
wanted_optional=()
for group in "$@"; do
  if [[ -z "${required[$group]+x}" ]]; then
    warn "unknown group '$group' (build, run, test, package, fuzz, windows)"
    exit 2
  fi
  for package in ${required[$group]}; do wanted_required+=("$package"); done
  for package in ${optional[$group]}; do wanted_optional+=("$package"); done
done

missing_required=()
missing_optional=()
for package in ${wanted_required[@]+"${wanted_required[@]}"}; do
  if installed "$package"; then forget_unavailable "$package"; else missing_required+=("$package"); fi
done
for package in ${wanted_optional[@]+"${wanted_optional[@]}"}; do
  if installed "$package"; then forget_unavailable "$package"; else missing_optional+=("$package"); fi
done
((${#missing_required[@]} + ${#missing_optional[@]} == 0)) && exit 0

say "installing ${missing_required[*]+${missing_required[*]} }${missing_optional[*]+${missing_optional[*]}}"
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Wine runs 32-bit Windows programs with its i386 half.
for package in ${missing_required[@]+"${missing_required[@]}"} ${missing_optional[@]+"${missing_optional[@]}"}; do
  if [[ $package == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    run_as_root dpkg --add-architecture i386
  fi
done

# --- the package lists ---
for ((try = 1; ; try++)); do
  if run_as_root apt-get update -qq >"$log" 2>&1; then
    break
  fi
  if ((try >= update_tries)); then
    failed_lists=$(grep -oE '^(E|W): Failed to fetch [^ ]+' "$log" | awk '{print $5}' | sort -u)
    warn "warning: apt-get update failed $try times; going on, the packages may still be installable."
    if [[ -n $failed_lists ]]; then
      warn "  lists that could not be updated:"
      sed 's/^/    /' <<<"$failed_lists" >&2
    else
      warn "  apt said: $(apt_reason "$log")"
    fi
    break
  fi
  warn "apt-get update failed (try $try of $update_tries); trying again in ${retry_pause} s"
  sleep "$retry_pause"
done

# --- the required packages: one call, or one by one to find the refused ---
unavailable_required=()
if ((${#missing_required[@]} > 0)); then
  if ! run_as_root apt-get install -y -qq "${missing_required[@]}" >"$log" 2>&1; then
    warn "installing the required packages together was refused; trying them one by one"
    for package in "${missing_required[@]}"; do
      installed "$package" && continue
      if ! run_as_root apt-get install -y -qq "$package" >"$log" 2>&1; then
        reason=$(apt_reason "$log")
        unavailable_required+=("$package")
        remember_unavailable "$package" "${reason:-apt-get install failed}"
        warn "required package $package could not be installed: ${reason:-apt-get install failed}"
      fi
    done
  fi
  for package in "${missing_required[@]}"; do
    installed "$package" && forget_unavailable "$package"
  done
fi

# --- the optional packages, each on its own ---
unavailable_optional=()
for package in ${missing_optional[@]+"${missing_optional[@]}"}; do
  if run_as_root apt-get install -y -qq "$package" >"$log" 2>&1 && installed "$package"; then
    forget_unavailable "$package"
    continue
  fi
  reason=$(apt_reason "$log")
  reason=${reason:-apt-get install failed}
  unavailable_optional+=("$package")
  remember_unavailable "$package" "$reason"
  warn "optional package $package could not be installed: $reason"
  warn "  this turns off ${serves[$package]:-the tests that use it}"
done

if ((${#unavailable_optional[@]} > 0)); then
  warn "going on without ${unavailable_optional[*]}; the tests they serve skip and say why"
fi
if ((${#unavailable_required[@]} > 0)); then
  warn "missing required packages: ${unavailable_required[*]}"
  exit 1
fi
exit 0
