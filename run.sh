#!/usr/bin/env bash
# Installs what is missing, builds the editor and runs it; arguments are passed on.
# The program runs in this folder, where it finds GameConfig/ and keeps its
# Configuration.INI (its plug-ins are beside it in build/PlugIns/), so relative
# file arguments are made absolute first.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
args=()
after_output=0
for a in "$@"; do
  if [ $after_output -eq 1 ] || { [[ $a != -* ]] && [ -e "$a" ]; }; then
    a=$(realpath -m -- "$a")
  fi
  after_output=0
  [ "$a" = "--output" ] && after_output=1
  args+=("$a")
done
cd "$here"
source scripts/setup.sh
qbrre_ensure_packages
# A first build skips the tests; a build folder made by ./test.sh keeps them.
first=()
[ -f build/CMakeCache.txt ] || first=(-DQBRRE_TESTS=OFF)
qbrre_build build -DCMAKE_BUILD_TYPE=Release "${first[@]}" >&2
exec ./build/qbrre "${args[@]}"
