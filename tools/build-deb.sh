#!/usr/bin/env bash
# Builds the Debian package from a copy of the source tree, so the tree itself
# stays clean, and checks it with lintian.
#   tools/build-deb.sh [OUT_DIR]     (default out/deb)
# Leaves OUT_DIR/grazefall_VERSION_ARCH.deb and the lintian report beside it
# (lintian.txt); fails when the build fails or lintian reports an error.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$source_dir/out/deb}" && cd "${1:-$source_dir/out/deb}" && pwd)
cd "$source_dir"

version=$(dpkg-parsechangelog -l debian/changelog -S Version)
project_version=$(sed -n 's/^project(Grazefall VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if [[ ${version%%-*} != "$project_version" ]]; then
  echo "build-deb: debian/changelog says $version, CMakeLists.txt $project_version" >&2
  exit 1
fi

# The copy always lives at the same path, so ccache finds last time's objects.
work="$out/src"
copy="$work/grazefall-$version"
rm -rf "$work"
mkdir -p "$copy"
# The tracked files and new ones not ignored, as they are now; outside a git
# checkout, everything but the build and output folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [[ -e $file || -L $file ]] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$copy"
else
  tar --exclude='./build*' --exclude=./out --exclude=./.git -cf - . | tar -xf - -C "$copy"
fi

# debhelper gives the build a home of its own: keep the caller's compiler cache.
if command -v ccache >/dev/null; then
  CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
  export CCACHE_DIR
fi
jobs=${JOBS:-$(nproc)}
(cd "$copy" && dpkg-buildpackage -b -us -uc -j"$jobs") >"$work/build.log" 2>&1 || {
  tail -15 "$work/build.log" | cut -c1-300 >&2
  echo "build-deb: dpkg-buildpackage failed; the whole log is $work/build.log" >&2
  exit 1
}

rm -f "$out"/grazefall_*.deb
deb="$out/grazefall_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"
mv "$work/$(basename "$deb")" "$deb"
lintian --info "$deb" >"$out/lintian.txt" 2>&1 || true
cat "$out/lintian.txt"
if grep -q '^E: ' "$out/lintian.txt"; then
  echo "build-deb: lintian reports errors" >&2
  exit 1
fi
echo "build-deb: $deb"
