#!/usr/bin/env bash
# Seeded random use of the whole program for a bounded time: clicks with every button anywhere in its
# windows, typing, keys and shortcuts, pastes of hostile clipboard text, resizing, closing and
# reopening windows, and a restart whenever the last window closed. It fails on a crash, a non-zero
# exit or an error box; at its end a message must still make the exact round trip.
# QUORVEL_SEED replays a run; QUORVEL_RANDOM_SECONDS sets its length.
#   random_use_test.sh path/to/quorvel
#   random_use_test.sh path/to/quorvel.exe path/to/wine64
source "$(dirname "$0")/desktop.sh"

seed=${QUORVEL_SEED:-$(( $(date +%s%N) % 1000000 ))}
seconds=${QUORVEL_RANDOM_SECONDS:-60}
echo "seed $seed (replay: QUORVEL_SEED=$seed)"
RANDOM=$seed

fail_run() { fail "$* (seed $seed)"; }

# Hostile clipboard texts, as files: a shell variable cannot hold NUL.
texts=$(mktemp -d)
CLEANUPS+=('rm -rf "$texts"')
printf '%%' >"$texts/escape"
printf '%%K7B %%%%%%Q5H1 %%Z0Z9%%' >"$texts/fragments"
printf 'a\u00a0b\u00a0\u00a0c' >"$texts/nbsp"
printf 'line\u2028separator\u2029paragraph\r\nCR LF\rCR' >"$texts/separators"
printf 'e\u0301\u0327\u0308 a\u20dd \u0915\u094d\u0937' >"$texts/combining"
printf '\u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627 \u202eevil\u202c' >"$texts/right-to-left"
printf '\U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F3F3\uFE0F\u200D\U0001F308 \U0001F44D\U0001F3FD' >"$texts/emoji"
printf 'a\0b\x01\x07\x08\x1b[31m\x7f\t\v\f end' >"$texts/controls"
head -c 30000 /dev/urandom | base64 -w0 >"$texts/unbroken"
for _ in $(seq 6000); do printf '%%K7B20'; done >"$texts/coded"
hostile=("$texts"/*)

keys=(Return Tab shift+Tab BackSpace Delete space Escape ctrl+a ctrl+c ctrl+x ctrl+v ctrl+z shift+Insert alt+F4
      Home End Up Down Page_Down)
captions='^(Quorvel 1\.0|Encrypt Message|Decrypt Message|About Quorvel 1\.0!)$'

pick() { echo $(( RANDOM % $1 )); }

program_windows() { xdotool search --onlyvisible --pid "$PROGRAM_PID" --name '.' 2>/dev/null || true; }

# Fails on a window the program should not show, such as the error report's box; the fields'
# context menus come and go.
check_windows() {
    local id name
    for id in $(program_windows); do
        name=$(xdotool getwindowname "$id" 2>/dev/null || true)
        [ -z "$name" ] || [[ "$name" =~ $captions ]] && continue
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && continue
        fail_run "the program shows a window '$name'"
    done
}

# Restarts the program once it has ended by itself, which it may only do with status 0.
check_running() {
    kill -0 "$PROGRAM_PID" 2>/dev/null && return 0
    local status=0
    wait "$PROGRAM_PID" || status=$?
    [ "$status" = 0 ] || fail_run "the program ended with status $status"
    start_program
    window "Quorvel 1.0" >/dev/null
}

random_window() {
    local windows
    mapfile -t windows < <(program_windows)
    [ ${#windows[@]} -gt 0 ] && echo "${windows[$(pick ${#windows[@]})]}"
}

click_anywhere() {
    local id=$1 WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=')"
    xdotool mousemove --window "$id" $(( RANDOM % ${WIDTH:-1} )) $(( RANDOM % ${HEIGHT:-1} )) \
        click $(( 1 + $(pick 3) )) 2>/dev/null || true
}

# Pastes a hostile text, or from an empty clipboard and selection: the programs that held them quit.
paste_hostile() {
    local text=${hostile[$(pick ${#hostile[@]})]}
    if [ "$(pick 4)" = 0 ]; then
        pkill -x xclip || true
    else
        xclip -selection clipboard -i "$text"
        xclip -selection primary -i "$text"
    fi
    case $(pick 3) in
        0) xdotool key ctrl+v ;;
        1) xdotool key shift+Insert ;;
        2) [ -n "${1:-}" ] && click_anywhere "$1" ;;
    esac
}

open_from_main() {
    local main
    main=$(xdotool search --onlyvisible --pid "$PROGRAM_PID" --name '^Quorvel 1\.0$' 2>/dev/null | head -n 1 || true)
    [ -n "$main" ] || return 0
    xdotool windowactivate "$main" 2>/dev/null || true
    xdotool mousemove --window "$main" $(( 60 + 108 * $(pick 3) )) 195 click 1 2>/dev/null || true
}

start_desktop
[ -z "${2:-}" ] || use_wine "$2"
start_program
window "Quorvel 1.0" >/dev/null

# One random action; a window may vanish under it, which is no failure of the program.
act() {
    local id
    id=$(random_window || true)
    case $(pick 10) in
        0 | 1) [ -n "$id" ] && click_anywhere "$id" ;;
        2) xdotool type --delay 5 "$(head -c $(( 1 + $(pick 20) )) /dev/urandom | base64 | tr -d '\n/+=')" ;;
        3 | 4) xdotool key "${keys[$(pick ${#keys[@]})]}" ;;
        5 | 6) paste_hostile "$id" ;;
        7) [ -n "$id" ] && [[ "$(xdotool getwindowname "$id")" == *Crypt* ]] &&
               xdotool windowsize "$id" $(( 120 + $(pick 800) )) $(( 80 + $(pick 600) )) ;;
        8) [ -n "$id" ] && [ "$(pick 3)" = 0 ] && wmctrl -i -c "$id" ;;
        9) open_from_main ;;
    esac
}

actions=0
end=$(( SECONDS + seconds ))
while [ $SECONDS -lt $end ]; do
    act 2>/dev/null || true
    sleep 0.05
    actions=$(( actions + 1 ))
    check_windows
    check_running
done
echo "$actions random actions"

# Every window closed: the program ends with status 0; started again, it carries a message exactly.
for id in $(program_windows); do wmctrl -i -c "$id" 2>/dev/null || true; done
for _ in $(seq 50); do
    [ -z "$(program_windows)" ] && break
    for id in $(program_windows); do wmctrl -i -c "$id" 2>/dev/null || true; done
    sleep 0.1
done
wait_for_end
[ "$EXIT_STATUS" = 0 ] || fail_run "the program ended with status $EXIT_STATUS after its last window closed"
start_program
road_of_one_message
echo "1 passed, 0 failed"
