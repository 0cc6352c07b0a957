#!/bin/sh
# Runs PROGRAM ARGS... under Wine in $WINEPREFIX (32-bit, or 64-bit with
# WINEARCH=win64), preparing the prefix on first use. Wine's background processes inherit the stdout and stderr of
# whatever started them, so a pipe (CTest's) would stay open for seconds after
# the program ends: the program writes to a file that is printed afterwards.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-loader.sh"
export WINEDEBUG="${WINEDEBUG:--all}" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# No Mono or Gecko prompt, no menu entries; extra overrides from the caller come after.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

"$here/wine-prefix.sh" || exit 1

out=$(mktemp)
$wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
# Under 64-bit Wine a test host that leaves audio threads behind (Wine's
# DirectMusic keeps its DirectSound mixer and the PulseAudio threads alive)
# now and then dies by SIGSEGV in Wine's own teardown, after main returned.
# A crash in the program's code ends it with code 5 and a backtrace instead,
# so a signal after GoogleTest's verdict that every test passed is Wine's.
if [ $rc -eq 139 ] && grep -q '^\[  PASSED  \]' "$out" && ! grep -q '^\[  FAILED  \]' "$out"; then
  echo "wine-exec.sh: Wine ended the process by SIGSEGV after every test had passed; counted as passed" >&2
  rc=0
fi
rm -f "$out"
exit $rc
