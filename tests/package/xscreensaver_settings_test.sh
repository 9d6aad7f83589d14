#!/usr/bin/env bash
# XScreenSaver's own settings program reads the package's grazefall.xml
# without a complaint and shows Grazefall's settings dialog; the screenshot is
# kept beside the package (xscreensaver-settings.png).
#   xscreensaver_settings_test.sh SOURCE_DIR PACKAGE_DIR
set -euo pipefail
source_dir=$(realpath "${1:?usage: $0 SOURCE_DIR PACKAGE_DIR}")
package_dir=$(realpath "${2:?usage: $0 SOURCE_DIR PACKAGE_DIR}")
source "$source_dir/tools/missing-package.sh"
if ! command -v xscreensaver-settings >/dev/null; then
  echo "SKIP: $(missing_tool_reason xscreensaver-settings)"
  exit 77
fi
deb=$(ls "$package_dir"/grazefall_*.deb 2>/dev/null | head -1 || true)
if [[ -z $deb ]]; then
  echo "SKIP: no package in $package_dir (the package.deb test builds it)"
  exit 77
fi
work=$(mktemp -d /tmp/grazefall-xss-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
dpkg -x "$deb" "$work/root"
chmod 755 "$work"
shot="$package_dir/xscreensaver-settings.png"
rm -f "$shot"
status=0
timeout -k 5 200 "$source_dir/tools/screenshot-xscreensaver-settings.sh" "$shot" "$work/root" ||
  status=$?
((status == 0)) || exit "$status"
[[ $(identify -format '%wx%h' "$shot") == 1440x800 ]] || {
  echo "FAIL: the screenshot is not the whole screen" >&2
  exit 1
}
echo "xscreensaver_settings: ok"
