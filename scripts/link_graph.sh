#!/usr/bin/env bash
# Prints the link graph of the project's static libraries, one edge "A -> B"
# a line, where an object of library A needs a symbol that library B defines,
# and fails (exit 1, naming the cycle's libraries) when the graph has a cycle.
# Usage: link_graph.sh LIBRARY.a...
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 LIBRARY.a..." >&2; exit 2; }
graph=$(mktemp)
trap 'rm -f "$graph"' EXIT
for lib in "$@"; do
  name=$(basename "$lib" .a)
  name=${name#libqbrre_}
  # Defined (global, weak) and undefined symbols of every object in the library.
  nm -g --defined-only "$lib" 2>/dev/null | awk -v n="$name" 'NF >= 3 && $2 ~ /[TDBRVWSGiu]/ { print "D", n, $3 }'
  nm -g --undefined-only "$lib" 2>/dev/null | awk -v n="$name" 'NF >= 2 { print "U", n, $NF }'
done | awk '
  $1 == "D" { if (!($3 in def)) def[$3] = $2; else if (index(" " def[$3] " ", " " $2 " ") == 0) def[$3] = def[$3] " " $2; next }
  { need[$2 SUBSEP $3] = 1 }
  END {
    for (k in need) {
      split(k, p, SUBSEP)
      if (!(p[2] in def)) continue
      n = split(def[p[2]], owners, " ")
      for (i = 1; i <= n; i++) if (owners[i] != p[1]) edge[p[1] " -> " owners[i]] = 1
    }
    for (e in edge) print e
  }' | sort > "$graph"
cat "$graph"
left=$(awk '{ print $1; print $3 }' "$graph" | sort -u)
edges=$(cat "$graph")
# Kahn, from both ends: repeatedly drop the libraries that need nothing left
# (sinks) or that nothing left needs (sources), with their edges; what stays is
# in a cycle (or runs from one cycle to another).
while [ -n "$left" ]; do
  ends=""
  for n in $left; do
    if ! printf '%s\n' "$edges" | awk -v n="$n" '$1 == n || $3 == n { if ($1 == n) o = 1; if ($3 == n) i = 1 }
        END { exit !(o && i) }'; then ends="$ends $n"; fi
  done
  [ -z "$ends" ] && break
  for s in $ends; do
    left=$(printf '%s\n' $left | grep -vx "$s" || true)
    edges=$(printf '%s\n' "$edges" | awk -v s="$s" '$1 != s && $3 != s' || true)
  done
done
if [ -n "$left" ]; then
  echo "cycle among:" $left >&2
  exit 1
fi
