#!/bin/sh
# Makes $WINEPREFIX ready and keeps one persistent wineserver for it that was
# started on the current display. Safe to run from several processes at once.
set -u
. "$(dirname "$0")/wine-loader.sh"
export WINEDEBUG="${WINEDEBUG:--all}"
mkdir -p "$WINEPREFIX"
# The lock's descriptor is closed for every command below: a wineserver
# that inherited it would hold the lock for as long as it runs.
exec 9>"$WINEPREFIX.lock"
flock 9
display="${DISPLAY:-}|${XAUTHORITY:-}"
if [ -f "$WINEPREFIX/.display" ] && [ "$(cat "$WINEPREFIX/.display")" != "$display" ]; then
  # A Wine session keeps the display it started with; windows fail otherwise.
  wineserver -k 2>/dev/null 9>&-
  wineserver -w 2>/dev/null 9>&-
fi
echo "$display" >"$WINEPREFIX/.display"
# Debian's wineserver quits when the last program exits; keep it for the run.
wineserver -p30 >/dev/null 2>&1 9>&-
if [ ! -f "$WINEPREFIX/.ready" ]; then
  WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" $wine wineboot -i >/dev/null 2>&1 9>&- </dev/null || exit 1
  # Dialog texts use this face; Debian's IPA font has the glyphs.
  WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" $wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
    /v 'ＭＳ Ｐゴシック' /t REG_SZ /d 'IPAPGothic' /f >/dev/null 2>&1 9>&- </dev/null
  touch "$WINEPREFIX/.ready"
fi
if [ ! -f "$WINEPREFIX/.ready-crash" ]; then
  # A crash prints a backtrace and ends the program (exit code 5) instead of
  # opening the crash dialog, which would wait for a click until the timeout.
  WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" $wine reg add 'HKCU\Software\Wine\WineDbg' \
    /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 9>&- </dev/null
  touch "$WINEPREFIX/.ready-crash"
fi
