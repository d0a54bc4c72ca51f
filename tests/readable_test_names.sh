#!/usr/bin/env bash
# Every parameterised test suite names its cases itself. GoogleTest's own names are numbers,
# and the test runner then names the cases by the bytes of their parameters, which differ from
# run to run: no one can tell what failed, nor ask for it again by name.
# Usage: readable_test_names.sh TEST_EXECUTABLE...
set -euo pipefail
status=0
for exe in "$@"; do
  suite=""
  while IFS= read -r line; do
    if [[ "$line" != " "* ]]; then
      suite="${line%%  #*}"
      if [[ "$suite" =~ /[0-9]+\.$ ]]; then
        echo "$(basename "$exe"): ${suite} has no readable name"
        status=1
      fi
      continue
    fi
    name="${line#  }"
    name="${name%%  #*}"
    if [[ "$name" =~ /[0-9]+$ ]]; then
      echo "$(basename "$exe"): ${suite}${name} has no readable name"
      status=1
    fi
  done < <("$exe" --gtest_list_tests)
done
exit "$status"
