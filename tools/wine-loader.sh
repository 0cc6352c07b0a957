# Sourced by the launcher: sets $wine to the loader for $WINEARCH (win32 when
# unset). Debian's "wine" script always takes the 32-bit loader when wine32 is
# installed, so a 64-bit prefix names the 64-bit loader itself.
export WINEARCH="${WINEARCH:-win32}"
wine=wine
if [ "$WINEARCH" = win64 ]; then
  wine=/usr/lib/wine/wine64
  export WINELOADER="$wine"
fi
