#!/usr/bin/env bash
# Cross-compiles grazefall.scr for Windows with mingw-w64, statically linked.
#   tools/build-windows.sh [x86_64|i686 ...]    (default: both)
# Produces build-win64/grazefall.scr and build-win32/grazefall.scr under the
# source folder (or under GRAZEFALL_WINDOWS_BUILD_ROOT when set).
# GRAZEFALL_WERROR=ON makes warnings errors, as `make test` does.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root=${GRAZEFALL_WINDOWS_BUILD_ROOT:-$source_dir}
jobs=${JOBS:-$(nproc)}

architectures=("$@")
[[ ${#architectures[@]} -eq 0 ]] && architectures=(x86_64 i686)

for arch in "${architectures[@]}"; do
  case "$arch" in
    x86_64) build_dir=$build_root/build-win64 ;;
    i686) build_dir=$build_root/build-win32 ;;
    *)
      echo "build-windows: unknown architecture '$arch' (x86_64, i686)" >&2
      exit 2
      ;;
  esac
  if ! command -v "$arch-w64-mingw32-g++-posix" >/dev/null; then
    echo "build-windows: $arch-w64-mingw32-g++-posix not found; run tools/install-deps.sh windows" >&2
    exit 1
  fi
  generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  cmake -S "$source_dir" -B "$build_dir" "${generator[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchains/mingw-w64-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DGRAZEFALL_WERROR="${GRAZEFALL_WERROR:-OFF}" >/dev/null
  cmake --build "$build_dir" -j "$jobs" --target grazefall_scr
  echo "build-windows: $build_dir/grazefall.scr"
done
