#!/usr/bin/env bash
# tools/install-deps.sh against a sick mirror, without a network: stub
# apt-get, dpkg-query and dpkg come first on PATH and act out one case each.
#   install_deps_test.sh SOURCE_DIR
set -uo pipefail
source_dir=$(realpath "${1:?usage: $0 SOURCE_DIR}")
work=$(mktemp -d /tmp/grazefall-install-deps.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $case_name: $*" >&2
  echo "--- its output:" >&2
  sed 's/^/    /' "$stub/output" >&2
  failures=$((failures + 1))
}

# The stubs keep their state in $STUB: installed (one package a line),
# update-failures (how many more updates fail), refused (packages apt will
# not install, each with its reason), arches and calls (every apt-get call).
make_stubs() {
  mkdir -p "$stub/bin"
  cat >"$stub/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STUB/calls"
if [[ $1 == update ]]; then
  left=$(cat "$STUB/update-failures" 2>/dev/null || echo 0)
  if ((left > 0)); then
    echo $((left - 1)) >"$STUB/update-failures"
    echo "E: Failed to fetch http://mirror.test/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
  fi
  exit 0
fi
shift
packages=()
for word in "$@"; do [[ $word == -* ]] || packages+=("$word"); done
for package in "${packages[@]}"; do
  if grep -q "^$package " "$STUB/refused" 2>/dev/null; then
    echo "The following packages have unmet dependencies:"
    echo " $package : Depends: $(grep "^$package " "$STUB/refused" | cut -d' ' -f2-)"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
  fi
done
printf '%s\n' "${packages[@]}" >>"$STUB/installed"
STUB
  cat >"$stub/bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
package=${*: -1}
grep -qx -- "$package" "$STUB/installed" 2>/dev/null || exit 1
printf 'install ok installed'
STUB
  cat >"$stub/bin/dpkg" <<'STUB'
#!/usr/bin/env bash
case $1 in
  --print-foreign-architectures) cat "$STUB/arches" 2>/dev/null ;;
  --add-architecture) echo "$2" >>"$STUB/arches" ;;
esac
STUB
  printf '#!/usr/bin/env bash\nexec "$@"\n' >"$stub/bin/sudo"
  chmod +x "$stub/bin/"*
}

# Runs the installer for the groups given; its exit code goes to status.
run_installer() {
  status=0
  STUB=$stub PATH="$stub/bin:$PATH" GRAZEFALL_DEPS_STATE=$stub/state \
    INSTALL_DEPS_RETRY_PAUSE=0 INSTALL_DEPS_UPDATE_TRIES=3 \
    bash "$source_dir/tools/install-deps.sh" "$@" >"$stub/output" 2>&1 || status=$?
}

new_case() {
  case_name=$1
  stub=$work/$case_name
  mkdir -p "$stub"
  make_stubs
}

installed() { grep -qx -- "$1" "$stub/installed" 2>/dev/null; }
said() { grep -qF -- "$1" "$stub/output"; }

# --- Every update fails: three tries, a warning naming the list, and the
# packages are installed all the same.
new_case updates_keep_failing
echo 99 >"$stub/update-failures"
run_installer windows
((status == 0)) || fail "exit $status, not 0"
(($(grep -c '^apt-get update' "$stub/calls") == 3)) || fail "update was not tried three times"
said "warning: apt-get update failed 3 times" || fail "no warning about the update"
said "http://mirror.test/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz" ||
  fail "the list that failed is not named"
for package in mingw-w64 libz-mingw-w64-dev wine64 wine32:i386; do
  installed "$package" || fail "$package was not installed"
done

# --- An update that fails once is tried again and says no more.
new_case update_heals
echo 1 >"$stub/update-failures"
run_installer windows
((status == 0)) || fail "exit $status, not 0"
(($(grep -c '^apt-get update' "$stub/calls") == 2)) || fail "update was not tried again once"
said "warning:" && fail "a healed update still warns"

# --- One optional package refused: the rest is installed, the refusal is
# named with apt's reason and what it turns off, and the tests can say why.
new_case optional_refused
echo "wine32:i386 libwine:i386 (= 8.0~repack-4) but it is not going to be installed" >"$stub/refused"
run_installer windows
((status == 0)) || fail "exit $status, not 0"
for package in mingw-w64 libz-mingw-w64-dev wine64; do
  installed "$package" || fail "$package was not installed"
done
installed wine32:i386 && fail "the refused package shows as installed"
grep -qx i386 "$stub/arches" || fail "the i386 architecture was not added"
said "optional package wine32:i386 could not be installed:" || fail "the refusal is not named"
said "libwine:i386 (= 8.0~repack-4) but it is not going to be installed" || fail "apt's reason is not given"
said "this turns off the 32-bit Windows program's tests under Wine" || fail "what it turns off is not said"
reason=$(GRAZEFALL_DEPS_STATE=$stub/state bash -c \
  'source "$1/tools/missing-package.sh"; missing_package_reason wine32:i386' _ "$source_dir")
[[ $reason == "wine32 could not be installed: "*"held broken packages"* ]] ||
  fail "the tests' skip reason is '$reason'"
# Once the mirror heals, the next run installs it and forgets the reason.
: >"$stub/refused"
run_installer windows
((status == 0)) && installed wine32:i386 || fail "a healed mirror did not install wine32:i386"
[[ -e $stub/state/unavailable/wine32:i386 ]] && fail "the old reason was kept"

# --- One required package refused: every other package is still installed,
# the missing one is named, and the exit is 1.
new_case required_refused
echo "mingw-w64 gcc-mingw-w64-x86-64 (= 12.2.0-14+25.2) but it is not going to be installed" >"$stub/refused"
run_installer windows
((status == 1)) || fail "exit $status, not 1"
for package in libz-mingw-w64-dev wine64 wine32:i386; do
  installed "$package" || fail "$package was not installed"
done
said "missing required packages: mingw-w64" || fail "the missing required package is not named"
said "gcc-mingw-w64-x86-64 (= 12.2.0-14+25.2)" || fail "apt's reason is not given"

# --- Nothing missing: no apt-get at all.
new_case nothing_missing
printf '%s\n' mingw-w64 libz-mingw-w64-dev wine64 wine32:i386 >"$stub/installed"
run_installer windows
((status == 0)) || fail "exit $status, not 0"
[[ -s $stub/calls ]] && fail "apt-get ran with nothing missing"

# --- A group that does not exist.
new_case unknown_group
run_installer nonsense
((status == 2)) || fail "exit $status, not 2"
said "unknown group 'nonsense'" || fail "the bad group is not named"

((failures == 0)) && echo "install-deps: 6 cases passed"
exit $((failures > 0))
