#!/bin/sh
# Sets up the machine, builds everything and runs every test: first the host
# tests under the sanitizers and the fuzz smoke runs, then everything under Wine.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
sh "$root/tools/setup.sh" || exit 1
sh "$root/tools/build.sh" native || exit 1
(cd "$build/native" && ctest --output-on-failure) || exit 1
sh "$root/tools/build.sh" win32 || exit 1

. "$root/tools/session.sh"
export WINEPREFIX="$build/win32/wineprefix"
trap stop_session EXIT INT TERM
start_xvfb
start_pulse "$build/win32/pulse"
"$root/tools/wine-prefix.sh" || exit 1
cd "$build/win32" && ctest --output-on-failure --timeout 600 ${CTEST_ARGS:-}
