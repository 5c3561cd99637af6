#!/usr/bin/env bash
# installcheck.sh BUILD_DIR BINDIR DATADIR FILE_VERSION: installs the build into a scratch
# prefix and checks that a desktop finds the program there: the files, the program's version
# note, and the desktop entry and metainfo as their validators judge them.
set -euo pipefail
build=$1 bindir=$2 datadir=$3 version=$4
id=io.github.orvinto.Orvinto

for tool in desktop-file-validate appstreamcli readelf; do
    command -v "$tool" >/dev/null ||
        { echo "$tool is missing: scripts/test installs it (scripts/deps desktop-file-utils appstream)"; exit 1; }
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root" >/dev/null

expected=$(printf '%s\n' "$bindir/orvinto" "$datadir/applications/$id.desktop" \
    "$datadir/metainfo/$id.metainfo.xml" | sort)
installed=$(cd "$root" && find . -type f -printf '%P\n' | sort)
[ "$installed" = "$expected" ] ||
    { printf 'installed files differ:\n%s\nexpected:\n%s\n' "$installed" "$expected"; exit 1; }

[ -x "$root/$bindir/orvinto" ] || { echo "$bindir/orvinto is not executable"; exit 1; }
if [ -n "$version" ]; then
    readelf -n "$root/$bindir/orvinto" | grep -qF "\"version\":\"$version\"" ||
        { echo "the installed program lacks its version note"; exit 1; }
fi

# The menu entry must start the program that was installed, from the Utility menu.
entry=$root/$datadir/applications/$id.desktop
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ "$exec_name" = orvinto ] || { echo "the desktop entry runs '$exec_name'"; exit 1; }
grep -Eq '^Categories=(.*;)?Utility;' "$entry" || { echo "the desktop entry is not in Utility"; exit 1; }

desktop-file-validate "$entry"
appstreamcli validate --no-net --strict "$root/$datadir/metainfo/$id.metainfo.xml"
# The metainfo's launchable must name a desktop entry that the tree holds.
appstreamcli validate-tree --no-net --strict "$root"
echo "installed tree is complete and valid"
