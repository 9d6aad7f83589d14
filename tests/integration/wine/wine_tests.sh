#!/usr/bin/env bash
# The Windows program under Wine, one case per call:
#   wine_tests.sh build          cross-compiles both .scr files and the driver
#   wine_tests.sh saver          /s with a stored Classic record: saucer, pyramid, key ends it
#   wine_tests.sh configuration  /c, a driven OK: "Options" equals the Linux bytes
#   wine_tests.sh thumbs         /c: every slider's thumb stands at its value in every scenario
#   wine_tests.sh edits_ok       /c, every page edited with clicks and keys, OK: the Linux bytes
#   wine_tests.sh edits_cancel   the same edits, Cancel: the store as it was
#   wine_tests.sh edits_fail     the same edits, OK on a key that refuses writes: a message,
#                                the sheet stays, the store as it was; OK again saves
#   wine_tests.sh registry       the registry store's own checks, in a fresh prefix (skips,
#                                with the reason, where Wine or mingw-w64 is missing)
#   wine_tests.sh preview        /p HWND: the preview child fills the window, ends with it
#   wine_tests.sh password       Windows 98 mode: /a reaches the password-change service
#   wine_tests.sh crash          an access violation in /s ends it through its guard, exit -1
# Environment: SOURCE_DIR, WINE_BUILD_ROOT (where the build case puts its
# output), OPTIONS_TOOL (the Linux options tool), WINE_SCR_BUILD (win64, the
# default, or win32: which of the two .scr files the cases run). The display
# cases run under their own Xvfb screen. On a host that cannot run 32-bit
# programs (see wine_env.sh; GRAZEFALL_WINE32_MISSING=1 acts as one) the
# win32 cases print why and exit 77, which ctest counts as skipped; the build
# case still builds both .scr files.
set -euo pipefail

case_name=${1:?case}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
SOURCE_DIR=${SOURCE_DIR:-$(cd "$here/../../.." && pwd)}
WINE_BUILD_ROOT=${WINE_BUILD_ROOT:?WINE_BUILD_ROOT}
WINE_SCR=$WINE_BUILD_ROOT/build-${WINE_SCR_BUILD:-win64}/grazefall.scr
DRIVER=$WINE_BUILD_ROOT/wine_driver.exe
export WINE_WORK=$WINE_BUILD_ROOT/work-$case_name${WINE_SCR_BUILD:+-$WINE_SCR_BUILD}
rm -rf "$WINE_WORK"
mkdir -p "$WINE_WORK"

# shellcheck source=wine_env.sh
source "$here/wine_env.sh"

if [[ $case_name != build && ! -x $WINE64 ]]; then
  echo "SKIP: $case_name: $(missing_package_reason wine64)"
  exit "$WINE_SKIP"
fi
if [[ $case_name != build && ${WINE_SCR_BUILD:-win64} == win32 ]]; then
  if reason=$(wine32_missing_reason); then
    echo "SKIP: $case_name (32-bit): $reason"
    exit "$WINE_SKIP"
  fi
fi

# Reruns this case inside a fresh 800 x 600 x 24 X screen.
with_screen() {
  if [[ -z ${GRAZEFALL_IN_XVFB:-} ]]; then
    GRAZEFALL_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" "$0" "$case_name"
  fi
}

hex_of_file() { od -An -v -tx1 "$1" | tr -d ' \n'; }

