#!/usr/bin/env bash
# Installs Grazefall as an XScreenSaver hack: the program, its description
# for xscreensaver-settings, and a line in the user's ~/.xscreensaver
# "programs" list so the settings list it.
#   tools/install-xscreensaver.sh [BUILD_DIR] [PREFIX]
set -euo pipefail
build=${1:-build}
prefix=${2:-/usr}
run_as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}
run_as_root cmake --install "$build" --prefix "$prefix"

config="$HOME/.xscreensaver"
if [[ ! -f "$config" ]]; then
  echo "install-xscreensaver: no $config yet; open xscreensaver-settings once, then run this again." >&2
  exit 0
fi
if grep -q 'grazefall' "$config"; then
  echo "install-xscreensaver: $config already lists grazefall."
  exit 0
fi
# Add the hack as the first entry of the programs list.
sed -i '0,/^programs:.*$/s//programs:\t\t\t\t\t\t\t      \\\n\t\t\t\tgrazefall --root\t\t\t    \\n\\/' "$config"
echo "install-xscreensaver: added grazefall to $config."
