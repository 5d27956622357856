#!/usr/bin/env bash
# The program ends when its last window closes, and not before.
source "$(dirname "$0")/desktop.sh"
start_desktop

# Closing the main window while the Decrypt window is open leaves the program running.
start_program
main=$(window "Quorvel 1.0")
click "$main" 276 195
decrypt=$(window "Decrypt Message")
close_window "$main"
sleep 0.5
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended with the Decrypt window open"
xdotool search --onlyvisible --name "^Decrypt Message\$" >/dev/null || fail "the Decrypt window closed too"
close_window "$decrypt"
wait_for_end
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after the last window closed"

# Closing the main window alone ends the program at once.
start_program
main=$(window "Quorvel 1.0")
close_window "$main"
wait_for_end
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after the main window closed"

echo "1 passed, 0 failed"