# Seeds the prefix's registry with a first-run store written by the Linux
# options tool: Classic active at 800 x 600 x 16. The first argument may
# replace fields of the active record ("fallSpeed=-4 conspiracyMessages=0");
# a background path as the second is stored with its picture centred.
seed_registry() {
  local seed=$WINE_WORK/seed
  mkdir -p "$seed"
  "${OPTIONS_TOOL:?OPTIONS_TOOL}" seed "$seed" ${2:+"$2"} || fail "options_tool seed failed"
  if [[ -n ${1:-} ]]; then
    python3 - "$seed/Options" $1 <<'PY' || fail "could not set the fields $1"
import struct, sys
OFFSETS = {"conspiracyMessages": 12, "fallSpeed": 288}
path = sys.argv[1]
record = bytearray(open(path, "rb").read())
for setting in sys.argv[2:]:
    name, value = setting.split("=")
    struct.pack_into("<i", record, OFFSETS[name], int(value))
open(path, "wb").write(record)
PY
  fi
  {
    echo "REGEDIT4"
    echo
    echo "[HKEY_CURRENT_USER\\Control Panel\\Desktop\\ScreenSavers\\Grazefall]"
    for name in Options Classic Invasion Halloween Custom; do
      reg_binary_line "$name" "$seed/$name"
    done
  } | wine_reg_import
  [[ $(wine_reg_value_hex Options) == "$(hex_of_file "$seed/Options")" ]] ||
    fail "the seeded Options value does not read back"
}

case_build() {
  GRAZEFALL_WINDOWS_BUILD_ROOT=$WINE_BUILD_ROOT JOBS=${JOBS:-2} \
    "$SOURCE_DIR/tools/build-windows.sh" x86_64 i686
  for scr in "$WINE_BUILD_ROOT/build-win64/grazefall.scr" "$WINE_BUILD_ROOT/build-win32/grazefall.scr"; do
    [[ -s $scr ]] || fail "$scr was not built"
  done
  file "$WINE_BUILD_ROOT/build-win64/grazefall.scr" | grep -q 'PE32+ executable (GUI) x86-64' ||
    fail "the 64-bit .scr is not a 64-bit Windows GUI program"
  file "$WINE_BUILD_ROOT/build-win32/grazefall.scr" | grep -q 'PE32 executable (GUI) Intel 80386' ||
    fail "the 32-bit .scr is not a 32-bit Windows GUI program"
  # Statically linked: nothing but system DLLs is imported.
  local imports
  imports=$(x86_64-w64-mingw32-objdump -p "$WINE_SCR" | awk '/DLL Name/ { print tolower($3) }')
  if grep -E 'libstdc|libgcc|libwinpthread' <<<"$imports"; then
    fail "the .scr depends on MinGW runtime DLLs"
  fi
  x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -Wall -Wextra -Werror -static -I"$SOURCE_DIR" \
    "$here/wine_driver.cpp" "$here/sheet_hands.cpp" "$here/sheet_runs.cpp" -o "$DRIVER" \
    -lcomctl32 -lgdi32 -luser32 -ladvapi32
  echo "built: $(ls "$WINE_BUILD_ROOT"/build-win*/grazefall.scr | tr '\n' ' ')"
}

# Screenshots of the root window into `dir`, one every quarter second, each
# renamed to its number once whole, while `pid` runs; it waits while `limit`
# of them are still unread.
take_screenshots() {
  local dir=$1 pid=$2 limit=$3 taken=0
  while kill -0 "$pid" 2>/dev/null; do
    if (($(find "$dir" -name '*.ppm' | wc -l) < limit)) &&
      import -window root "$dir/next.tmp.ppm" 2>/dev/null; then
      mv "$dir/next.tmp.ppm" "$dir/$(printf '%05d' "$taken").ppm"
      taken=$((taken + 1))
    fi
    sleep 0.25
  done
}

