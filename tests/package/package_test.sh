#!/usr/bin/env bash
# Builds the Debian package and checks what it installs and what it depends on, that the desktop
# entry and AppStream metainfo validate, and that the Windows resource script compiles.
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

contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/quorvel ./usr/share/applications/org.quorvel.Quorvel.desktop \
            ./usr/share/metainfo/org.quorvel.Quorvel.metainfo.xml \
            ./usr/share/icons/hicolor/32x32/apps/org.quorvel.Quorvel.png; do
    grep -q " $path\$" <<<"$contents" || fail "$deb lacks $path"
done

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -q "$library" <<<"$depends" || fail "$deb does not depend on $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "1.0.0.0" ] || fail "version $(dpkg-deb -f "$deb" Version)"
[ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland" ] || fail "recommends: $(dpkg-deb -f "$deb" Recommends)"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/org.quorvel.Quorvel.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/org.quorvel.Quorvel.metainfo.xml"
file "$unpacked/usr/share/icons/hicolor/32x32/apps/org.quorvel.Quorvel.png" | grep -q "32 x 32" || fail "icon size"

x86_64-w64-mingw32-windres --preprocessor=cpp quorvel.rc -O coff -o "$unpacked/quorvel.res"
strings -el "$unpacked/quorvel.res" | grep -qx "Quorvel" || fail "no internal name in the version record"
strings -el "$unpacked/quorvel.res" | grep -qx "1.00" || fail "no version 1.00 in the version record"

echo "1 passed, 0 failed"
