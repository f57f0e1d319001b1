#!/usr/bin/env bash
# Checks the include check on a small tree of two libraries, where the lower
# one includes a header of the higher one: the script must fail and name that
# include, and only that one (the higher library's includes point down).
# Usage: check_upward_include_found.sh INCLUDE_SCRIPT FIXTURE_ROOT
set -uo pipefail
output=$("$1" "$2")
status=$?
printf '%s\n' "$output"
[ "$status" -ne 0 ] || { echo "the upward include was not reported" >&2; exit 1; }
[ "$output" = "low/low.h: high/high.h (low may not include from high)" ] ||
  { echo "expected exactly the one upward include of low/low.h" >&2; exit 1; }
