#!/bin/sh
# Configures and builds the Windows programs and tests (with "native", the host
# tests); further arguments name the only targets to build.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
kind="${1:-win32}"
[ $# -gt 0 ] && shift
targets=""
for t in "$@"; do targets="$targets --target $t"; done
case "$kind" in
  native)
    cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$build/native" $targets ;;
  win32)
    cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-i686-mingw.cmake" >/dev/null
    cmake --build "$build/win32" $targets ;;
esac
