# Shared set-up of run.sh and test.sh: the Debian packages the build, the
# program and the tests need, installed when missing.
# shellcheck shell=bash

QBRRE_PACKAGES=(
  cmake g++ make pkg-config ninja-build
  liballegro4-dev libx11-dev libxext-dev libpng-dev zlib1g-dev
  libgme-dev libsdl2-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev llvm
  xvfb xdotool x11-utils x11-apps imagemagick zenity
  git ccache desktop-file-utils man-db groff-base
  dpkg-dev file lintian appstream shared-mime-info
)

# Installs the missing packages with apt-get when running as root; otherwise
# prints the one command that would install them and fails.
qbrre_ensure_packages() {
  local missing=()
  local p
  for p in "${QBRRE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "Missing packages. Run:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    return 1
  fi
}

# Configures and builds the tree in build directory $1 with the extra CMake
# arguments that follow (settings not given keep their cached values).
qbrre_build() {
  local dir=$1
  shift
  local launcher=()
  # The compiler cache makes rebuilds cheap, of this checkout and of any other:
  # paths are hashed relative to the checkout, so the install test's clean clone
  # finds the Release compilations made here. The build does not depend on it.
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
  # The tests use a precompiled header; the cache stores what uses one only when told that the
  # header's macros and time stamps need not be compared.
  CCACHE_BASEDIR="$PWD" CCACHE_SLOPPINESS=pch_defines,time_macros cmake --build "$dir" -j "$(nproc)"
}
