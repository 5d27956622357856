# Shared by the Wayland end-to-end scripts: sway without a display, run as an unprivileged user
# (sway refuses to run as root), the program on it, keys through a virtual keyboard, and the
# clipboard through wl-paste. The headless seat has no pointer, so the program is driven from the
# keyboard, as a keyboard user would.
source "$(dirname "${BASH_SOURCE[0]}")/session.sh"
USER_NAME=quorvel-wayland

# The compositor's user may have started more than the script knows of.
CLEANUPS+=('pkill -u "$USER_NAME" 2>/dev/null' 'rm -rf "${RUNTIME:-/nonexistent}"')

as_user() {
    runuser -u "$USER_NAME" -- env XDG_RUNTIME_DIR="$RUNTIME" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
        SWAYSOCK="$SWAYSOCK" QT_QPA_PLATFORM=wayland LC_ALL=C.UTF-8 "$@"
}

# Starts sway on a headless output of its own, with the program's windows floating at the sizes
# they ask for, as on a stacking desktop.
start_compositor() {
    id "$USER_NAME" >/dev/null 2>&1 || useradd --system --create-home "$USER_NAME"
    RUNTIME=$(mktemp -d)
    chown "$USER_NAME" "$RUNTIME"
    chmod 700 "$RUNTIME"
    cat >"$RUNTIME/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1024x768
for_window [app_id="org.quorvel.Quorvel"] floating enable
CONF
    # The program runs from the user's own folder, whatever folder the build is in.
    install -m 755 -o "$USER_NAME" "$PROGRAM" "$RUNTIME/quorvel"
    runuser -u "$USER_NAME" -- env XDG_RUNTIME_DIR="$RUNTIME" WLR_BACKENDS=headless WLR_RENDERER=pixman \
        WLR_LIBINPUT_NO_DEVICES=1 sway -c "$RUNTIME/sway.conf" >"$RUNTIME/sway.log" 2>&1 &
    PIDS+=($!)
    for _ in $(seq 100); do
        WAYLAND_DISPLAY=$(cd "$RUNTIME" && ls wayland-[0-9] 2>/dev/null | head -n 1 || true)
        SWAYSOCK=$(ls "$RUNTIME"/sway-ipc.*.sock 2>/dev/null | head -n 1 || true)
        [ -n "$WAYLAND_DISPLAY" ] && [ -n "$SWAYSOCK" ] && return 0
        sleep 0.1
    done
    fail "sway did not start: $(cat "$RUNTIME/sway.log")"
}

start_program() {
    as_user "$RUNTIME/quorvel" 2>/dev/null &
    PROGRAM_PID=$!
    PIDS+=("$PROGRAM_PID")
}

# The titles of the program's windows, the focused one marked with a star.
windows() {
    as_user swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("app_id") == "org.quorvel.Quorvel":
        print(node["name"] + ("*" if node["focused"] else ""))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}

# Waits for the window with this title to have the keyboard focus.
focused() {
    for _ in $(seq 100); do
        windows | grep -qxF "$1*" && return 0
        sleep 0.1
    done
    fail "'$1' does not have the focus; windows: $(windows | tr '\n' ' ')"
}

focus() {
    as_user swaymsg -q "[title=\"^$1\$\"] focus"
    focused "$1"
}

# Sends keys, as wtype arguments. A virtual keyboard is new to the program each time: it is given a
# moment to arrive before the first key.
keys() {
    as_user timeout 60 wtype -s 700 "$@" -s 500
    sleep 0.3
}

clipboard() { as_user timeout 20 wl-paste --no-newline; }

# The road of one message from the keyboard: from the main window with the focus on Encrypt, into
# the Encrypt window, type, encode, copy; to the main window, Decrypt, paste, decode, copy; the
# copied message must be the typed one. The program must be running with only its main window open.
road_of_one_message() {
    local first_line='Meet 100% at 7:30, Room B-12! (bring $5 & "maps")'
    local second_line='Grüße'
    local message="$first_line"$'\n'"$second_line"
    local coded decoded

    focused "Quorvel 1.0"
    keys -k space                                             # Encrypt, which has the focus
    focused "Encrypt Message"
    # The prompt is selected and typed over; Tab leads to "Encrypt Message", Text2, "Copy To Clipboard".
    keys -M ctrl -k a -m ctrl "$first_line" -k Return "$second_line" -k Tab -k space -k Tab -k Tab -k space
    coded=$(clipboard)
    case "$coded" in
        %*) ;;
        *) fail "the clipboard holds no coded text: $coded" ;;
    esac

    focus "Quorvel 1.0"
    keys -k Tab -k space                                      # Decrypt
    focused "Decrypt Message"
    # The focus starts on "Decrypt Message"; Text1 is two Tabs on.
    keys -k Tab -k Tab -M ctrl -k a -k v -m ctrl -M shift -k Tab -k Tab -m shift -k space -k Tab -k space
    decoded=$(clipboard)
    [ "$decoded" = "$message" ] || fail "decoded '$decoded', expected '$message'"
}
