#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the .deb and the .tar.gz of this build with CPack, unpacks the .deb
# with dpkg-deb as dpkg would and runs kelvane-cli from the unpacked tree
# through its usr/bin link: the program must find its module table, modules,
# module host and help beside its real path there, not in the build tree.
# lintian must find nothing to warn about in the .deb.
#
# package_test.sh CPACK CPACK_CONFIG VERSION DEMO_DIR WORK_DIR WINDOWS_MODULES
#                 BUILT_CLI [DESKTOP_FILE_VALIDATE]
set -eu
cpack=$1 config=$2 version=$3 demo=$4 work=$5 windows=$6 built_cli=$7
validate=${8:-}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
"$cpack" --config "$config" -B "$work/packages" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }

deb=$work/packages/kelvane_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$work/packages"; fail "no $deb"; }
tarball=$work/packages/kelvane-$version-$(uname -m).tar.gz
[ -f "$tarball" ] || { ls "$work/packages"; fail "no $tarball"; }

# What the package holds: the desktop integration and the program folder;
# no tests, benchmarks or test modules.
dpkg-deb -c "$deb" >"$work/contents"
for path in ./usr/share/applications/kelvane.desktop \
    ./usr/share/mime/packages/kelvane-project.xml \
    ./usr/share/icons/hicolor/scalable/apps/kelvane.svg \
    ./usr/include/kelvane/kelvane_module.h \
    ./usr/lib/kelvane/kelvane ./usr/lib/kelvane/kelvane-cli \
    ./usr/lib/kelvane/kelvane-module-host ./usr/lib/kelvane/kelvane.ini \
    ./usr/lib/kelvane/kelvane.qch ./usr/lib/kelvane/kelvane_sample_converter.so \
    ./usr/lib/kelvane/kelvane-qsettings.so ./usr/lib/kelvane/kelvane-help.so \
    ./usr/lib/kelvane/tvxUSB.so \
    ./usr/share/doc/kelvane/copyright ./usr/share/doc/kelvane/changelog.gz \
    ./usr/share/man/man1/kelvane.1.gz ./usr/share/man/man1/kelvane-cli.1.gz \
    ./usr/share/bash-completion/completions/kelvane-cli \
    ./usr/share/metainfo/io.github.kelvane.Kelvane.metainfo.xml; do
    awk -v path="$path" '$6 == path { found = 1 } END { exit !found }' "$work/contents" ||
        fail "$path is not in the package"
done
for link in kelvane kelvane-cli; do
    grep -q " ./usr/bin/$link -> \.\./lib/kelvane/$link\$" "$work/contents" ||
        fail "usr/bin/$link is not a relative link to ../lib/kelvane/$link"
done
if grep -E '_tests?( |$)|_test[^ ]*\.(so|dll)|_bench|bare_window|tests/|CMakeFiles' "$work/contents"; then
    fail "the package holds files of the tests or the benchmarks (above)"
fi
if [ "$windows" = ON ]; then
    for path in ./usr/lib/kelvane/kelvane-module-host.exe \
        ./usr/lib/kelvane/kelvane-module-host64.exe \
        ./usr/lib/kelvane/kelvane_sample_converter_win32.dll; do
        awk -v path="$path" '$6 == path { found = 1 } END { exit !found }' "$work/contents" ||
            fail "$path is not in the package"
    done
fi

# The control fields: dpkg-shlibdeps ran, the plug-in is named, Wine is
# recommended exactly when the Windows modules are built.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libqt6core6 libqt6help6 libqt6sql6-sqlite; do
    echo "$depends" | grep -Eq "(^|, )$package( |,|$)" || fail "Depends lacks $package: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
if [ "$windows" = ON ]; then
    [ "$recommends" = "wine, wine32" ] || fail "Recommends is '$recommends', not 'wine, wine32'"
else
    [ -z "$recommends" ] || fail "Recommends is '$recommends' without the Windows modules"
