#!/usr/bin/env bash
# Builds the Debian package and checks what it installs and what it depends on, the program icon at
# every size in the hicolor theme, that the desktop entry and AppStream metainfo validate, and that
# the Windows resource script compiles.
set -euo pipefail
build=${1:?usage: $0 build-dir}
cd "$build"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -f quorvel_*.deb
cpack -G DEB >/dev/null
deb=$(ls quorvel_*.deb)

icon_sizes=(16 24 32 48 64 128 256)
icons=()
for size in "${icon_sizes[@]}"; do icons+=("usr/share/icons/hicolor/${size}x${size}/apps/org.quorvel.Quorvel.png"); done

contents=$(dpkg-deb -c "$deb")
for path in usr/bin/quorvel usr/share/applications/org.quorvel.Quorvel.desktop \
            usr/share/metainfo/org.quorvel.Quorvel.metainfo.xml "${icons[@]}"; do
    grep -q " \./$path\$" <<<"$contents" || fail "$deb lacks $path"
done

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -q "$library" <<<"$depends" || fail "$deb does not depend on $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "1.0.0.0" ] || fail "version $(dpkg-deb -f "$deb" Version)"
[ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland" ] || fail "recommends: $(dpkg-deb -f "$deb" Recommends)"

unpacked=$(mktemp -d)
installed=$(mktemp -d)
trap 'rm -rf "$unpacked" "$installed"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/org.quorvel.Quorvel.desktop"
metainfo="$unpacked/usr/share/metainfo/org.quorvel.Quorvel.metainfo.xml"
appstreamcli validate --strict --no-net "$metainfo" >/dev/null || fail "$(appstreamcli validate --strict --no-net "$metainfo")"
# The metainfo with the desktop entry and the icons beside it, as a software centre reads them.
appstreamcli validate-tree --no-net "$unpacked" >/dev/null || fail "$(appstreamcli validate-tree --no-net "$unpacked")"

# The icon at each size, in true colour with alpha, named by the application id that the desktop
# entry and the metainfo name; the same from a plain `cmake --install`.
grep -qx "Icon=org.quorvel.Quorvel" "$unpacked/usr/share/applications/org.quorvel.Quorvel.desktop" || fail "desktop entry's icon"
grep -q '<icon type="stock">org.quorvel.Quorvel</icon>' "$metainfo" || fail "metainfo's icon"
cmake --install . --prefix "$installed/usr" >/dev/null
for root in "$unpacked" "$installed"; do
    for k in "${!icon_sizes[@]}"; do
        size=${icon_sizes[$k]}
        file "$root/${icons[$k]}" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" ||
            fail "$root/${icons[$k]}: $(file -b "$root/${icons[$k]}")"
    done
    [ "$(find "$root/usr/share/icons" -type f | wc -l)" = "${#icon_sizes[@]}" ] || fail "other icons in $root"
done

# What a software centre shows beside the description: the release with its date, the content
# rating and the program the package provides.
grep -Eq '<release version="1\.0\.0\.0" date="[0-9]{4}-[0-9]{2}-[0-9]{2}"' "$metainfo" || fail "release entry"
grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "content rating"
grep -q '<binary>quorvel</binary>' "$metainfo" || fail "provided binary"

x86_64-w64-mingw32-windres --preprocessor=cpp quorvel.rc -O coff -o "$unpacked/quorvel.res"
strings -el "$unpacked/quorvel.res" | grep -qx "Quorvel" || fail "no internal name in the version record"
strings -el "$unpacked/quorvel.res" | grep -qx "1.00" || fail "no version 1.00 in the version record"

echo "1 passed, 0 failed"
