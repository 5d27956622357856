# Shared by both desktops of the end-to-end scripts: strict shell, UTF-8 whatever the caller's
# locale, the processes a script starts ended with it, and waiting for the program's end.
set -euo pipefail
export LC_ALL=C.UTF-8

PROGRAM=${1:?usage: $0 path/to/quorvel}
PIDS=()
# Commands that remove what a script or its desktop leaves behind, run at its end.
CLEANUPS=()

cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    for command in "${CLEANUPS[@]}"; do eval "$command" || true; done
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits for the program to end and sets EXIT_STATUS; fails if it runs on. It runs in the script's
# own shell, which alone can collect the program's status.
wait_for_end() {
    for _ in $(seq 100); do
        if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            EXIT_STATUS=0
            wait "$PROGRAM_PID" || EXIT_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    fail "the program is still running"
}
