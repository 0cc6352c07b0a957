#!/bin/sh
# Configures and builds the Windows programs (and, with "native", the host tests).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
case "${1:-win32}" in
  native)
    cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$build/native" ;;
  win32)
    cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-i686-mingw.cmake" >/dev/null
    cmake --build "$build/win32" ;;
esac
