#!/usr/bin/env bash
# Seeded random use of the whole program on a Wayland desktop, as random_use.sh sets out: typing,
# keys, hostile pastes through the Wayland clipboard, resizing, closing and reopening windows, half a
# minute unless told otherwise. The headless seat has no pointer: sway's seat cursor commands move a
# cursor no client is told of, so a click is made from the keyboard, as a keyboard user makes it:
# Tab or Shift+Tab to a control and Space, or the Menu key for a field's context menu.
#   wayland_random_use_test.sh path/to/quorvel
source "$(dirname "$0")/wayland.sh"
source "$(dirname "$0")/random_use.sh"

# The program's windows in sway's tree, "id title" a line; jq reads the tree in a fraction of the
# time Python takes to start.
program_windows() {
    as_user swaymsg -t get_tree |
        jq -r '.. | objects | select(.app_id? == "org.quorvel.Quorvel") | "\(.id) \(.name // "")"'
}

# Context menus are popups, which the tree does not list.
context_menu() { false; }

main_window_shown() { focused "Quorvel 1.0"; }

# Keys through a virtual keyboard of their own; the keyboard that stays keeps the seat's keyboard,
# so that they need no wait for one to arrive.
send() {
    as_user timeout 20 wtype "$@"
    sleep 0.1
}

# A key in xdotool's names, such as ctrl+a.
press_key() {
    local parts modifiers args=() modifier
    IFS=+ read -ra parts <<<"$1"
    modifiers=("${parts[@]:0:${#parts[@]}-1}")
    for modifier in "${modifiers[@]}"; do args+=(-M "$modifier"); done
    args+=(-k "${parts[-1]}")
    for modifier in "${modifiers[@]}"; do args+=(-m "$modifier"); done
    send "${args[@]}"
}

type_text() { send -- "$1"; }

select_window() { as_user swaymsg -q "[con_id=$1] focus"; }

click_anywhere() {
    local args=() count
    select_window "$1"
    case $(( RANDOM % 3 )) in
        0) for (( count = RANDOM % 6; count > 0; count-- )); do args+=(-k Tab); done ;;
        1) for (( count = 1 + RANDOM % 5; count > 0; count-- )); do args+=(-M shift -k Tab -m shift); done ;;
        2) send -k Menu; return ;;
    esac
    send "${args[@]}" -k space
}

set_clipboard() { as_user wl-copy --type 'text/plain;charset=utf-8' <"$1"; }

clear_clipboard() { as_user wl-copy --clear; }

resize_window() { as_user swaymsg -q "[con_id=$1] resize set $2 $3"; }

dismiss_window() { as_user swaymsg -q "[con_id=$1] kill"; }

# One of the main window's buttons, Tab by Tab from the one with the focus.
open_from_main() {
    local args=() count
    as_user swaymsg -q '[title="^Quorvel 1\.0$"] focus' || return 0
    for (( count = RANDOM % 3; count > 0; count-- )); do args+=(-k Tab); done
    send "${args[@]}" -k space
}

start_compositor
# A keyboard that stays, as on a desktop: without one, the program loses the keyboard focus whenever
# the keys' own virtual keyboard goes.
as_user wtype -s 3600000 &
PIDS+=($!)
start_program
main_window_shown
random_use 30
echo "1 passed, 0 failed"
