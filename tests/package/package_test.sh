#!/usr/bin/env bash
# Builds the Debian package, then unpacks it into a scratch root and checks
# what a person gets: lintian has no error, the program runs from usr/bin,
# XScreenSaver's hack link reaches it, the menu entry and the software-centre
# description validate, every icon size is there, the manual page renders
# without warnings, and the installed program's Help finds the installed page.
#   package_test.sh SOURCE_DIR PACKAGE_DIR
set -euo pipefail
source_dir=$(realpath "${1:?usage: $0 SOURCE_DIR PACKAGE_DIR}")
package_dir=${2:?usage: $0 SOURCE_DIR PACKAGE_DIR}

source "$source_dir/tools/missing-package.sh"
for tool in dpkg-buildpackage dh lintian fakeroot desktop-file-validate appstreamcli man \
  identify; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $(missing_tool_reason "$tool")"
    exit 77
  fi
done
if ! (cd "$source_dir" && dpkg-checkbuilddeps) 2>/dev/null; then
  echo "SKIP: the build dependencies are missing: $(cd "$source_dir" && dpkg-checkbuilddeps 2>&1)"
  exit 77
fi

work=$(mktemp -d /tmp/grazefall-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
  local what=$1
  shift
  if "$@" >"$work/check.out" 2>&1; then
    echo "ok: $what"
  else
    echo "FAIL: $what" >&2
    sed 's/^/    /' "$work/check.out" >&2
    failures=$((failures + 1))
  fi
}

rm -f "$package_dir"/grazefall_*.deb
JOBS=${JOBS:-2} "$source_dir/tools/build-deb.sh" "$package_dir" >"$work/build.out" 2>&1 || {
  cat "$work/build.out" >&2
  echo "FAIL: the package did not build" >&2
  exit 1
}
deb=$(ls "$package_dir"/grazefall_*.deb)
echo "built $deb"
check "lintian reports no error" bash -c "! grep '^E: ' '$package_dir/lintian.txt'"
sed 's/^/    lintian: /' "$package_dir/lintian.txt"

root="$work/root"
dpkg -x "$deb" "$root"
program="$root/usr/bin/grazefall"
version=$(dpkg-deb -f "$deb" Version)
check "the program runs from usr/bin and has the package's version" \
  bash -c "[[ \$('$program' --version) == 'grazefall ${version%%-*}' ]]"
check "the hack link reaches the program" \
  bash -c "[[ -L '$root/usr/libexec/xscreensaver/grazefall' &&
              \$(realpath '$root/usr/libexec/xscreensaver/grazefall') == \$(realpath '$program') ]]"
# Without a display the program refuses with 255; a script that found no
# program would end with 127.
check "xsecurelock's saver starts the unpacked program" \
  bash -c "env -u DISPLAY -u WAYLAND_DISPLAY -u XSCREENSAVER_WINDOW \
    '$root/usr/libexec/grazefall/xsecurelock-saver' </dev/null >/dev/null 2>&1; [[ \$? -eq 255 ]]"
check "XScreenSaver's description of the hack is there" \
  grep -q '<screensaver name="grazefall"' "$root/usr/share/xscreensaver/config/grazefall.xml"

desktop="$root/usr/share/applications/org.example.Grazefall.desktop"
check "the menu entry validates" desktop-file-validate "$desktop"
check "the menu entry opens the settings" grep -qx 'Exec=grazefall /c' "$desktop"
check "the software-centre description validates" \
  appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.Grazefall.metainfo.xml"
check "the description names the menu entry" \
  grep -q '<launchable type="desktop-id">org.example.Grazefall.desktop</launchable>' \
  "$root/usr/share/metainfo/org.example.Grazefall.metainfo.xml"
for size in 16 32 48 256; do
  check "a ${size}x$size icon" bash -c "[[ \$(identify -format '%wx%h' \
    '$root/usr/share/icons/hicolor/${size}x$size/apps/grazefall.png') == ${size}x$size ]]"
done

page=$(ls "$root"/usr/share/man/man6/grazefall.6*)
check "the manual page renders without warnings" bash -c \
  "MANWIDTH=80 man --warnings -l '$page' >'$work/man.txt' 2>'$work/man.err' && ! [[ -s '$work/man.err' ]] || { cat '$work/man.err'; false; }"
for section in NAME SYNOPSIS MODES 'SCREEN LOCKERS' 'RUN-TIME OPTIONS' TOOLS FILES ENVIRONMENT \
  'EXIT STATUS' 'SEE ALSO'; do
  check "the manual page has $section" grep -qx "$section" "$work/man.txt"
done
for flag in -root -window-id -window -fps --render --trace --ask --print-options --scenario \
  --herd-size --cow-size --falling-speed --heading --wind-power --wind-direction \
  --constant-wind --explode --tears --messages --intro --pyramid --wrap --background \
  --background-mode; do
  check "the manual page tells of $flag" grep -q -- "$flag\b" "$work/man.txt"
done

# The installed program finds the installed help page, not the source tree's,
# even with a source tree named in the environment.
check "the installed program's Help finds the installed page" bash -c \
  "[[ \$(GRAZEFALL_SOURCE_DIR='$source_dir' '$program' --help-page) == \$(realpath '$root/usr/share/grazefall/grazefall.html') ]]"

if ((failures > 0)); then
  echo "$failures checks failed" >&2
  exit 1
fi
echo "package: every check passed"
