#!/usr/bin/env bash
# Checks the Windows zip: it holds quorvel.exe alone, a GUI program that needs no DLL but those of
# Windows itself (and those of UI Automation and Active Accessibility, which it loads when a screen
# reader asks), with its icon, version record, manifest and pictures inside.
set -euo pipefail
build=${1:?usage: $0 path/to/build-windows}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cd "$build"
cpack -G ZIP >/dev/null
zip=$(ls quorvel-*-win64.zip)
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
[ "$(ls "$unpacked")" = "quorvel.exe" ] || fail "the zip holds: $(ls "$unpacked" | tr '\n' ' ')"
exe="$unpacked/quorvel.exe"

headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q "^Subsystem.*(Windows GUI)" <<<"$headers" || fail "not a GUI program"
dlls=$(grep "DLL Name:" <<<"$headers" | awk '{print toupper($3)}' | sort | tr '\n' ' ')
[ "$dlls" = "COMCTL32.DLL GDI32.DLL IMM32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL OLEAUT32.DLL USER32.DLL USP10.DLL " ] || fail "imports $dlls"

grep -q "PerMonitorV2" "$exe" || fail "no per-monitor DPI awareness in the manifest"
grep -q "Microsoft.Windows.Common-Controls" "$exe" || fail "no common controls 6 in the manifest"
strings -el "$exe" | grep -qx "1.00" || fail "no version 1.00 in the version record"
strings -el "$exe" | grep -qw "IDI_ICON1" || fail "no program icon"
for picture in BANNER ABOUT BANNER_2X ABOUT_2X; do
    strings -el "$exe" | grep -qw "$picture" || fail "no $picture bitmap"
done

echo "1 passed, 0 failed"
