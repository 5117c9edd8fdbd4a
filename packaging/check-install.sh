#!/usr/bin/env bash
# Installs a built tree into a temporary program folder and checks that the folder is complete
# and runs: the installed scribvane-generate writes the sample letter, the launcher files
# validate, the menu script adds and removes a valid launcher, and cpack writes the archive.
#
#   packaging/check-install.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
app_id=com.scribvane.Scribvane

echo "== Install into a temporary program folder"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/Scribvane
cmake --install "$build" --prefix "$prefix"

failed=0
fail() {
    echo "FAILED: $*" >&2
    failed=1
}
expect_file() {
    [ -f "$prefix/$1" ] || fail "$1 is not in the installed folder"
}

for program in scribvane scribvane-generate scribvane-generate-pictures scribvane-publish \
    add-to-menu.sh; do
    [ -x "$prefix/$program" ] || fail "$program is not an executable in the installed folder"
done
for template in "$build"/bin/Templates/*.tem; do
    expect_file "Templates/$(basename "$template")"
done
compgen -G "$prefix/Templates/*.tem" >/dev/null || fail "Templates/ holds no template"
expect_file config.dat
cmp -s Templates/sample-config.dat "$prefix/config.dat" || fail "config.dat is not the sample"
expect_file "share/icons/hicolor/scalable/apps/$app_id.svg"
for size in 16 32 48 128 256; do
    expect_file "share/icons/hicolor/${size}x${size}/apps/$app_id.png"
done
expect_file "share/applications/$app_id.desktop"
expect_file "share/metainfo/$app_id.metainfo.xml"

# The installed programs must not lean on the build tree.
for program in scribvane scribvane-generate scribvane-generate-pictures; do
    if [ -f "$prefix/$program" ] && readelf -d "$prefix/$program" | grep -q -E 'RPATH|RUNPATH'; then
        fail "$program carries a run path: $(readelf -d "$prefix/$program" | grep -E 'RPATH|RUNPATH')"
    fi
done

echo "== The installed scribvane-generate writes the sample letter"
letter=$work/letter/index.html
mkdir -p "$(dirname "$letter")"
(cd / && "$prefix/scribvane-generate" --config "$prefix/config.dat" --output "$letter")
[ -s "$letter" ] || fail "no letter was written at $letter"

echo "== A second install keeps a saved config.dat"
echo "saved by the user" >"$prefix/config.dat"
cmake --install "$build" --prefix "$prefix" >/dev/null
[ "$(cat "$prefix/config.dat")" = "saved by the user" ] || fail "installing replaced config.dat"

echo "== The launcher files validate"
desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" || fail "metainfo"

echo "== The menu script adds a valid launcher and removes it again"
# A folder name with a space and a quote shows that Exec is quoted as desktop entries need.
moved="$work/Where it's \"unpacked\""
mv "$prefix" "$moved"
data_home=$work/data
entry=$data_home/applications/$app_id.desktop
XDG_DATA_HOME=$data_home "$moved/add-to-menu.sh"
if [ -f "$entry" ]; then
    desktop-file-validate "$entry" || fail "the launcher written by the menu script"
    grep -qxF "TryExec=$moved/scribvane" "$entry" || fail "TryExec does not name $moved/scribvane"
    # Inside the quotes a quote is escaped with a backslash, which a string value doubles.
    expected_exec='Exec="'"$work"'/Where it'"'"'s \\"unpacked\\"/scribvane"'
    grep -qxF "$expected_exec" "$entry" ||
        fail "Exec does not name $moved/scribvane: $(grep '^Exec=' "$entry")"
else
    fail "the menu script wrote no launcher at $entry"
fi
for size in scalable 16x16 32x32 48x48 128x128 256x256; do
    compgen -G "$data_home/icons/hicolor/$size/apps/$app_id.*" >/dev/null ||
        fail "the menu script put no $size icon in place"
done
XDG_DATA_HOME=$data_home "$moved/add-to-menu.sh" --remove
if [ -n "$(find "$data_home" -name "$app_id.*")" ]; then
    fail "--remove left $(find "$data_home" -name "$app_id.*")"
fi

echo "== cpack writes the portable archive"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
archive=Scribvane-$version-Linux-$(uname -m).tar.gz
rm -f "$build/$archive"
(cd "$build" && cpack)
if [ -f "$build/$archive" ]; then
    listing=$(tar -tzf "$build/$archive")
    for file in scribvane scribvane-generate scribvane-generate-pictures add-to-menu.sh config.dat \
        "share/applications/$app_id.desktop"; do
        grep -qxF "${archive%.tar.gz}/$file" <<<"$listing" || fail "$file is not in $archive"
    done
else
    fail "cpack wrote no $build/$archive"
fi

if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "The installed program folder and the archive are complete."
