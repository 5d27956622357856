#!/usr/bin/env bash
# The Windows program under Wine on a virtual X display, driven as a person would: the road of one
# message, one instance per window, a closed window rebuilt with its prompts, and the program's end
# with status 0 when its last window closes, and not before.
#   wine_road_test.sh path/to/quorvel.exe path/to/wine64
source "$(dirname "$0")/desktop.sh"
start_desktop
use_wine "${2:?usage: $0 quorvel.exe wine}"
start_program

road_of_one_message

# One instance per window: the button shows the open window again.
main=$(window "Quorvel 1.0")
xdotool windowactivate --sync "$main"
click "$main" 60 195
sleep 0.5
[ "$(xdotool search --onlyvisible --name '^Encrypt Message$' | wc -l)" = 1 ] || fail "a second Encrypt window"

# A closed window comes back built afresh, with its prompts.
close_window "$(window "Encrypt Message")"
xdotool windowactivate --sync "$main"
click "$main" 60 195
encrypt=$(window "Encrypt Message")
click "$encrypt" 220 288                          # Copy To Clipboard
[ "$(clipboard)" = "Encrypted Message" ] || fail "the rebuilt window's output holds '$(clipboard)'"

# Closing the main window leaves the program running while another window is open.
close_window "$main"
sleep 0.5
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended with its other windows open"
close_window "$encrypt"
close_window "$(window "Decrypt Message")"
wait_for_end
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after the last window closed"

echo "1 passed, 0 failed"
