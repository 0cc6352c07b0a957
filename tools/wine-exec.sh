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
rm -f "$out"
exit $rc