case_saver() {
  with_screen
  wine_fresh_prefix
  # Each frame sleeps 50 ms more than at full speed, so the pyramid stays
  # whole on the screen for seconds. Without the messages nothing random
  # is drawn over it: a white line of text beside a cow joins it into one
  # patch too large for a cow, and the line's black box cuts cows apart.
  seed_registry "fallSpeed=-4 conspiracyMessages=0"
  wine_start "$WINE_SCR" /s
  local saver=$WINE_PID deadline=$((SECONDS + 150)) saucer=no pyramid=no found=1
  sleep 3
  # The screenshots are taken apart from their reading, so that a loaded
  # host reads them late but takes them as often.
  local shots=$WINE_WORK/shots
  mkdir -p "$shots"
  take_screenshots "$shots" "$saver" 60 &
  local taker=$!
  while ((SECONDS < deadline)); do
    kill -0 "$saver" 2>/dev/null || fail "the saver ended before it was told to"
    # All the shots taken so far, read by one run of the checker, oldest first.
    local batch=()
    mapfile -t batch < <(find "$shots" -name '[0-9]*.ppm' | sort)
    ((${#batch[@]} > 0)) || { sleep 0.2 && continue; }
    python3 "$here/screen_check.py" "$SOURCE_DIR/resources/bitmaps/121-saucer.bmp" "${batch[@]}" |
      tee -a "$WINE_WORK/screen_check.log" >"$WINE_WORK/last_check.log" || true
    grep -q ': saucer (' "$WINE_WORK/last_check.log" && saucer=yes
    grep -q 'pyramid rows \[' "$WINE_WORK/last_check.log" && pyramid=yes
    rm -f "${batch[@]}"
    if [[ $saucer == yes && $pyramid == yes ]]; then
      found=0
      break
    fi
  done
  kill "$taker" 2>/dev/null || true
  wait "$taker" 2>/dev/null || true
  grep -E 'saucer \(|pyramid rows \[' "$WINE_WORK/screen_check.log" || true
  # Wine's key events reach the saver window even without a window manager.
  xdotool key --clearmodifiers space
  local status=0
  wine_wait "$saver" 20 || status=$?
  "$WINESERVER" -k || true
  ((found == 0)) || fail "the saucer and the pyramid were not both on the screen"
  ((status == 0)) || fail "a key press ended the saver with exit code $status (124: it never ended)"
  echo "saver: saucer and pyramid seen, a key ended it with exit code 0"
}

case_configuration() {
  with_screen
  wine_fresh_prefix
  seed_registry
  local invasion_banner=126 invasion_selected=1028
  wine_start "$WINE_SCR" /c
  local sheet=$WINE_PID
  local driven=0
  wine_run 60 "$DRIVER" sheet-ok "$invasion_banner" "$invasion_selected" || driven=$?
  local status=0
  wine_wait "$sheet" 20 || status=$?
  "$WINESERVER" -w
  ((driven == 0)) || fail "driving the sheet failed ($driven)"
  # The configuration mode always ends with -1 once the sheet has closed.
  ((status == 255)) || fail "/c ended with exit code $status, not -1"

  local windows_hex linux_hex
  windows_hex=$(wine_reg_value_hex Options)
  [[ ${#windows_hex} -eq 704 ]] || fail "Options holds $((${#windows_hex} / 2)) bytes, not 352"
  local linux_store=$WINE_WORK/linux-store
  mkdir -p "$linux_store"
  cp "$WINE_WORK/seed/"* "$linux_store/"
  "$OPTIONS_TOOL" click-ok "$linux_store" "$invasion_banner" || fail "options_tool click-ok failed"
  linux_hex=$(hex_of_file "$linux_store/Options")
  [[ $windows_hex == "$linux_hex" ]] ||
    fail "Options differs from the Linux store's bytes:
 windows $windows_hex
 linux   $linux_hex"
  [[ $windows_hex != "$(hex_of_file "$WINE_WORK/seed/Options")" ]] ||
    fail "OK wrote back the seeded record unchanged: the scenario choice was lost"
  echo "configuration: OK wrote 352 bytes equal to the Linux store's"
}

# Chooses every scenario in turn and checks each slider's thumb against its
# value (TBM_GETPOS, TBM_GETTHUMBRECT, TBM_GETCHANNELRECT); keeps a
# screenshot of the Herd page, Classic's falling speed 0 in the middle.
case_thumbs() {
  with_screen
  wine_fresh_prefix
  seed_registry
  wine_start "$WINE_SCR" /c
  local sheet=$WINE_PID driven=0 pressed=0 status=0
  wine_run 120 "$DRIVER" sheet-thumbs || driven=$?
  import -window root "$WINE_WORK/herd-page.png" 2>/dev/null || true
  if [[ -n ${GRAZEFALL_WINE_SHOTS:-} && -s $WINE_WORK/herd-page.png ]]; then
    mkdir -p "$GRAZEFALL_WINE_SHOTS"
    cp "$WINE_WORK/herd-page.png" "$GRAZEFALL_WINE_SHOTS/"
  fi
  ((driven == 124)) || wine_run 60 "$DRIVER" sheet-press cancel || pressed=$?
  wine_wait "$sheet" 20 || status=$?
  "$WINESERVER" -k || true
  ((driven == 0)) || fail "a slider's thumb did not stand at its value ($driven)"
  ((pressed == 0 && status == 255)) || fail "Cancel did not close the sheet ($pressed, $status)"
  echo "thumbs: every thumb stood at its value in every scenario; see $WINE_WORK/herd-page.png"
}

# Every stored value as "name hex" lines.
store_hex() {
  local name
  for name in Options Classic Invasion Halloween Custom; do
    echo "$name $(wine_reg_value_hex "$name")"
  done
}

# Runs the driven edits with an ending (ok, cancel, fail) on a store whose
# background folder holds two pictures, the first one stored; leaves the
# driver's lines in $WINE_WORK/edits.log and the store before the run in
# $WINE_WORK/store-before.
run_sheet_edits() {
  with_screen
  wine_fresh_prefix
  local pictures=$WINE_WORK/pictures
  mkdir -p "$pictures"
  cp "$SOURCE_DIR/resources/bitmaps/121-saucer.bmp" "$pictures/a.bmp"
  cp "$SOURCE_DIR/resources/bitmaps/118-large-cow.bmp" "$pictures/b.bmp"
  PICTURE_FOLDER="$(winepath_of "$pictures")\\"
  seed_registry "" "${PICTURE_FOLDER}a.bmp"
  store_hex >"$WINE_WORK/store-before"
  wine_start "$WINE_SCR" /c
  local sheet=$WINE_PID driven=0 status=0
  # The driver's lines end in CR LF, as a Windows program's do.
  wine_run 360 "$DRIVER" sheet-edits "$1" >"$WINE_WORK/edits.crlf" || driven=$?
  tr -d '\r' <"$WINE_WORK/edits.crlf" >"$WINE_WORK/edits.log"
  cat "$WINE_WORK/edits.log"
  wine_wait "$sheet" 20 || status=$?
  "$WINESERVER" -w
  ((driven == 0)) || fail "driving the sheet failed ($driven)"
  ((status == 255)) || fail "/c ended with exit code $status, not -1"
}

# The store must hold what the page logic stores for the same edits, made on
# Linux with the resolution the driver picked; the cow must have given the
# same answer to the typed question.
expect_linux_store() {
  local mode linux_store=$WINE_WORK/linux-store
  mode=$(sed -n 's/^mode //p' "$WINE_WORK/edits.log")
  [[ -n $mode ]] || fail "the driver picked no resolution"
  mkdir -p "$linux_store"
  cp "$WINE_WORK/seed/"* "$linux_store/"
  "$OPTIONS_TOOL" edit-ok "$linux_store" "$mode" "$PICTURE_FOLDER" a.bmp b.bmp \
    >"$WINE_WORK/linux.log" || fail "options_tool edit-ok failed"
  local name windows_hex linux_hex
  for name in Options Classic Invasion Halloween Custom; do
    windows_hex=$(wine_reg_value_hex "$name")
    linux_hex=$(hex_of_file "$linux_store/$name")
    [[ $windows_hex == "$linux_hex" ]] || fail "$name differs from the Linux store's bytes:
 windows $windows_hex
 linux   $linux_hex"
  done
  [[ $(grep '^answer ' "$WINE_WORK/edits.log") == "$(grep '^answer ' "$WINE_WORK/linux.log")" ]] ||
    fail "the cow's answers differ: $(grep '^answer ' "$WINE_WORK/edits.log") / $(grep '^answer ' "$WINE_WORK/linux.log")"
  [[ $(store_hex) != "$(cat "$WINE_WORK/store-before")" ]] || fail "OK stored nothing new"
}

case_edits_ok() {
  run_sheet_edits ok
  expect_linux_store
  echo "edits_ok: the five stored values equal the Linux store's after the same edits"
}

case_edits_cancel() {
  run_sheet_edits cancel
  diff "$WINE_WORK/store-before" <(store_hex) || fail "Cancel changed the store"
  echo "edits_cancel: the store is byte-identical to before"
}

case_edits_fail() {
  run_sheet_edits fail
  grep -q '^message ' "$WINE_WORK/edits.log" || fail "the driver saw no message"
  expect_linux_store
  echo "edits_fail: the refused save kept the store and the sheet; OK again stored the Linux bytes"
}

case_registry() {
  if [[ ! -x $WINE64 ]]; then
    echo "SKIP: registry: Wine is not installed ($WINE64 is missing)"
    exit "$WINE_SKIP"
  fi
  if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    echo "SKIP: registry: mingw-w64 (x86_64-w64-mingw32-g++-posix) is not installed"
    exit "$WINE_SKIP"
  fi
  local test_exe=$WINE_WORK/registry_store_test.exe
  x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -Wall -Wextra -Werror -static -I"$SOURCE_DIR" \
    "$here/registry_store_test.cpp" "$SOURCE_DIR/platform/win32/registry_settings_store.cpp" \
    -o "$test_exe" -ladvapi32 || fail "the registry store test did not build"
  wine_fresh_prefix
  local status=0
  wine_run 120 "$test_exe" || status=$?
  "$WINESERVER" -k || true
  ((status == 0)) || fail "the registry store test failed ($status)"
  echo "registry: value names, short, long and missing values, and locked keys behave"
}

case_preview() {
  with_screen
  wine_fresh_prefix
  seed_registry
  wine_run 60 "$DRIVER" preview "$(winepath_of "$WINE_SCR")" || fail "the preview check failed"
  "$WINESERVER" -k || true
  echo "preview: the child window filled its parent and ended with it"
}

case_password() {
  with_screen
  wine_fresh_prefix
  # Not the Windows 95 family: the password-change mode does nothing.
  local status=0
  wine_run 30 "$WINE_SCR" /a 0 || status=$?
  ((status == 255)) || fail "/a outside Windows 98 mode ended with $status, not -1"

  wine_reg_import <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine]
"Version"="win98"
REG
  # Wine's MPR logs the call it received on its "fixme" channel.
  status=0
  WINEDEBUG=-all,fixme+mpr wine_run 30 "$WINE_SCR" /a 0 2>"$WINE_WORK/a.log" || status=$?
  "$WINESERVER" -k || true
  cat "$WINE_WORK/a.log"
  ((status == 0)) || fail "/a in Windows 98 mode ended with $status, not 0"
  grep -q 'PwdChangePasswordA.*SCRSAVE' "$WINE_WORK/a.log" ||
    fail "PwdChangePasswordA was not called for the SCRSAVE provider"
  echo "password: Windows 98 mode called PwdChangePasswordA for SCRSAVE"
}

case_crash() {
  with_screen
  wine_fresh_prefix
  seed_registry
  wine_run 60 "$DRIVER" crash "$(winepath_of "$WINE_SCR")" || fail "the crash check failed"
  "$WINESERVER" -k || true
  echo "crash: the saver's guard ended it with exit code -1"
}

case "$case_name" in
  build) case_build ;;
  saver) case_saver ;;
  configuration) case_configuration ;;
  thumbs) case_thumbs ;;
  edits_ok) case_edits_ok ;;
  edits_cancel) case_edits_cancel ;;
  edits_fail) case_edits_fail ;;
  registry) case_registry ;;
  preview) case_preview ;;
  password) case_password ;;
  crash) case_crash ;;
  *) fail "unknown case $case_name" ;;
esac