fi
[ "$(dpkg-deb -f "$deb" Section)" = electronics ] || fail "Section is not electronics"
# The libraries in usr/lib/kelvane are the program's own: nothing for
# ldconfig, so no maintainer script or trigger that runs it.
mkdir -p "$work/control"
dpkg-deb -e "$deb" "$work/control"
if grep -l ldconfig "$work/control"/*; then
    fail "the control files above run ldconfig"
fi
# Debian's limit for the lines of the description.
if dpkg-deb -f "$deb" Description | awk 'length($0) > 80 { print; bad = 1 } END { exit !bad }'; then
    fail "the description has lines longer than 80 columns (above)"
fi

command -v lintian >/dev/null || fail "no lintian (Debian package lintian)"
if ! lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1; then
    cat "$work/lintian.txt"
    fail "lintian reports errors or warnings on $(basename "$deb") (above)"
fi

root=$work/root
dpkg-deb -x "$deb" "$root"

# The desktop entry opens a double-clicked project of the MIME type the
# package registers.
entry=$root/usr/share/applications/kelvane.desktop
grep -qx 'Exec=kelvane %f' "$entry" || fail "the desktop entry does not run 'kelvane %f'"
grep -qx "X-Kelvane-Version=$version" "$entry" || fail "the desktop entry lacks the version"
mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' \
    "$root/usr/share/mime/packages/kelvane-project.xml")
[ -n "$mime_type" ] || fail "the MIME file names no type"
grep -qx "MimeType=$mime_type;" "$entry" || fail "the desktop entry is not for $mime_type"
if [ -n "$validate" ]; then
    "$validate" "$entry" || fail "desktop-file-validate refuses the desktop entry"
fi
# The MIME database takes the file (a broken one is passed over with a
# warning); it is told the unpacked share folder is a data folder.
XDG_DATA_DIRS="$root/usr/share" update-mime-database "$root/usr/share/mime" 2>"$work/mime.log" ||
    { cat "$work/mime.log"; fail "update-mime-database failed"; }
[ ! -s "$work/mime.log" ] || { cat "$work/mime.log"; fail "update-mime-database warned"; }
grep -q "^$mime_type:\*\.fsp\$" "$root/usr/share/mime/globs" ||
    fail "the MIME database holds no *.fsp glob for $mime_type"

# The changelog is of this version; the manual pages open; the metainfo
# agrees with the desktop entry beside it.
changelog_version=$(gzip -dc "$root/usr/share/doc/kelvane/changelog.gz" | sed -n '1s/^kelvane (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] || fail "the changelog's newest entry is '$changelog_version'"
for page in kelvane kelvane-cli; do
    MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null | grep -q "^NAME" ||
        fail "the packaged $page.1.gz does not render"
done
if command -v appstreamcli >/dev/null; then
    appstreamcli validate-tree --no-net --no-color "$root" >"$work/appstream.txt" 2>&1 ||
        { cat "$work/appstream.txt"; fail "appstreamcli refuses the package's metadata"; }
else
    fail "no appstreamcli (Debian package appstream)"
fi

# The unpacked program through its link, on a copy of the demo; HOME and the
# profile stay in the scratch folder.
cli=$root/usr/bin/kelvane-cli
project=$work/project
mkdir -p "$project" "$work/home"
cp "$demo"/demo.* "$project/"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"

expected_version=$("$built_cli" --version)
[ "$("$cli" --version)" = "$expected_version" ] ||
    fail "the packaged kelvane-cli --version is not '$expected_version'"

"$cli" show "$project/demo.fsp" >"$work/show.txt" || { cat "$work/show.txt"; fail "show failed"; }
if ! { grep -qx 'Target system: talvexNOVA(KV4021)' "$work/show.txt" &&
    grep -qx " FSP file: $project/demo.fsp" "$work/show.txt" &&
    grep -qx '\[SYNC\] FSR file: demo.fsr' "$work/show.txt"; }; then
    cat "$work/show.txt"
    fail "show of the demo"
fi

# The conversion runs the sample module named by the packaged module table
# in the packaged module host.
"$cli" convert "$project/demo.fsp" --to talvexMAX --as "$project/demo-max.fsp" \
    >"$work/convert.txt" 2>&1 || { cat "$work/convert.txt"; fail "convert failed"; }
"$cli" show "$project/demo-max.fsp" >"$work/converted.txt" ||
    { cat "$work/converted.txt"; fail "show of the converted project failed"; }
if ! { grep -q '^Target system: talvexMAX' "$work/converted.txt" &&
    grep -qx '\[SYNC\] FSR file: demo-max.fsr' "$work/converted.txt"; }; then
    cat "$work/converted.txt"
    fail "the converted project"
fi
cmp -s "$demo/demo.fsp" "$project/demo.fsp" || fail "convert --as changed the original project"

# The .tar.gz works wherever it is unpacked.
mkdir -p "$work/tar"
tar -xzf "$tarball" -C "$work/tar"
[ "$("$work/tar/kelvane-$version-$(uname -m)/bin/kelvane-cli" --version)" = "$expected_version" ] ||
    fail "kelvane-cli of the .tar.gz"

echo "package test passed: $(basename "$deb") $(basename "$tarball")"
