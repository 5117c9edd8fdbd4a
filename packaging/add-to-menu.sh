#!/bin/sh
# Adds Scribvane to the current user's application menu, launching the program in the folder
# this script lies in (wherever it was unpacked or installed), or takes it out again.
#
#   ./add-to-menu.sh            add the launcher and the icon
#   ./add-to-menu.sh --remove   remove them
#
# Writes only below the user's XDG data folder (${XDG_DATA_HOME:-~/.local/share}): the
# launcher into applications/, the icons into icons/hicolor/. Run it again after moving the
# folder.
set -eu

app_id=com.scribvane.Scribvane
icon_sizes="16x16 32x32 48x48 128x128 256x256"

usage() {
    echo "usage: $0 [--remove]" >&2
    exit 2
}

remove=false
case $# in
0) ;;
1) [ "$1" = "--remove" ] || usage; remove=true ;;
*) usage ;;
esac

if [ -z "${HOME:-}" ] && [ -z "${XDG_DATA_HOME:-}" ]; then
    echo "$0: neither XDG_DATA_HOME nor HOME is set" >&2
    exit 1
fi
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
applications=$data_home/applications
icons=$data_home/icons/hicolor
entry=$applications/$app_id.desktop

# The menu and the icon theme keep caches; refresh them where the tools are installed.
refresh_caches() {
    if command -v update-desktop-database >/dev/null 2>&1; then
        update-desktop-database -q "$applications" || true
    fi
    if command -v gtk-update-icon-cache >/dev/null 2>&1; then
        gtk-update-icon-cache -q -t -f "$icons" || true
    fi
}

if $remove; then
    rm -f "$entry" "$icons/scalable/apps/$app_id.svg"
    for size in $icon_sizes; do
        rm -f "$icons/$size/apps/$app_id.png"
    done
    refresh_caches
    echo "Removed Scribvane from the menu ($entry)."
    exit 0
fi

folder=$(cd "$(dirname "$0")" && pwd -P)
program=$folder/scribvane
if [ ! -x "$program" ]; then
    echo "$0: $program is missing; the launcher needs the wizard beside this script" >&2
    exit 1
fi
case $folder in
*'
'*)
    echo "$0: a launcher cannot name a folder whose name holds a line break: $folder" >&2
    exit 1
    ;;
esac

# A desktop entry's values are strings in which a backslash is written "\\". Exec is parsed
# once more as a command line: the program is quoted, with ", `, $ and \ escaped inside the
# quotes, and a literal % is written "%%" because % starts a field code there.
string_value() {
    printf '%s' "$1" | sed 's/\\/\\\\/g'
}
quoted_argument() {
    printf '"%s"' "$(printf '%s' "$1" | sed -e 's/[\\"`$]/\\&/g' -e 's/%/%%/g')"
}
exec_value=$(string_value "$(quoted_argument "$program")")
tryexec_value=$(string_value "$program")

mkdir -p "$applications" "$icons/scalable/apps"
cp "$folder/share/icons/hicolor/scalable/apps/$app_id.svg" "$icons/scalable/apps/"
for size in $icon_sizes; do
    mkdir -p "$icons/$size/apps"
    cp "$folder/share/icons/hicolor/$size/apps/$app_id.png" "$icons/$size/apps/"
done

# The shipped entry with its command pointed at this folder; written under a temporary name
# and renamed, so the menu never reads half an entry. The values reach awk through the
# environment because awk would read escapes in -v assignments.
EXEC_VALUE=$exec_value TRYEXEC_VALUE=$tryexec_value awk '
    /^Exec=/ { print "Exec=" ENVIRON["EXEC_VALUE"]; next }
    /^TryExec=/ { print "TryExec=" ENVIRON["TRYEXEC_VALUE"]; next }
    { print }
' "$folder/share/applications/$app_id.desktop" >"$entry.part"
mv -f "$entry.part" "$entry"

refresh_caches
echo "Added Scribvane to the menu: $entry starts $program"
