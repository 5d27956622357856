#!/usr/bin/env bash
# A minute of seeded random use of the whole program on a virtual X display, as random_use.sh sets
# out: clicks with every button anywhere in its windows, typing, keys, hostile pastes, resizing,
# closing and reopening windows.
#   random_use_test.sh path/to/quorvel
#   random_use_test.sh path/to/quorvel.exe path/to/wine64
source "$(dirname "$0")/desktop.sh"
source "$(dirname "$0")/random_use.sh"

program_windows() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" --name '.' 2>/dev/null || true); do
        echo "$id $(xdotool getwindowname "$id" 2>/dev/null || true)"
    done
}

context_menu() { xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'; }

main_window_shown() { window "Quorvel 1.0" >/dev/null; }

click_anywhere() {
    local id=$1 WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=')"
    xdotool mousemove --window "$id" $(( RANDOM % ${WIDTH:-1} )) $(( RANDOM % ${HEIGHT:-1} )) \
        click $(( 1 + RANDOM % 3 )) 2>/dev/null || true
}

type_text() { xdotool type --delay 5 "$1"; }

press_key() { xdotool key "$1"; }

# The clipboard and the selection, which a middle click pastes.
set_clipboard() {
    xclip -selection clipboard -i "$1"
    xclip -selection primary -i "$1"
}

# Both are empty once the programs that held them quit.
clear_clipboard() { pkill -x xclip || true; }

resize_window() { xdotool windowsize "$1" "$2" "$3"; }

dismiss_window() { wmctrl -i -c "$1"; }

open_from_main() {
    local main
    main=$(xdotool search --onlyvisible --pid "$PROGRAM_PID" --name '^Quorvel 1\.0$' 2>/dev/null | head -n 1 || true)
    [ -n "$main" ] || return 0
    xdotool windowactivate "$main" 2>/dev/null || true
    xdotool mousemove --window "$main" $(( 60 + 108 * (RANDOM % 3) )) 195 click 1 2>/dev/null || true
}

start_desktop
[ -z "${2:-}" ] || use_wine "$2"
start_program
main_window_shown
random_use 60
echo "1 passed, 0 failed"
