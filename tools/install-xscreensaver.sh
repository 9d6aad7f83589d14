#!/usr/bin/env bash
# Installs Grazefall as an XScreenSaver hack: the program, its description
# for xscreensaver-settings, and a line in the user's ~/.xscreensaver
# "programs" list so the settings list it.
#   tools/install-xscreensaver.sh [BUILD_DIR] [PREFIX]   install from a build, then list it
#   tools/install-xscreensaver.sh --list-only            only list it (the package is installed)
# XScreenSaver runs only the hacks of the user's programs list, so the listing
# is done per user, as that user.
set -euo pipefail
if [[ ${1:-} != --list-only ]]; then
  build=${1:-build}
  prefix=${2:-/usr}
  run_as_root() {
    if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
  }
  run_as_root cmake --install "$build" --prefix "$prefix"
fi

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
# Add the hack as the first entry of the programs list, keeping whatever
# followed "programs:" on its line.
sed -i '0,/^programs:[[:space:]]*/s//programs:\t\t\\\n\t\t\t\t"Grazefall" grazefall --root\t\t\\n\\\n\t\t\t\t/' "$config"
echo "install-xscreensaver: added grazefall to $config."
