#!/usr/bin/env bash
# desktop_install_test.sh SOURCE_DIR BUILD_DIR
# `make install-files` (what `make install` does once the tree is built)
# and `make uninstall` into a DESTDIR: exactly the listed files appear, the
# desktop entry passes desktop-file-validate and points into the program
# directory, the icons are the sizes they claim, and uninstalling removes
# exactly those files, never the settings or workspaces beside them.
set -uo pipefail
src=$1
build=$2
unset MAKEFLAGS MAKELEVEL MFLAGS
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

run_make() {
    make -s -C "$src" "$@" BUILD="$build" DESTDIR="$stage"
}

# Every file and link below the stage, as paths from its root.
listing() {
    (cd "$stage" && find . \( -type f -o -type l \) | sed 's|^\./|/|' | sort)
}

# Width and height from a PNG's header.
png_size() {
    python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print(*struct.unpack(">II", d[16:24]))' "$1"
}

for prefix in /usr/local "/opt/with space"; do
    echo "== PREFIX=$prefix"
    rm -rf "${stage:?}"/*
    run_make install-files PREFIX="$prefix" >/dev/null || fail "install into $prefix failed"
    expected=$(printf '%s\n' \
        "$prefix/bin/nodrel-tool" \
        "$prefix/share/applications/nodrel.desktop" \
        "$prefix/share/icons/hicolor/128x128/apps/nodrel.png" \
        "$prefix/share/icons/hicolor/256x256/apps/nodrel.png" \
        "$prefix/share/icons/hicolor/48x48/apps/nodrel.png" \
        "$prefix/share/nodrel/nodrel" \
        "$prefix/share/nodrel/nodrel-tool" \
        "$prefix/share/nodrel/update" | sort)
    [ "$(listing)" = "$expected" ] || fail "installed files differ:"$'\n'"$(listing)"

    root="$stage$prefix"
    for p in nodrel update nodrel-tool; do
        [ -x "$root/share/nodrel/$p" ] || fail "$p is not executable"
    done
    [ "$(readlink "$root/bin/nodrel-tool")" = ../share/nodrel/nodrel-tool ] || fail "nodrel-tool link"
    "$root/bin/nodrel-tool" >/dev/null 2>&1
    [ $? -eq 2 ] || fail "the nodrel-tool link does not run the tool"

    entry="$root/share/applications/nodrel.desktop"
    desktop-file-validate "$entry" || fail "desktop-file-validate"
    grep -qx "Path=$prefix/share/nodrel" "$entry" || fail "Path line"
    if [[ $prefix == *" "* ]]; then
        grep -qx "Exec=\"$prefix/share/nodrel/nodrel\"" "$entry" || fail "quoted Exec line"
    else
        grep -qx "Exec=$prefix/share/nodrel/nodrel" "$entry" || fail "Exec line"
    fi
    for line in "StartupWMClass=Nodrel Canvas" "Categories=Office;" "Icon=nodrel" "Name=Nodrel"; do
        grep -qx "$line" "$entry" || fail "no '$line'"
    done
    grep -q '^Name\[zh_CN\]=' "$entry" || fail "no Chinese name"
    grep -q '^Comment=' "$entry" || fail "no comment"
    grep -q '^Comment\[zh_CN\]=' "$entry" || fail "no Chinese comment"
    for s in 48 128 256; do
        [ "$(png_size "$root/share/icons/hicolor/${s}x$s/apps/nodrel.png")" = "$s $s" ] ||
            fail "the ${s}x$s icon has another size"
    done

    # A used installation: settings, a workspace and the updater's backup
    # live in the program directory and survive the uninstall.
    mkdir -p "$root/share/nodrel/workspace/W"
    echo settings >"$root/share/nodrel/config.cfg"
    echo board >"$root/share/nodrel/workspace/W/root.frame"
    run_make uninstall PREFIX="$prefix" >/dev/null || fail "uninstall failed"
    kept=$(printf '%s\n' "$prefix/share/nodrel/config.cfg" \
        "$prefix/share/nodrel/workspace/W/root.frame" | sort)
    [ "$(listing)" = "$kept" ] || fail "after uninstall:"$'\n'"$(listing)"
done

echo "== refusals"
rm -rf "${stage:?}"/*
run_make install-files PREFIX=relative/path >/dev/null 2>&1 && fail "a relative PREFIX was taken"
[ -z "$(listing)" ] || fail "a refused install wrote files"
# Someone else's nodrel-tool in bin/ is never replaced.
mkdir -p "$stage/usr/local/bin"
echo mine >"$stage/usr/local/bin/nodrel-tool"
run_make install-files PREFIX=/usr/local >/dev/null 2>&1 && fail "a foreign nodrel-tool was replaced"
[ "$(cat "$stage/usr/local/bin/nodrel-tool")" = mine ] || fail "the foreign nodrel-tool changed"
[ "$(listing)" = /usr/local/bin/nodrel-tool ] || fail "a refused install wrote files"
run_make uninstall PREFIX=/usr/local >/dev/null || fail "uninstall of nothing failed"
[ "$(cat "$stage/usr/local/bin/nodrel-tool")" = mine ] || fail "uninstall removed a foreign file"

[ $failures -eq 0 ] && echo "all install checks passed"
exit $((failures > 0))
