#!/usr/bin/env bash
# Why a program or package a test needs is not here, for the test's skip
# message. Source it. tools/install-deps.sh keeps apt's reason for each
# package it could not install under $GRAZEFALL_DEPS_STATE/unavailable/
# (default .deps/ in the source folder).
#   missing_package_reason PACKAGE   "NAME could not be installed: REASON"
#                                    when the installer recorded a refusal
#                                    (NAME without its :arch), else "NAME is
#                                    not installed (...)"
#   missing_tool_reason TOOL         the same for the package that brings TOOL

declare -A GRAZEFALL_TOOL_PACKAGE=(
  [sway]=sway [swaymsg]=sway [grim]=grim [wtype]=wtype [weston]=weston
  [xscreensaver]=xscreensaver [xscreensaver-command]=xscreensaver
  [xscreensaver-settings]=xscreensaver
  [dpkg-buildpackage]=dpkg-dev [dpkg-checkbuilddeps]=dpkg-dev [dh]=debhelper
  [fakeroot]=fakeroot [lintian]=lintian [desktop-file-validate]=desktop-file-utils
  [appstreamcli]=appstream [man]=man-db
  [convert]=imagemagick [identify]=imagemagick [import]=imagemagick
  [xdotool]=xdotool [xterm]=xterm [Xvfb]=xvfb [xvfb-run]=xvfb
  [xsecurelock]=xsecurelock [strace]=strace
  [wine64]=wine64 [/usr/lib/wine/wine64]=wine64 [/usr/lib/wine/wine]=wine32:i386
)

missing_package_reason() {
  local package=$1
  local state=${GRAZEFALL_DEPS_STATE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/.deps}
  local file=$state/unavailable/$package
  if [[ -s $file ]]; then
    echo "${package%%:*} could not be installed: $(head -c 600 "$file" | tr '\n' ' ' | sed 's/ *$//')"
  else
    echo "${package%%:*} is not installed (tools/install-deps.sh installs it)"
  fi
}

missing_tool_reason() {
  local tool=$1
  local package=${GRAZEFALL_TOOL_PACKAGE[$tool]:-}
  if [[ -n $package ]]; then
    missing_package_reason "$package"
  else
    echo "$tool is not installed"
  fi
}
