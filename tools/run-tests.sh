#!/bin/sh
# Sets up the machine, builds everything and runs every test: first the host
# tests under the sanitizers and the fuzz smoke runs, then everything under Wine.
# The programs ship for i686; on a host that runs no 32-bit code (its kernel
# refuses i386 programs, and so 32-bit Wine) the suite runs built for x86_64.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
sh "$root/tools/setup.sh" || exit 1
sh "$root/tools/build.sh" native || exit 1
(cd "$build/native" && ctest --output-on-failure) || exit 1
sh "$root/tools/build.sh" win32 || exit 1
kind=win32
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "This host runs no 32-bit code: the Windows suite runs built for x86_64."
  kind=win64
  sh "$root/tools/build.sh" win64 || exit 1
fi

. "$root/tools/session.sh"
export WINEPREFIX="$build/$kind/wineprefix" WINEARCH=$kind
trap stop_session EXIT INT TERM
start_xvfb
start_pulse "$build/$kind/pulse"
"$root/tools/wine-prefix.sh" || exit 1
(cd "$build/$kind" && ctest --output-on-failure --timeout 600 ${CTEST_ARGS:-})
status=$?
# Where the suite ran for i686, the plug-in for 64-bit viewers (PIXAMOR.SPH)
# gets its own lean run under 64-bit Wine, in the win64 prefix.
if [ $kind = win32 ]; then
  sh "$root/tools/build.sh" win64 pixamor player exports_test plugin_e2e_test real_image_test plugin_host_probe \
    sample_media dshow_media || exit 1
  export WINEPREFIX="$build/win64/wineprefix" WINEARCH=win64
  "$root/tools/wine-prefix.sh" || exit 1
  (cd "$build/win64" && ctest --output-on-failure --timeout 600 -R '^(exports_test|plugin_e2e_test|real_image_test)$') ||
    status=1
fi
exit $status
