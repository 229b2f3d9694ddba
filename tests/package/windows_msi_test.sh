#!/bin/sh
# SPDX-License-Identifier: MIT
# The Windows installer, made from the build tree by scripts/stage-windows,
# installed with msiexec under Wine: an older version first, then this
# build over it, then a second build of the same version over that; each
# replaces the one before, and the older one cannot come back over them.
# The installed program runs from Program Files, the .fsp type, the Start
# menu entry and the uninstall entry are there, and the uninstall leaves the
# prefix as it found it. Exits 77 (skipped) without wixl.
#
# windows_msi_test.sh WINE64 SOURCE_DIR BUILD_DIR VERSION WORK_DIR
# (WINEPREFIX names the prefix.)
set -eu
wine=$1 source=$2 build=$3 version=$4 work=$5
export WINEDEBUG=-all
# Wine's menu builder would copy the Start menu entry and the file type to
# the desktop of whoever runs the tests.
export WINEDLLOVERRIDES=winemenubuilder.exe=d
prefix=${WINEPREFIX:?WINEPREFIX names the Wine prefix}

if ! command -v wixl >/dev/null 2>&1 || ! command -v wixl-heat >/dev/null 2>&1; then
    printf "SKIPPED: no wixl or wixl-heat (Debian package msitools)\n"
    exit 77
fi

fail() {
    printf "FAILED: %s\n" "$*" >&2
    exit 1
}

# The Windows name of a Unix path: Wine's Z: drive is the root.
win() {
    printf 'Z:%s' "$1" | tr / '\\'
}

wine_reg() {
    "$wine" reg "$@" 2>/dev/null | tr -d '\r'
}

# The default value of a key of the registry, empty when there is none.
default_value() {
    wine_reg query "$1" /ve | sed -n 's/^ *(Default) *REG_[A-Z_]* *//p'
}

uninstall_root='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# "KEY<tab>DISPLAYVERSION" for each uninstall entry named Kelvane by the
# Kelvane developers.
kelvane_entries() {
    wine_reg query "$uninstall_root" /s | awk '
        function flush() {
            if (key != "" && name == "Kelvane" && publisher == "The Kelvane developers")
                print key "\t" version
        }
        /^HKEY_/ { flush(); key = $0; name = publisher = version = ""; next }
        { sub(/^ +/, ""); field = $1; sub(/^[^ ]+ +REG_[A-Z_]+ */, "") }
        field == "DisplayName" { name = $0 }
        field == "Publisher" { publisher = $0 }
        field == "DisplayVersion" { version = $0 }
        END { flush() }'
}

product_code() {
    msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'
}

# The only uninstall entry of Kelvane must be the one of package $1, of
# version $2.
expect_installed() {
    entries=$(kelvane_entries)
    key="HKEY_LOCAL_MACHINE\\${uninstall_root#HKLM\\}\\$(product_code "$1")"
    [ "$(printf '%s\n' "$entries" | tr '[:lower:]' '[:upper:]')" = \
        "$(printf '%s\t%s\n' "$key" "$2" | tr '[:lower:]' '[:upper:]')" ] ||
        fail "after $(basename "$1"), the uninstall entries of Kelvane are: ${entries:-none};" \
            "expected only $key, version $2"
}

msiexec() {
    "$wine" msiexec "$@" >/dev/null 2>&1
}

installed=$prefix/drive_c/Program\ Files/Kelvane
# Wine puts the entry of a per-machine install among the user's programs.
start_menus="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs
$prefix/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"

rm -rf "$work"
mkdir -p "$work"
if [ -e "$installed" ] || [ -n "$(kelvane_entries)" ]; then
    fail "Kelvane is already installed in $prefix"
fi
# What the prefix holds before; Wine's own temporary files come and go.
snapshot() {
    (cd "$prefix/drive_c" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune \
        -o -print | LC_ALL=C sort)
}
snapshot >"$work/before"

# Two builds of this version, each with a product code of its own, and one
# of an older version.
"$source/scripts/stage-windows" "$build" "$work/stage" "$work/first.msi"
"$source/scripts/stage-windows" "$build" "$work/second-stage" "$work/second.msi"
KELVANE_PACKAGE_VERSION=0.9.0 "$source/scripts/stage-windows" "$build" "$work/old-stage" \
    "$work/old.msi"
[ "$(product_code "$work/first.msi")" != "$(product_code "$work/second.msi")" ] ||
    fail "two builds have one product code"

