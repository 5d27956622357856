#!/usr/bin/env bash
# On a Wayland desktop, from the keyboard: the road of one message through both windows and the
# Wayland clipboard, the Decrypt copy's privacy mark (by the button and by Ctrl+C), a copy of 4 MB of
# coded text, one instance per window, a closed window rebuilt with its prompts, and the program's end
# when its last window closes and not before.
source "$(dirname "$0")/wayland.sh"
start_compositor
start_program
road_of_one_message
as_user wl-paste --list-types | grep -qx 'x-kde-passwordManagerHint' ||
    fail "the decrypted message is not marked sensitive: $(as_user wl-paste --list-types | tr '\n' ' ')"
# The same message copied out of the output field by Ctrl+C carries the same mark. The focus is on
# "Copy To Clipboard"; the output field is two Tabs on.
as_user wl-copy "another program's text"
focus "Decrypt Message"
keys -k Tab -k Tab -M ctrl -k a -k c -m ctrl
case "$(clipboard)" in
    Meet*) ;;
    *) fail "Ctrl+C in the decrypted message copied '$(clipboard)'" ;;
esac
as_user wl-paste --list-types | grep -qx 'x-kde-passwordManagerHint' ||
    fail "the message copied by Ctrl+C is not marked sensitive: $(as_user wl-paste --list-types | tr '\n' ' ')"

# 4 MB of coded text: a 1 MiB message pasted from another program, encoded and copied.
head -c 786432 /dev/urandom | base64 -w0 >"$RUNTIME/long"
as_user wl-copy <"$RUNTIME/long"
focus "Encrypt Message"
keys -M shift -k Tab -k Tab -k Tab -m shift -M ctrl -k a -k v -m ctrl -k Tab -k space -k Tab -k Tab -k space
for _ in $(seq 40); do
    length=$(clipboard | wc -c)
    [ "$length" -gt 4000000 ] && break
    sleep 0.5
done
[ "$length" -gt 4000000 ] || fail "the copy of the long coded text holds $length bytes"

# One instance per window: showing it again makes no second one. A closed window comes back built
# afresh, with its prompts.
focus "Quorvel 1.0"
keys -M shift -k Tab -m shift -k space                   # Encrypt, with Encrypt Message open
sleep 0.5
[ "$(windows | grep -c '^Encrypt Message')" = 1 ] || fail "windows: $(windows | tr '\n' ' ')"
as_user swaymsg -q '[title="^Encrypt Message$"] kill'
focus "Quorvel 1.0"
keys -k space
focused "Encrypt Message"
keys -k Tab -k Tab -k Tab -k space                        # Copy To Clipboard
[ "$(clipboard)" = "Encrypted Message" ] || fail "the rebuilt window's output holds '$(clipboard)'"

# Closing the main window leaves the program running while another window is open.
as_user swaymsg -q '[title="^Quorvel 1.0$"] kill'
sleep 0.5
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended with its other windows open"
for title in "Encrypt Message" "Decrypt Message"; do
    as_user swaymsg -q "[title=\"^$title\$\"] kill"
    sleep 0.5
done
wait_for_end
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after the last window closed"

echo "1 passed, 0 failed"
