#!/usr/bin/env bash
# Shared set-up for the tests that run grazefall.scr under Wine: a fresh
# 64-bit prefix per test, quiet and without the crash debugger, Direct3D on
# the GDI renderer, and helpers to run programs in it with a time limit.
# Source it; it expects WINE_SCR (the .scr to test) and WINE_WORK (a scratch
# directory of the test's own).
#
# 32-bit programs run through Wine's i386 loader (WINE32), which a kernel
# built without 32-bit support refuses with "Exec format error".
# wine32_missing_reason tells whether this host can run it; setting
# GRAZEFALL_WINE32_MISSING=1 makes it answer as such a host would, so the
# skip can be tested anywhere. A case that cannot run exits with WINE_SKIP,
# the code ctest counts as skipped.

source "$(dirname "${BASH_SOURCE[0]}")/../../../tools/missing-package.sh"
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINE32=${WINE32:-/usr/lib/wine/wine}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
WINE_SKIP=77
[[ -x $WINESERVER ]] || WINESERVER=$(command -v wineserver || true)

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Prints why this host cannot run 32-bit Windows programs and succeeds, or
# prints nothing and fails when it can: the i386 loader must start and print
# its version, which it does without a prefix or a server.
wine32_missing_reason() {
  if [[ -n ${GRAZEFALL_WINE32_MISSING:-} ]]; then
    echo "GRAZEFALL_WINE32_MISSING is set: acting as a host that cannot run 32-bit programs"
    return 0
  fi
  if [[ ! -x $WINE32 ]]; then
    missing_package_reason wine32:i386
    return 0
  fi
  local output status=0
  # Through bash, which names the exec failure where timeout's fallback to
  # sh would report a syntax error.
  output=$(timeout --kill-after=5 30 bash -c 'exec "$0" --version' "$WINE32" 2>&1) || status=$?
  if ((status != 0)) || [[ $output != wine-* ]]; then
    echo "the 32-bit Wine loader $WINE32 does not run here (exit $status: ${output//$'\n'/ })"
    return 0
  fi
  return 1
}

# A new prefix under $WINE_WORK, booted, with the settings the tests need.
wine_fresh_prefix() {
  export WINEPREFIX=$WINE_WORK/prefix
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # A boot has failed once on a loaded host while the same case passed on
  # its reruns; one more boot, after the first one's server has gone, is
  # tried before the case fails, and then with the log's end to go on.
  if ! "$WINE64" wineboot -u >"$WINE_WORK/wineboot.log" 2>&1; then
    "$WINESERVER" -k 2>/dev/null
    "$WINESERVER" -w
    "$WINE64" wineboot -u >>"$WINE_WORK/wineboot.log" 2>&1 ||
      fail "wineboot -u failed twice: $(tail -5 "$WINE_WORK/wineboot.log" | tr '\n' ' ')"
  fi
  "$WINESERVER" -w
  wine_reg_import <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Direct3D]
"renderer"="gdi"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="0"
"Debugger"=""
REG
}

# Imports a .reg text read from standard input.
wine_reg_import() {
  local file=$WINE_WORK/import-$RANDOM.reg
  cat >"$file"
  "$WINE64" regedit /S "$(winepath_of "$file")" >/dev/null 2>&1 || fail "regedit could not import $file"
  "$WINESERVER" -w
}

# The Windows path of a Unix file inside the prefix's Z: drive.
winepath_of() {
  local path
  path=$(readlink -f "$1")
  echo "Z:${path//\//\\}"
}

# Runs a Windows program with a time limit; kills the prefix's processes on
# timeout. Prints nothing; returns the program's exit code (124 on timeout).
wine_run() {
  local limit=$1
  shift
  local status=0
  timeout --kill-after=5 "$limit" "$WINE64" "$@" || status=$?
  if [[ $status -eq 124 || $status -eq 137 ]]; then
    "$WINESERVER" -k || true
    return 124
  fi
  return $status
}

# Starts a Windows program in the background; its pid goes to WINE_PID.
wine_start() {
  "$WINE64" "$@" &
  WINE_PID=$!
}

# Waits up to `limit` seconds for a background program; its exit code, or
# 124 after killing the prefix's processes.
wine_wait() {
  local pid=$1 limit=$2 waited=0
  while kill -0 "$pid" 2>/dev/null; do
    if ((waited >= limit * 10)); then
      "$WINESERVER" -k || true
      wait "$pid" 2>/dev/null || true
      return 124
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  local status=0
  wait "$pid" || status=$?
  return $status
}

# The bytes of a registry value under the program's key as lowercase hex,
# read with `reg query` (empty when the value is missing).
wine_reg_value_hex() {
  local name=$1
  "$WINE64" reg query 'HKCU\Control Panel\Desktop\ScreenSavers\Grazefall' /v "$name" 2>/dev/null |
    tr -d '\r' | awk -v name="$name" '$1 == name && $2 == "REG_BINARY" { print tolower($3) }'
}

# A .reg line setting a binary value from a file of bytes.
reg_binary_line() {
  local name=$1 file=$2
  printf '"%s"=hex:%s\n' "$name" "$(od -An -v -tx1 "$file" | tr -s ' \n' ',' | sed 's/^,//; s/,$//')"
}