# Whatever fails, nothing stays installed for the other tests.
uninstall_all() {
    for msi in old second first; do
        msiexec /x "$(win "$work/$msi.msi")" /qn || :
    done
}
trap uninstall_all EXIT
trap 'exit 1' INT TERM

msiexec /i "$(win "$work/old.msi")" /qn || fail "the older package does not install"
expect_installed "$work/old.msi" 0.9.0
msiexec /i "$(win "$work/first.msi")" /qn || fail "the package does not install over the older one"
expect_installed "$work/first.msi" "$version"

# The program folder holds the files of stage $1, as the zip does, and the
# icon of the file type.
expect_files() {
    (cd "$1" && find . -type f && printf './kelvane.ico\n') | LC_ALL=C sort >"$work/staged"
    (cd "$installed" && find . -type f | LC_ALL=C sort) >"$work/installed"
    diff "$work/staged" "$work/installed" >&2 ||
        fail "the installed files (>) are not those of $1 (<)"
    while read -r file; do
        [ "$file" = ./kelvane.ico ] || cmp -s "$1/$file" "$installed/$file" ||
            fail "the installed $file is not the one of $1"
    done <"$work/staged"
    cmp -s "$build/lib/kelvane/kelvane.ico" "$installed/kelvane.ico" ||
        fail "the installed icon is not the built one"
}
expect_files "$work/stage"

major=${version%%.*} rest=${version#*.}
expected_version=$(printf 'Kelvane Version %d.%02d' "$major" "${rest%%.*}")
out=$("$wine" 'C:\Program Files\Kelvane\kelvane-cli.exe' --version 2>&1 | tr -d '\r') ||
    fail "the installed kelvane-cli.exe --version: $out"
case $out in
"$expected_version"*) ;;
*) fail "the installed kelvane-cli.exe --version prints '$out', not $expected_version" ;;
esac

# The file type is the machine's, not only the installing user's.
classes='HKLM\Software\Classes'
[ "$(default_value "$classes\.fsp")" = Kelvane.Project ] || fail ".fsp is not a Kelvane.Project"
[ "$(default_value "$classes\Kelvane.Project\shell\open\command")" = \
    '"C:\Program Files\Kelvane\kelvane.exe" "%1"' ] ||
    fail "the open verb of Kelvane.Project is $(default_value "$classes\Kelvane.Project\shell\open\command")"
[ "$(default_value "$classes\Kelvane.Project\DefaultIcon")" = '"C:\Program Files\Kelvane\kelvane.ico"' ] ||
    fail "the icon of Kelvane.Project is $(default_value "$classes\Kelvane.Project\DefaultIcon")"
shortcut=$(printf '%s\n' "$start_menus" | while read -r menu; do
    [ ! -f "$menu/Kelvane.lnk" ] || printf '%s' "$menu/Kelvane.lnk"
done)
[ -n "$shortcut" ] || fail "no Start menu entry Kelvane"
grep -q 'C:\\Program Files\\Kelvane\\kelvane\.exe' "$shortcut" ||
    fail "the Start menu entry does not start C:\\Program Files\\Kelvane\\kelvane.exe"

# A second build of the same version replaces the first; the older
# package, again, is refused and changes nothing.
msiexec /i "$(win "$work/second.msi")" /qn || fail "the second build does not install over the first"
expect_installed "$work/second.msi" "$version"
if msiexec /i "$(win "$work/old.msi")" /qn; then
    fail "the older package installed over a newer one"
fi
expect_installed "$work/second.msi" "$version"
expect_files "$work/second-stage"

msiexec /x "$(win "$work/second.msi")" /qn || fail "the uninstall fails"
trap - EXIT
[ -z "$(kelvane_entries)" ] || fail "an uninstall entry is left: $(kelvane_entries)"
for key in 'HKCR\.fsp' 'HKCR\Kelvane.Project' "$classes\.fsp" "$classes\Kelvane.Project"; do
    if "$wine" reg query "$key" >/dev/null 2>&1; then
        fail "$key is left in the registry"
    fi
done
# The first install in a prefix makes the installer's cache folder, which
# Windows always has and msiexec keeps: gone again if it was not there and
# is empty.
grep -qx ./windows/Installer "$work/before" || rmdir "$prefix/drive_c/windows/Installer" 2>/dev/null || :
snapshot >"$work/after"
diff "$work/before" "$work/after" >&2 || fail "the uninstall leaves the prefix changed (above)"
printf "windows_msi: passed\n"
