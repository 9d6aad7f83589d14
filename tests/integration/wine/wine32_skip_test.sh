#!/usr/bin/env bash
# A host that cannot run 32-bit programs: each 32-bit case exits 77 (skipped)
# at once and says why, before it needs a Wine prefix, a screen or the .scr.
# Usage: wine32_skip_test.sh PATH_TO_WINE_TESTS_SH
set -uo pipefail

wine_tests=${1:?usage: wine32_skip_test.sh PATH_TO_WINE_TESTS_SH}
WINE_BUILD_ROOT=$(mktemp -d)
export WINE_BUILD_ROOT
trap 'rm -rf "$WINE_BUILD_ROOT"' EXIT

failed=0
for case_name in saver configuration preview; do
  status=0
  output=$(GRAZEFALL_WINE32_MISSING=1 WINE_SCR_BUILD=win32 \
    timeout --kill-after=5 60 "$wine_tests" "$case_name" 2>&1) || status=$?
  if ((status != 77)); then
    echo "FAIL: $case_name (32-bit) exited $status, not 77: $output" >&2
    failed=1
  elif [[ $output != *"SKIP: $case_name (32-bit): "*GRAZEFALL_WINE32_MISSING* ]]; then
    echo "FAIL: $case_name (32-bit) skipped without saying why: $output" >&2
    failed=1
  fi
done
((failed == 0)) && echo "wine32 skip: the three 32-bit cases skip with a reason"
exit "$failed"
