#!/usr/bin/env bash
# Checks that no source file includes a header from a library above it: every
# quoted include of a subsystem's .h or .cpp names a header of the subsystem
# itself or of one it uses (directly or through the libraries it uses, as the
# USES lists of the folders' CMakeLists.txt say). Prints each upward include
# "FILE: HEADER (LIB may not include from OTHER)" and fails when there is one,
# or when it finds no subsystem. Usage: include_layers.sh SOURCE_ROOT
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 SOURCE_ROOT" >&2; exit 2; }
root=$1
cd "$root"
shopt -s nullglob
# "folder name uses..." for every subsystem folder.
table=$(grep -l 'qbrre_subsystem(' -- */CMakeLists.txt */*/CMakeLists.txt 2>/dev/null |
  grep -v -e '^tests/' -e '^bench/' -e '^fuzz/' | while read -r file; do
    folder=$(dirname "$file")
    tr '\n' ' ' < "$file" | sed -n 's/.*qbrre_subsystem(\([^)]*\)).*/\1/p' |
      awk -v f="$folder" '{ out = f " " $1; uses = 0
        for (i = 2; i <= NF; i++) { if ($i == "USES") { uses = 1; continue } if ($i == "SYSTEM") uses = 0; else if (uses) out = out " " $i }
        print out }'
  done)
[ -n "$table" ] || { echo "no subsystem found under $root" >&2; exit 1; }
{
  printf '%s\n' "$table" | sed 's/^/S /'
  printf '%s\n' "$table" | while read -r folder _; do
    find "$folder" -maxdepth 1 \( -name '*.h' -o -name '*.cpp' \) -print0 |
      xargs -0 -r grep -H -o '^#include "[^"]*"' | sed "s|^|I $folder |"
  done
} | awk '
  $1 == "S" { lib[$2] = $3; for (i = 4; i <= NF; i++) uses[$3] = uses[$3] " " $i; next }
  $1 == "I" {
    file = $3; sub(/:#include$/, "", file)
    header = $4; gsub(/"/, "", header)
    owner = ""; best = ""
    for (f in lib) {  # the longest subsystem folder the header sits in
      if (index(header, f "/") == 1 && length(f) > length(best)) { best = f; owner = lib[f] }
    }
    if (owner == "") next  # not a subsystem header (tests, system)
    incs[++count] = file SUBSEP header SUBSEP lib[$2] SUBSEP owner
  }
  function closure(l,    i, n, u) {  # every library l may use
    if (l in done) return done[l]
    done[l] = " " l " "
    n = split(uses[l], u, " ")
    for (i = 1; i <= n; i++) done[l] = done[l] closure(u[i]) " "
    return done[l]
  }
  END {
    bad = 0
    for (k = 1; k <= count; k++) {
      split(incs[k], q, SUBSEP)
      if (index(closure(q[3]), " " q[4] " ") == 0) { print q[1] ": " q[2] " (" q[3] " may not include from " q[4] ")"; bad = 1 }
    }
    exit bad
  }'
