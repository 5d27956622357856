#!/usr/bin/env bash
# The Windows program started on a screen of 192 dpi, as on a 4K laptop at 200 %: its main window at
# twice the pixels, and the banner in it the bitmap of twice the size, pixel for pixel.
#   wine_high_dpi_test.sh path/to/quorvel.exe path/to/wine64 path/to/resources
source "$(dirname "$0")/desktop.sh"
resources=${3:?usage: $0 quorvel.exe wine resources}
start_desktop
use_wine "${2:?usage: $0 quorvel.exe wine resources}"
"$WINE_RUN" "$WINE" "$WINE_PREFIX" --on-display reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
"$(dirname "$WINE")/wineserver" -w
start_program

main=$(window "Quorvel 1.0")
shot=$(mktemp --suffix=.png)
CLEANUPS+=('rm -f "$shot"')
import -window "$main" "$shot"
[ "$(identify -format '%wx%h' "$shot")" = "670x426" ] || fail "the main window is $(identify -format '%wx%h' "$shot") at 192 dpi"

# The picture box starts 120 twips, 16 pixels at 192 dpi, left of the client area and reaches down to
# the buttons at 2640 twips, 352 pixels.
# Wine may still be painting when the window has settled, so the banner is looked at again for a few
# seconds before it counts as wrong.
for _ in $(seq 25); do
    import -window "$main" "$shot"
    differing=$(compare -metric AE "$shot[654x352+0+0]" "$resources/banner_2x.bmp[654x352+16+0]" null: 2>&1 || true)
    [ "$differing" = 0 ] && break
    sleep 0.2
done
[ "$differing" = 0 ] || fail "$differing pixels of the banner differ from the bitmap of twice the size"

close_window "$main"
wait_for_end
echo "1 passed, 0 failed"
