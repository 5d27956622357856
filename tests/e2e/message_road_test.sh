#!/usr/bin/env bash
# The road of one message, driven as a person would: open the Encrypt window from the main window,
# clear the prompt, type, encode, copy; open the Decrypt window, clear its prompt, paste, decode, copy.
source "$(dirname "$0")/desktop.sh"
start_desktop
start_program

first_line='Meet 100% at 7:30, Room B-12! (bring $5 & "maps")'
second_line='Grüße'
message="$first_line"$'\n'"$second_line"

main=$(window "Quorvel 1.0")
click "$main" 60 195                          # Encrypt
encrypt=$(window "Encrypt Message")
click "$encrypt" 212 52                       # into the prompt, which empties it
xdotool type --delay 20 "$first_line"
xdotool key Return
# Characters outside the keyboard map are typed one at a time, each through a remapped key.
for (( k = 0; k < ${#second_line}; k++ )); do xdotool type --delay 80 "${second_line:k:1}"; done
click "$encrypt" 212 128                      # Encrypt Message
click "$encrypt" 220 288                      # Copy To Clipboard
coded=$(clipboard)
case "$coded" in
    %*) ;;
    *) fail "the clipboard holds no coded text: $coded" ;;
esac
[[ "$coded" == *Meet* || "$coded" == *7:30* ]] && fail "the coded text shows the message: $coded"

xdotool windowactivate --sync "$main"
click "$main" 276 195                         # Decrypt
decrypt=$(window "Decrypt Message")
click "$decrypt" 212 52                       # into the prompt, which empties it
xdotool key ctrl+v
click "$decrypt" 212 128                      # Decrypt Message
click "$decrypt" 220 288                      # Copy To Clipboard
decoded=$(clipboard)
[ "$decoded" = "$message" ] || fail "decoded '$decoded', expected '$message'"

echo "1 passed, 0 failed"
