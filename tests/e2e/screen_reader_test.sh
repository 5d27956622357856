#!/usr/bin/env bash
# What a screen reader finds of the program through the accessibility bus: windows as frames named
# by their captions, every control with its role and a name a person understands, in tab order, and
# the output of each pass read exactly through the text interface; and in a field being typed into,
# the caret where the keys leave it, the text at the caret by word and line, the events heard, and
# the context menu in the system's language.
# The bus lives in a D-Bus session of the test's own.
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ -n "${QUORVEL_OWN_BUS:-}" ] ||
    QUORVEL_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/desktop.sh"
start_desktop
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
PIDS+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# In German, for the fields' context menu in Qt's own German words.
LC_ALL=de_DE.UTF-8 start_program

message='Meet 100% at 7:30, Room B-12!'$'\n''bring "maps"'
main=$(window "Quorvel 1.0")
click "$main" 60 195                          # Encrypt
encrypt=$(window "Encrypt Message")
click "$encrypt" 212 52
xdotool type --delay 20 "${message%%$'\n'*}"
xdotool key Return
xdotool type --delay 20 "${message#*$'\n'}"
# While the field has the keyboard: its caret, its text at the caret and what a reader hears.
/usr/bin/python3 "$(dirname "$0")/screen_reader.py" --typing "$message" || fail "the typed field through the screen reader"
click "$encrypt" 212 128                      # Encrypt Message
click "$encrypt" 220 288                      # Copy To Clipboard
coded=$(clipboard)

xdotool windowactivate --sync "$main"
click "$main" 276 195                         # Decrypt
decrypt=$(window "Decrypt Message")
click "$decrypt" 212 52
xdotool key ctrl+v
click "$decrypt" 212 128                      # Decrypt Message

xdotool windowactivate --sync "$main"
click "$main" 168 195                         # About
window "About Quorvel 1.0!" >/dev/null

# Debian's own Python, which has the accessibility bindings.
/usr/bin/python3 "$(dirname "$0")/screen_reader.py" "$message" "$coded" || fail "the screen reader's view"
echo "1 passed, 0 failed"
