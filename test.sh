#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole suite (the end-to-end tests
# on a private Xvfb display). Also builds the release program and benchmarks,
# so both compilers see the code.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
qbrre_ensure_packages

qbrre_build build -DCMAKE_BUILD_TYPE=Release -DQBRRE_TESTS=ON -DQBRRE_BENCH=ON
CC=clang CXX=clang++ qbrre_build build-test -DCMAKE_BUILD_TYPE=Debug -DQBRRE_SANITIZE=ON -DQBRRE_FUZZ=ON

# A private X display for the tests that need one.
display=99
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
Xvfb ":${display}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
export DISPLAY=":${display}"
# The end-to-end suite fails, rather than skips, when this display does not open.
export QBRRE_REQUIRE_DISPLAY=1

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir build-test --output-on-failure -j "$(nproc)" "$@"
