#!/usr/bin/env bash
# desktop-install.sh install BUILD_DIR PREFIX
# desktop-install.sh uninstall PREFIX
#
# Puts Nodrel on a desktop under $DESTDIR$PREFIX, or takes it off again
# (`make install` and `make uninstall` call this):
#   share/nodrel/{nodrel,update,nodrel-tool}   the program directory
#   share/applications/nodrel.desktop          the desktop entry
#   share/icons/hicolor/{48x48,128x128,256x256}/apps/nodrel.png
#   bin/nodrel-tool -> ../share/nodrel/nodrel-tool
# The program directory is also where nodrel keeps config.cfg, table.cfg,
# workspace/ and the updater's files, so uninstalling removes the files
# above and nothing else: a program directory that still holds anything is
# left in place.
set -euo pipefail

usage() {
    echo "usage: desktop-install.sh install BUILD_DIR PREFIX | uninstall PREFIX" >&2
    exit 2
}

action=${1:-}
case $action in
install) [ $# -eq 3 ] || usage; build=$2; prefix=$3 ;;
uninstall) [ $# -eq 2 ] || usage; prefix=$2 ;;
*) usage ;;
esac
case $prefix in
/*) ;;
*) echo "desktop-install: PREFIX must be an absolute path, not '$prefix'" >&2; exit 2 ;;
esac
if [[ $prefix == *$'\n'* ]]; then
    echo "desktop-install: PREFIX must not hold a line break" >&2
    exit 2
fi
prefix=${prefix%/}
root="${DESTDIR:-}$prefix"
program_dir="$prefix/share/nodrel"  # as the installed program sees it
programs=(nodrel update nodrel-tool)
icon_sizes=(48 128 256)
tool_link_target=../share/nodrel/nodrel-tool

# The Exec key's rules: a path with anything but plain characters is put in
# double quotes with ", `, $ and \ escaped, every % is doubled, and the
# value's own escaping then doubles each backslash.
exec_value() {
    local path=$1
    if [[ $path =~ ^[A-Za-z0-9/._+-]+$ ]]; then
        printf '%s' "$path"
        return
    fi
    path=${path//\\/\\\\}
    path=${path//\"/\\\"}
    path=${path//\`/\\\`}
    path=${path//\$/\\\$}
    path=${path//%/%%}
    path="\"$path\""
    printf '%s' "${path//\\/\\\\}"
}

desktop_entry() {
    cat <<EOF
[Desktop Entry]
Type=Application
Version=1.4
Name=Nodrel
Name[zh_CN]=Nodrel 工作台
GenericName=Case board workspace
GenericName[zh_CN]=事件白板工作台
Comment=Collect scattered information as cards on whiteboards, link them and assess them
Comment[zh_CN]=把零散的信息收集成白板上的卡片，关联起来并加以评估
Exec=$(exec_value "$program_dir/nodrel")
Path=${program_dir//\\/\\\\}
Icon=nodrel
Terminal=false
StartupWMClass=Nodrel Canvas
Categories=Office;
EOF
}

# Where the build puts each program and icon.
built_program() {
    case $1 in
    nodrel) echo "$build/app/nodrel" ;;
    update) echo "$build/update/update" ;;
    nodrel-tool) echo "$build/tools/nodrel-tool" ;;
    esac
}
built_icon() {
    echo "$build/skins/icons/nodrel-$1.png"
}

do_install() {
    # Everything is checked before anything is written.
    for p in "${programs[@]}"; do
        [ -x "$(built_program "$p")" ] ||
            { echo "desktop-install: $(built_program "$p") is missing; build first" >&2; exit 1; }
    done
    for s in "${icon_sizes[@]}"; do
        [ -f "$(built_icon "$s")" ] ||
            { echo "desktop-install: $(built_icon "$s") is missing; build first" >&2; exit 1; }
    done
    local link="$root/bin/nodrel-tool"
    if { [ -e "$link" ] || [ -L "$link" ]; } &&
        [ "$(readlink "$link" 2>/dev/null)" != "$tool_link_target" ]; then
        echo "desktop-install: $link exists and is not Nodrel's link; nothing was installed" >&2
        exit 1
    fi

    install -d "$root/share/nodrel"
    for p in "${programs[@]}"; do install -m 755 "$(built_program "$p")" "$root/share/nodrel/$p"; done
    local entry
    entry=$(mktemp)
    desktop_entry >"$entry"
    install -D -m 644 "$entry" "$root/share/applications/nodrel.desktop"
    rm -f "$entry"
    for s in "${icon_sizes[@]}"; do
        install -D -m 644 "$(built_icon "$s")" "$root/share/icons/hicolor/${s}x$s/apps/nodrel.png"
    done
    install -d "$root/bin"
    ln -sfn "$tool_link_target" "$link"
    echo "Installed Nodrel in $root/share/nodrel"
}

do_uninstall() {
    for p in "${programs[@]}"; do rm -f "$root/share/nodrel/$p"; done
    rm -f "$root/share/applications/nodrel.desktop"
    for s in "${icon_sizes[@]}"; do rm -f "$root/share/icons/hicolor/${s}x$s/apps/nodrel.png"; done
    local link="$root/bin/nodrel-tool"
    if [ -L "$link" ] && [ "$(readlink "$link")" = "$tool_link_target" ]; then rm -f "$link"; fi
    if [ -d "$root/share/nodrel" ]; then
        if rmdir "$root/share/nodrel" 2>/dev/null; then
            echo "Removed Nodrel from $root"
        else
            echo "Removed Nodrel from $root; kept $root/share/nodrel, which holds settings or workspaces"
        fi
    fi
}

case $action in
install) do_install ;;
uninstall) do_uninstall ;;
esac
