#!/usr/bin/env bash
# On a Wayland desktop, a copy the compositor refuses is reported, not passed over: the user clicks
# the copy button while the program is still busy with a long message, another program copies in the
# meantime, and the program's copy then comes with an input event older than the other program's.
source "$(dirname "$0")/wayland.sh"
start_compositor
# A keyboard that stays, as on a desktop: without one, the program loses the keyboard focus when
# the keys' own virtual keyboard goes, and no compositor answers a copy without it.
as_user wtype -s 600000 &
PIDS+=($!)
start_program
focused "Quorvel 1.0"
keys -k space
focused "Encrypt Message"

head -c 1572864 /dev/urandom | base64 -w0 >"$RUNTIME/long"
as_user wl-copy <"$RUNTIME/long"
keys -M ctrl -k a -k v -m ctrl
# The program stands still, as one busy with a long message does, while the user runs the pass and
# copies and another program copies; it then takes the user's keys, older than the other copy.
program=$(pgrep -u "$USER_NAME" -f "^$RUNTIME/quorvel\$")
kill -STOP "$program"
keys -k Tab -k space -k Tab -k Tab -k space
as_user wl-copy "another program's text"
# runuser stops itself when its child stops, and goes on when told to.
kill -CONT "$program" "$(ps -o ppid= -p "$program")"

# The error report's message box carries the program's name.
for _ in $(seq 60); do
    windows | grep -qxF 'Quorvel*' && break
    sleep 0.5
done
focused "Quorvel"
[ "$(clipboard)" = "another program's text" ] || fail "the clipboard holds '$(clipboard | head -c 40)'"
keys -k space
wait_for_end
[ "$EXIT_STATUS" != 0 ] || fail "exit status 0 after a refused copy"

echo "1 passed, 0 failed"
