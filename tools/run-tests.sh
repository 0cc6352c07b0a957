#!/bin/sh
# Sets up the machine, builds everything and runs every test: first the host
# tests under the sanitizers and the fuzz smoke runs, then everything under Wine.
# The programs ship for i686 and their suite runs under 32-bit Wine. Where the
# kernel refuses i386 programs, setup.sh has them emulated, too slowly for the
# whole suite: the suite then runs built for x86_64, and only the tests of what
# differs in 32-bit code (wide names, the plug-in's exports) run for i686.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
sh "$root/tools/setup.sh" || exit 1
sh "$root/tools/build.sh" native || exit 1
(cd "$build/native" && ctest --output-on-failure) || exit 1
sh "$root/tools/build.sh" win32 || exit 1
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  i386=none
elif grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
  i386=emulated
else
  i386=native
fi
plugin64='^(exports_test|plugin_e2e_test|real_image_test|shipped_package_test)$'
lean32='^(exports_test|plugin_e2e_test|player_command_test|droptarget_test|player_process_test)$'
lean32_cases='PluginExports.*:PluginE2e.*:PluginRefusal.*:PlayerCommand.*:*.Wide*'
kind=win32
if [ $i386 != native ]; then
  echo "This host runs 32-bit code $([ $i386 = none ] && echo not at all || echo only emulated): the Windows suite runs built for x86_64."
  kind=win64
  sh "$root/tools/build.sh" win64 || exit 1
fi
# The shipped package's 32-bit player cannot start where no 32-bit code runs.
[ $i386 = none ] && skip='^shipped_package_test$'

. "$root/tools/session.sh"
trap stop_session EXIT INT TERM
start_xvfb
start_pulse "$build/$kind/pulse"
# run_suite KIND CTEST-ARGUMENTS...: the tests of build/KIND in its own prefix,
# whose server ends with them.
run_suite() {
  export WINEPREFIX="$build/$1/wineprefix" WINEARCH=$1
  "$root/tools/wine-prefix.sh" || return 1
  dir="$build/$1"
  shift
  (cd "$dir" && ctest --output-on-failure --timeout 600 "$@")
  suite_status=$?
  wineserver -k >/dev/null 2>&1
  return $suite_status
}
run_suite $kind ${skip:+-E "$skip"} ${CTEST_ARGS:-}
status=$?
# Where the suite ran for i686, the plug-in for 64-bit viewers (PIXAMOR.SPH)
# gets its own lean run under 64-bit Wine, in the win64 prefix, and in the
# shipped package it starts the 32-bit player.
if [ $kind = win32 ]; then
  sh "$root/tools/build.sh" win64 pixamor player exports_test plugin_e2e_test real_image_test plugin_host_probe \
    sample_media dshow_media package_test || exit 1
  run_suite win64 -R "$plugin64" || status=1
elif [ $i386 = emulated ]; then
  GTEST_FILTER="$lean32_cases" run_suite win32 -R "$lean32" || status=1
fi
exit $status
