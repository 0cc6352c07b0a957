#!/bin/sh
# Sets up the machine, builds PLAYER.EXE, PIXAMOR.SPI and PIXAMOR.SPH and
# writes the zip a user unpacks: build/dist/player-pixamor-<version>.zip.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
sh "$root/tools/setup.sh" || exit 1
sh "$root/tools/build.sh" win32 package_zip || exit 1
ls "$build"/dist/*.zip
