#!/usr/bin/env bash
# Takes the README's screenshots of the four windows on a virtual X display, of the Linux program or,
# under Wine, of the Windows one:
#   tools/screenshots.sh build/quorvel docs/screenshots
#   tools/screenshots.sh build-windows/quorvel.exe docs/screenshots/windows
source "$(dirname "$0")/../tests/e2e/desktop.sh"
out=${2:-docs/screenshots}
mkdir -p "$out"
start_desktop
[[ "$PROGRAM" != *.exe ]] || use_wine /usr/lib/wine/wine64
start_program

# A window with its frame, cut from the screen.
shoot() {
    xdotool windowactivate --sync "$1"
    sleep 0.3
    local x y w h left right top bottom
    x=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print $4}')
    y=$(xwininfo -id "$1" | awk '/Absolute upper-left Y/ {print $4}')
    w=$(xwininfo -id "$1" | awk '/Width:/ {print $2}')
    h=$(xwininfo -id "$1" | awk '/Height:/ {print $2}')
    IFS=', ' read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | cut -d= -f2)
    import -window root -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" +repage "$out/$2.png"
}

main=$(window "Quorvel 1.0")
shoot "$main" main

click "$main" 60 195
encrypt=$(window "Encrypt Message")
click "$encrypt" 212 52
xdotool type --delay 10 "Meet me at 7:30 by the old mill."
click "$encrypt" 212 128
click "$encrypt" 220 288
shoot "$encrypt" encrypt

xdotool windowactivate --sync "$main"
click "$main" 276 195
decrypt=$(window "Decrypt Message")
click "$decrypt" 212 52
xdotool key ctrl+v
click "$decrypt" 212 128
shoot "$decrypt" decrypt

xdotool windowactivate --sync "$main"
click "$main" 168 195
shoot "$(window "About Quorvel 1.0!")" about

# A message in many scripts and emoji, on its whole road: pasted, encrypted, copied, pasted into the
# Decrypt window and decrypted there.
message='مرحبا بالعالم שָׁלוֹם नमस्ते สวัสดี 你好中文 Привет 👍🏽 🇩🇪 👩‍👩‍👧'
printf '%s' "$message" | xclip -selection clipboard
xdotool windowactivate --sync "$encrypt"
click "$encrypt" 212 52
xdotool key ctrl+a ctrl+v
click "$encrypt" 212 128
click "$encrypt" 220 288
coded=$(clipboard_other_than "$message")
xdotool windowactivate --sync "$decrypt"
click "$decrypt" 212 52
xdotool key ctrl+a ctrl+v
click "$decrypt" 212 128
shoot "$decrypt" multiscript
