#!/bin/sh
# Configures and builds the Windows programs and tests for i686 ("win32") or
# x86_64 ("win64"), or with "native" the host tests; further arguments name
# the only targets to build.
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
  win32|win64)
    toolchain=i686
    [ "$kind" = win64 ] && toolchain=x86_64
    cmake -S "$root" -B "$build/$kind" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-$toolchain-mingw.cmake" >/dev/null
    cmake --build "$build/$kind" $targets ;;
esac
