#!/usr/bin/env bash
# Builds the Debian package and checks what it installs and what it depends on, that lintian finds
# nothing wrong with it, the program icon at every size in the hicolor theme, that the desktop entry
# and AppStream metainfo validate, and that the Windows resource script compiles.
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
            usr/share/metainfo/org.quorvel.Quorvel.metainfo.xml "${icons[@]}" \
            usr/share/man/man1/quorvel.1.gz usr/share/doc/quorvel/copyright usr/share/doc/quorvel/changelog.gz; do
    grep -q " \./$path\$" <<<"$contents" || fail "$deb lacks $path"
done

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -q "$library" <<<"$depends" || fail "$deb does not depend on $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "1.0.0.0" ] || fail "version $(dpkg-deb -f "$deb" Version)"
[ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland" ] || fail "recommends: $(dpkg-deb -f "$deb" Recommends)"

# The long description adds to the summary: none of its lines says the summary over again.
description=$(dpkg-deb -f "$deb" Description)
summary=$(head -n 1 <<<"$description")
while read -r line; do
    [ "$line" = . ] && continue
    case "$summary" in "$line"*) fail "the long description repeats the summary: $line" ;; esac
    case "$line" in "$summary"*) fail "the long description repeats the summary: $line" ;; esac
done < <(tail -n +2 <<<"$description")

# Debian's own checks of a package; any error or warning fails.
report=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian on $deb:"$'\n'"$report"

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

# The changelog's latest entry is this version, of the metainfo's release date.
gzip -dc "$unpacked/usr/share/doc/quorvel/changelog.gz" >"$unpacked/changelog"
[ "$(dpkg-parsechangelog -l "$unpacked/changelog" -S Version)" = "1.0.0.0" ] || fail "changelog's version"
release_date=$(sed -n 's/.*<release version="1\.0\.0\.0" date="\([0-9-]*\)".*/\1/p' "$metainfo")
[ "$(date -u -d "$(dpkg-parsechangelog -l "$unpacked/changelog" -S Date)" +%F)" = "$release_date" ] ||
    fail "changelog's date is not the release's, $release_date"
# The copyright file names the Unicode Character Database whose tables the program carries; another
# version may come under another licence.
ucd=$(sed -n 's/^QUORVEL_UNICODE_DATA:[A-Z]*=//p' CMakeCache.txt)
ucd_version=$(sed -n '1s/^# LineBreak-\([0-9]*\.[0-9]*\)\.[0-9]*\.txt.*/\1/p' "$ucd/LineBreak.txt")
grep -q "Unicode Character Database $ucd_version " "$unpacked/usr/share/doc/quorvel/copyright" ||
    fail "the copyright file does not name the Unicode Character Database ${ucd_version:-?} the tables come from"

x86_64-w64-mingw32-windres --preprocessor=cpp quorvel.rc -O coff -o "$unpacked/quorvel.res"
strings -el "$unpacked/quorvel.res" | grep -qx "Quorvel" || fail "no internal name in the version record"
strings -el "$unpacked/quorvel.res" | grep -qx "1.00" || fail "no version 1.00 in the version record"

echo "1 passed, 0 failed"
