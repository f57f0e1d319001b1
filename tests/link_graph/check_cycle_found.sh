#!/usr/bin/env bash
# The link graph script must refuse a cycle: over libraries A and B, which call
# each other, and USER, which only calls A, it fails naming exactly A and B;
# without B the graph is a chain and passes.
# Usage: check_cycle_found.sh LINK_GRAPH_SCRIPT A.a B.a USER.a
set -uo pipefail
script=$1 a=$2 b=$3 user=$4
err=$("$script" "$a" "$b" "$user" 2>&1 >/dev/null)
status=$?
[ "$status" -eq 1 ] || { echo "expected exit status 1 for a cycle, got $status" >&2; exit 1; }
expected="cycle among: $(basename "$a" .a) $(basename "$b" .a)"
[ "$err" = "$expected" ] || { echo "expected \"$expected\", got \"$err\"" >&2; exit 1; }
"$script" "$a" "$user" >/dev/null || { echo "a graph without a cycle was refused" >&2; exit 1; }
