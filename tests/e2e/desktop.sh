# Shared by the end-to-end scripts: a virtual X display with a small window manager, the program on
# it, and helpers that act as a person would (clicks, typing, the clipboard).
source "$(dirname "${BASH_SOURCE[0]}")/session.sh"

# Starts Xvfb on a free display and openbox on it, bound as openbox.xml says.
start_desktop() {
    local fd_file
    fd_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
    PIDS+=($!)
    for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$fd_file")"
    rm -f "$fd_file"
    openbox --config-file "$(dirname "${BASH_SOURCE[0]}")/openbox.xml" >/dev/null 2>&1 &
    PIDS+=($!)
    sleep 0.5
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        XDG_RUNTIME_DIR=$(mktemp -d)
        CLEANUPS+=("rm -rf '$XDG_RUNTIME_DIR'")
    fi
    export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR
}

# Starts the program; after use_wine, the Windows program under Wine.
start_program() {
    if [ -n "${WINE:-}" ]; then
        "$WINE_RUN" "$WINE" "$WINE_PREFIX" --on-display "$PROGRAM" 2>/dev/null &
    else
        "$PROGRAM" 2>/dev/null &
    fi
    PROGRAM_PID=$!
    PIDS+=("$PROGRAM_PID")
}

# The program is the Windows one, run by this Wine in a Wine prefix of its own that goes with the
# script.
use_wine() {
    WINE=$1
    WINE_PREFIX=$(mktemp -d)
    WINE_RUN="$(dirname "${BASH_SOURCE[0]}")/../win32/wine.sh"
    CLEANUPS+=('"$WINE_RUN" "$WINE" "$WINE_PREFIX" --remove')
    "$WINE_RUN" "$WINE" "$WINE_PREFIX" --create || fail "no Wine prefix could be made"
}

# Prints the id of the visible window with exactly this title, waiting for it to appear and for the
# window manager to have placed it: clicks are aimed from where it is.
window() {
    local id geometry placed=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null || true)
            [ -n "$geometry" ] && [ "$geometry" = "$placed" ] && { echo "$id"; return 0; }
            placed=$geometry
        fi
        sleep 0.1
    done
    fail "no window '$1'"
}

# Clicks at a point in pixels from the top-left corner of a window's client area.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.2
}

# Closes a window through the window manager, as its close box does.
close_window() {
    wmctrl -i -c "$1"
    sleep 0.3
}

clipboard() { xclip -o -selection clipboard; }

# The clipboard's text once it is other than `$1`: a copy reaches other programs a moment after the
# click, later on a loaded machine and through Wine's clipboard bridge.
clipboard_other_than() {
    local text=""
    for _ in $(seq 50); do
        text=$(clipboard 2>/dev/null || true)
        [ "$text" != "$1" ] && break
        sleep 0.1
    done
    printf '%s' "$text"
}

# The road of one message, as a person takes it: open the Encrypt window from the main window, clear
# the prompt, type, encode, copy; open the Decrypt window, clear its prompt, paste, decode, copy; the
# copied message must be the typed one. The program must be running with only its main window open.
road_of_one_message() {
    local first_line='Meet 100% at 7:30, Room B-12! (bring $5 & "maps")'
    local second_line='Grüße'
    local message="$first_line"$'\n'"$second_line"
    local main encrypt decrypt coded decoded

    main=$(window "Quorvel 1.0")
    click "$main" 60 195                          # Encrypt
    encrypt=$(window "Encrypt Message")
    click "$encrypt" 212 52                       # into the prompt, which empties it
    xdotool type --delay 20 "$first_line"
    xdotool key Return
    # The non-ASCII line comes from another program's clipboard: xdotool types a letter that has no key
    # by remapping one, and on this virtual display the letter or the click after it is then
    # sometimes lost.
    printf '%s' "$second_line" | xclip -selection clipboard -i
    xdotool key ctrl+v
    click "$encrypt" 212 128                      # Encrypt Message
    click "$encrypt" 220 288                      # Copy To Clipboard
    coded=$(clipboard_other_than "$second_line")
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
    decoded=$(clipboard_other_than "$coded")
    [ "$decoded" = "$message" ] || fail "decoded '$decoded', expected '$message'"
}
