#!/bin/sh
# The zip as a user gets it: unpacked into a fresh folder of the Wine prefix,
# it holds exactly what a user needs, and package_test runs the player and
# loads the plug-in from there.
# package-test.sh ZIP DATA-FOLDER WINE-PREFIX WINE-RUNNER TEST-PROGRAM BINARIES
set -u
zip=$1 data=$2 prefix=$3 runner=$4 program=$5 binaries=$6
[ -f "$zip" ] || { echo "no package $zip: tools/package.sh writes it"; exit 1; }
folder="$prefix/drive_c/package-test"
rm -rf "$folder" && mkdir -p "$folder" && (cd "$folder" && cmake -E tar xf "$zip") || exit 1

# Everything but the guide's pictures is named here; nothing else may be there.
list=$(mktemp -d)
{ printf '%s\n' $binaries GENRE.TBL LICENSE.txt docs/user-guide.md; (cd "$data" && ls *.BMP 2>/dev/null); } |
  sort >"$list/expected"
(cd "$folder" && find . -type f ! -path './docs/*.png' | sed 's|^\./||' | sort) >"$list/found"
diff -u "$list/expected" "$list/found" >"$list/diff"
status=$?
[ $status -eq 0 ] || { echo "the package does not hold exactly what a user needs (- missing, + not wanted):"; cat "$list/diff"; }
rm -rf "$list"
PACKAGE_FOLDER='C:\package-test\' PACKAGE_BINARIES="$binaries" "$runner" "$program" || status=1
exit $status
