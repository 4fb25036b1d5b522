#!/usr/bin/env bash
# Checks the desktop integration and the Debian package:
#   the desktop entry and the AppStream metainfo pass their validators,
#   the MIME type compiles and recognises order files by their opening record,
#   cpack builds the .deb, whose dependencies and file list are then checked.
# Run by "./build.sh test" after the tests; BUILD_DIR names the (already built) build folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
BUILD_DIR=${BUILD_DIR:-build}
case "$BUILD_DIR" in /*) build=$BUILD_DIR ;; *) build=$root/$BUILD_DIR ;; esac
export LC_ALL=C.UTF-8

app_id=se.orvida.valmo
mime_type=application/x-autogiro-order
desktop=packaging/$app_id.desktop
metainfo=packaging/$app_id.metainfo.xml
mime_xml=packaging/$app_id.mime.xml

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "-- desktop entry and metainfo"
desktop-file-validate "$desktop" && pass "desktop-file-validate $desktop" || fail "desktop-file-validate $desktop"
appstreamcli validate --no-net "$metainfo" && pass "appstreamcli validate $metainfo" \
    || fail "appstreamcli validate $metainfo"
grep -qx "Exec=valmo %f" "$desktop" || fail "the desktop entry does not start 'valmo %f'"
grep -qx "MimeType=$mime_type;" "$desktop" || fail "the desktop entry does not name $mime_type"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $app_id.desktop"
grep -q "<mediatype>$mime_type</mediatype>" "$metainfo" || fail "the metainfo does not provide $mime_type"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "packaging/icons/hicolor/scalable/apps/$icon.svg" ] && [ -f "packaging/icons/hicolor/48x48/apps/$icon.png" ] \
    || fail "icon $icon is missing from packaging/icons/hicolor"

echo "-- MIME type"
mime=$scratch/share/mime
mkdir -p "$mime/packages"
# The freedesktop database claims "*.ag" too; compile against it to see the content rule win.
if [ -f /usr/share/mime/packages/freedesktop.org.xml ]; then
    cp /usr/share/mime/packages/freedesktop.org.xml "$mime/packages/"
fi
cp "$mime_xml" "$mime/packages/$app_id.xml"
if update-mime-database "$mime" >"$scratch/mime.log" 2>&1 && ! grep -qi "error\|warning" "$scratch/mime.log"; then
    pass "update-mime-database"
else
    cat "$scratch/mime.log" >&2
    fail "update-mime-database"
fi
grep -qx "$mime_type" "$mime/types" || fail "$mime_type is not in the compiled types"
grep -q ":$mime_type:\*\.ag$" "$mime/globs2" || fail "the glob *.ag is not compiled"
grep -aq "AUTOGIRO" "$mime/magic" || fail "the content rule is not compiled"

if command -v gio >/dev/null 2>&1; then
    samples=$scratch/samples
    mkdir -p "$samples"
    opening=$(printf '0120261208AUTOGIRO%62s' '')
    printf '%s\r\n' "$opening" >"$samples/order.ag"
    printf '%s\r\n' "$opening" >"$samples/order-without-extension"
    printf '*BEGIN GRAPHICS\n' >"$samples/drawing.ag"
    content_type() {
        XDG_DATA_HOME=$scratch/share XDG_DATA_DIRS=$scratch/share GIO_USE_VFS=local \
            gio info -a standard::content-type "$1" 2>/dev/null | sed -n 's/.*standard::content-type: //p'
    }
    for sample in "order.ag $mime_type" "order-without-extension $mime_type" "drawing.ag image/x-applix-graphics"; do
        read -r name expected <<<"$sample"
        actual=$(content_type "$samples/$name")
        [ "$actual" = "$expected" ] && pass "$name is $expected" || fail "$name is '$actual', expected $expected"
    done
else
    echo "gio is not installed: the detection of sample files is skipped"
fi

echo "-- Debian package"
[ -f "$build/CPackConfig.cmake" ] || { fail "$build is not configured (no CPackConfig.cmake)"; exit 1; }
packages=$build/packages
rm -rf "$packages"
if (cd "$build" && cpack -G DEB -B "$packages" >"$scratch/cpack.log" 2>&1); then
    pass "cpack -G DEB"
else
    cat "$scratch/cpack.log" >&2
    fail "cpack -G DEB"
    exit 1
fi
deb=$(find "$packages" -maxdepth 1 -name '*.deb' | head -n 1)
[ -n "$deb" ] || { fail "cpack wrote no .deb"; exit 1; }
echo "package: ${deb#"$build"/}"
dpkg-deb -I "$deb"

[ "$(dpkg-deb -f "$deb" Package)" = valmo ] || fail "the package is not called valmo"
depends=$(dpkg-deb -f "$deb" Depends)
while read -r needed; do
    [ -n "$needed" ] || continue
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" && pass "depends on $needed" || fail "Depends lacks $needed: $depends"
done <"$build/packaging/expected-depends.txt"

dpkg-deb --fsys-tarfile "$deb" | tar -t --quoting-style=literal | sed 's|^\./||' >"$scratch/files"
while IFS= read -r expected; do
    [ -n "$expected" ] || continue
    grep -qxF "$expected" "$scratch/files" && pass "holds $expected" || fail "the package lacks $expected"
done <"$build/packaging/expected-files.txt"
stray=$(grep -v '/$' "$scratch/files" | grep -Ev '^usr/(bin|share)/' || true)
stray+=$(grep -E '^usr/local/|\.a$|\.h$' "$scratch/files" || true)
[ -z "$stray" ] || fail "files that do not belong in the package: $stray"

# Installed programs are stripped of their debugging information.
if grep -q '^usr/bin/.' "$scratch/files"; then
    mkdir -p "$scratch/unpacked"
    dpkg-deb -x "$deb" "$scratch/unpacked"
    for program in "$scratch"/unpacked/usr/bin/*; do
        if command -v file >/dev/null 2>&1 && file "$program" | grep -q "not stripped"; then
            fail "${program##*/} is not stripped"
        fi
    done
fi

if [ "$failures" -ne 0 ]; then
    echo "packaging: $failures check(s) failed" >&2
    exit 1
fi
echo "packaging: all checks passed"
