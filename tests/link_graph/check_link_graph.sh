#!/usr/bin/env bash
# Checks the link graph of the build's static libraries: every subsystem
# library named after the build folder must be there, scripts/link_graph.sh
# must read at least one edge from them (nm saw their symbols) and find no
# cycle. Usage: check_link_graph.sh LINK_GRAPH_SCRIPT BUILD_DIR SUBSYSTEM_LIBRARY...
set -uo pipefail
script=$1
build=$2
shift 2
[ $# -gt 0 ] || { echo "no subsystem libraries given" >&2; exit 1; }
for lib in "$@"; do
  [ -f "$lib" ] || { echo "missing library: $lib" >&2; exit 1; }
done
mapfile -t found < <(find "$build" -name 'libqbrre_*.a' | sort)
[ "${#found[@]}" -ge $# ] || { echo "found ${#found[@]} libraries in $build, expected at least $#" >&2; exit 1; }
edges=$("$script" "${found[@]}")
status=$?
printf '%s\n' "$edges"
[ "$status" -eq 0 ] || exit 1
[ -n "$edges" ] || { echo "no edge found: nm read no symbols from the libraries" >&2; exit 1; }
