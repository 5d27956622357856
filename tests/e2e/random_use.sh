# Shared by the random-use scripts of every desktop: seeded random use of the whole program for a
# bounded time (clicks, typing, keys and shortcuts, pastes of hostile clipboard text, resizing,
# closing and reopening windows, and a restart whenever the last window closed), failing on a crash,
# a non-zero exit or an error box; at its end a message must still make the exact round trip.
# QUORVEL_SEED replays a run's choices; QUORVEL_RANDOM_SECONDS sets its length.
#
# The script that sources it drives its desktop through these functions:
#   program_windows          one line per shown window of the program: its id, a space, its title
#   context_menu ID          whether the window is a field's context menu, which comes and goes
#   main_window_shown        waits for the main window after a start
#   click_anywhere ID        a click with any button somewhere in the window
#   type_text TEXT, press_key KEY (xdotool's names, such as ctrl+a)
#   set_clipboard FILE, clear_clipboard
#   resize_window ID WIDTH HEIGHT, dismiss_window ID (as its close box does)
#   open_from_main           a click on one of the main window's buttons
#   road_of_one_message      the road of one message, from a program showing only its main window

seed=${QUORVEL_SEED:-$(( $(date +%s%N) % 1000000 ))}
echo "seed $seed (replay: QUORVEL_SEED=$seed)"
# Every choice draws from RANDOM in the script's own shell: a subshell, as $(...) makes, draws from
# a generator seeded afresh.
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
letters=(A B C D E F G H I J K L M N O P Q R S T U V W X Y Z a b c d e f g h i j k l m n o p q r s t u v w x y z
         0 1 2 3 4 5 6 7 8 9)

# The program's shown windows, "id title" a line, as last listed.
shown=()
list_windows() { mapfile -t shown < <(program_windows); }

# Fails on a window the program should not show, such as the error report's box.
check_windows() {
    local line id title
    for line in "${shown[@]}"; do
        id=${line%% *}
        title=${line#* }
        [ "$title" = "$id" ] && title=""
        [ -z "$title" ] || [[ "$title" =~ $captions ]] && continue
        context_menu "$id" && continue
        fail_run "the program shows a window '$title'"
    done
}

# Restarts the program once it has ended by itself, which it may only do with status 0.
check_running() {
    kill -0 "$PROGRAM_PID" 2>/dev/null && return 0
    local status=0
    wait "$PROGRAM_PID" || status=$?
    [ "$status" = 0 ] || fail_run "the program ended with status $status"
    start_program
    main_window_shown
}

# Pastes a hostile text, or from an empty clipboard; the last way is a middle click where the
# desktop has one.
paste_hostile() {
    if [ $(( RANDOM % 4 )) = 0 ]; then
        clear_clipboard
    else
        set_clipboard "${hostile[RANDOM % ${#hostile[@]}]}"
    fi
    case $(( RANDOM % 3 )) in
        0) press_key ctrl+v ;;
        1) press_key shift+Insert ;;
        2) [ -n "$1" ] && click_anywhere "$1" ;;
    esac
}

# One random action on a window picked from those last listed; a window may vanish under it, which
# is no failure of the program.
act() {
    local id="" title="" line text="" count
    if [ ${#shown[@]} -gt 0 ]; then
        line=${shown[RANDOM % ${#shown[@]}]}
        id=${line%% *}
        title=${line#* }
    fi
    case $(( RANDOM % 10 )) in
        0 | 1) [ -n "$id" ] && click_anywhere "$id" ;;
        2)
            for (( count = 1 + RANDOM % 20; count > 0; count-- )); do text+=${letters[RANDOM % ${#letters[@]}]}; done
            type_text "$text"
            ;;
        3 | 4) press_key "${keys[RANDOM % ${#keys[@]}]}" ;;
        5 | 6) paste_hostile "$id" ;;
        7) [ -n "$id" ] && [[ "$title" == *Crypt* ]] && resize_window "$id" $(( 120 + RANDOM % 800 )) $(( 80 + RANDOM % 600 )) ;;
        8) [ -n "$id" ] && [ $(( RANDOM % 3 )) = 0 ] && dismiss_window "$id" ;;
        9) open_from_main ;;
    esac
}

# Random use for QUORVEL_RANDOM_SECONDS, or the given number of seconds, of the running program;
# then every window closed, the program must end with status 0, and started again carry a message
# exactly.
random_use() {
    local seconds=${QUORVEL_RANDOM_SECONDS:-$1} actions=0 end line
    end=$(( SECONDS + seconds ))
    list_windows
    while [ $SECONDS -lt $end ]; do
        act 2>/dev/null || true
        sleep 0.05
        actions=$(( actions + 1 ))
        check_running
        list_windows
        check_windows
    done
    echo "$actions random actions"
    sleep 0.5
    check_running
    list_windows
    check_windows

    for _ in $(seq 50); do
        list_windows
        [ ${#shown[@]} = 0 ] && break
        for line in "${shown[@]}"; do dismiss_window "${line%% *}" 2>/dev/null || true; done
        sleep 0.1
    done
    [ ${#shown[@]} = 0 ] || fail_run "windows stay open after every one was closed: ${shown[*]}"
    wait_for_end
    [ "$EXIT_STATUS" = 0 ] || fail_run "the program ended with status $EXIT_STATUS after its last window closed"
    start_program
    road_of_one_message
}
