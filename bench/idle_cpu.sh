#!/usr/bin/env bash
# CPU use of the running editor while it shows a level and nobody touches it.
# Starts `qbrre --demo` on a private Xvfb display, lets it settle, then reads
# the process's user + system time from /proc over the measuring window and
# prints the share of one core. Usage: bench/idle_cpu.sh [QBRRE_BINARY] [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath -m "${1:-$here/build/qbrre}")  # absolute: the program starts in a private folder
seconds=${2:-10}
[ -x "$binary" ] || { echo "no executable at $binary (build first)" >&2; exit 1; }

display=150
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
workdir=$(mktemp -d)
Xvfb ":${display}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  if [ -n "${app:-}" ]; then
    # The program shuts down over its X connection: the display must outlive it,
    # or its exit handlers deadlock and it never ends.
    kill "$app" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$app" 2>/dev/null || true
  fi
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$workdir"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done

# Every box answers itself, so the alpha notice after opening does not wait.
: > "$workdir/answers"
(cd "$workdir" && DISPLAY=":${display}" QBRRE_DIALOG_SCRIPT="$workdir/answers" \
  QBRRE_DIALOG_LOG="$workdir/dialogs.log" exec "$binary" --demo) &
app=$!
sleep 3  # start-up, the demo image and the first level

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$app/stat"; }
start=$(cpu)
sleep "$seconds"
end=$(cpu)
awk -v a="$start" -v b="$end" -v t="$ticks" -v s="$seconds" \
  'BEGIN { printf "idle CPU: %.2f %% of one core over %d s\n", 100 * (b - a) / t / s, s }'
