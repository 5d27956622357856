#!/usr/bin/env bash
# Typing through a real input method: IBus with m17n's RFC 1345 table, where "&" starts a mnemonic
# that is composed in a pre-edit until it is complete. While a letter is being composed the field
# draws the pre-edit at the caret but its text, as a screen reader reads it, is unchanged; what the
# input method commits lands in the text once, and the pre-edit never does. Then Chinese, through
# m17n's tonal pinyin, right after the click that empties the Decrypt window's prompt: the input
# method is told where the caret is, before the first key and while composing, so that its candidate
# window opens at the caret; a click while composing commits what the input method shows.
# IBus and the accessibility bus live in a D-Bus session of the test's own.
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ -n "${QUORVEL_OWN_BUS:-}" ] ||
    QUORVEL_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/desktop.sh"

SKIPPED=77
plugin=/usr/lib/x86_64-linux-gnu/qt6/plugins/platforminputcontexts/libibusplatforminputcontextplugin.so
[ -e "$plugin" ] || { echo "SKIP: this Qt has no IBus input context"; exit "$SKIPPED"; }

start_desktop
# IBus keeps its address and its cache under the test's own folders, and its settings in memory.
ime_home=$(mktemp -d)
CLEANUPS+=("rm -rf '$ime_home'")
export XDG_CONFIG_HOME="$ime_home/config" XDG_CACHE_HOME="$ime_home/cache" GSETTINGS_BACKEND=memory
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
PIDS+=($!)
ibus-daemon --panel=disable --emoji-extension=disable --replace >/dev/null 2>&1 &
PIDS+=($!)
engine=m17n:t:rfc1345
for _ in $(seq 100); do
    ibus engine "$engine" >/dev/null 2>&1 || true
    [ "$(ibus engine 2>/dev/null)" = "$engine" ] && break
    sleep 0.1
done
[ "$(ibus engine 2>/dev/null)" = "$engine" ] || fail "IBus did not take up the engine $engine"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_IM_MODULE=ibus
start_program

reader="$(dirname "$0")/field_reader.py"
# Debian's own Python, which has the accessibility bindings. Sets CARET, CARET_X, CARET_Y, HEIGHT
# and TEXT from the input field, once it holds $1 or two seconds have passed.
read_field() {
    local answer
    answer=$(/usr/bin/python3 "$reader" "${CAPTION:-Encrypt Message}" "${FIELD:-Message to encrypt}" "$1") ||
        fail "the input field through the accessibility bus"
    read -r CARET CARET_X CARET_Y HEIGHT <<<"${answer%%$'\n'*}"
    # An empty text leaves no line after the numbers.
    TEXT=""
    if [[ "$answer" == *$'\n'* ]]; then TEXT=${answer#*$'\n'}; fi
}
expect_field() {
    read_field "$2"
    [ "$TEXT" = "$2" ] || fail "$1: the field holds '$TEXT', expected '$2'"
    [ "$CARET" = "$3" ] || fail "$1: the caret is at $CARET, expected $3"
}
# Three columns of pixels a little right of the caret's place after "Gr": inside the first
# character drawn there, and clear of the caret both before it moves and after.
strip() { import -window root -crop "3x$HEIGHT+$((CARET_X + 2))+$CARET_Y" rgb:- | md5sum; }

main=$(window "Quorvel 1.0")
click "$main" 60 195                          # Encrypt
encrypt=$(window "Encrypt Message")
click "$encrypt" 212 52                       # into the prompt, which empties it
xdotool type --delay 40 "Gr"
expect_field "plain letters through the input method" "Gr" 2
empty=$(strip)

xdotool type --delay 40 "&"
drawn=""
for _ in $(seq 20); do
    [ "$(strip)" != "$empty" ] && { drawn=yes; break; }
    sleep 0.1
done
[ -n "$drawn" ] || fail "nothing drawn after the caret while '&' is composed"
expect_field "while '&' is composed" "Gr" 2
xdotool type --delay 40 "u:"
expect_field "while '&u:' is composed" "Gr" 2
# "&u:" could still go on to "&u:-" and the like: the next "&" commits "ü" and starts "&ss", which
# is complete and commits "ß" at once.
xdotool type --delay 40 "&ss"
expect_field "after '&u:' and '&ss'" "Grüß" 4
xdotool type --delay 40 "e"
expect_field "after a plain 'e'" "Grüße" 5

# The same text reaches another program.
xdotool key ctrl+a ctrl+c
copied=$(clipboard_other_than "")
[ "$copied" = "Grüße" ] || fail "the field copied '$copied', expected 'Grüße'"

# Where the program tells IBus the caret is, as IBus's candidate window reads it: the last
# SetCursorLocation on IBus's own bus, as "x y".
monitor=$(mktemp)
CLEANUPS+=("rm -f '$monitor'")
dbus-monitor --address "$(ibus address)" \
    "type='method_call',interface='org.freedesktop.IBus.InputContext',member='SetCursorLocation'" >"$monitor" 2>&1 &
PIDS+=($!)
told() { grep -A2 'member=SetCursorLocation' "$monitor" | grep -o 'int32 -\?[0-9]*' | tail -n 2 | cut -d' ' -f2 | paste -sd' '; }
expect_told_near() {
    local x y
    for _ in $(seq 20); do
        read -r x y <<<"$(told)"
        [ -n "$x" ] && [ $((x - $2)) -ge 0 ] && [ $((x - $2)) -le "$3" ] && [ $((y - CARET_Y)) -ge -2 ] &&
            [ $((y - CARET_Y)) -le 2 ] && return 0
        sleep 0.1
    done
    fail "$1: IBus was told the caret is at $x,$y; the caret is at $2,$CARET_Y (and up to $3 to the right)"
}

for _ in $(seq 100); do
    ibus engine m17n:zh:tonepy >/dev/null 2>&1 || true
    [ "$(ibus engine 2>/dev/null)" = m17n:zh:tonepy ] && break
    sleep 0.1
done
xdotool windowactivate --sync "$main"
click "$main" 276 195                         # Decrypt
decrypt=$(window "Decrypt Message")
click "$decrypt" 212 52                       # into the prompt, which empties it
CAPTION="Decrypt Message" FIELD="Coded text to decrypt"
expect_field "after the click into the prompt" "" 0
start_x=$CARET_X
expect_told_near "after the click into the prompt" "$start_x" 2
xdotool type --delay 60 "ni3"
expect_field "while 'ni3' is composed" "" 0
# The pre-edit holds the candidate 你 now, and the input method's cursor after it.
expect_told_near "while composing" "$((start_x + 4))" "$((2 * HEIGHT))"
xdotool type --delay 60 " "
expect_field "after choosing the first candidate" "你" 1
# A click while composing has the input method complete its composition, as it shows it, first.
xdotool type --delay 60 "ni3"
expect_field "while 'ni3' is composed again" "你" 1
click "$decrypt" 212 52
read_field "你你"
[ "$TEXT" = "你你" ] || fail "a click while composing: the field holds '$TEXT', expected '你你'"
echo "1 passed, 0 failed"
