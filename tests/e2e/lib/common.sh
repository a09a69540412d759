# shellcheck shell=bash
# What the end-to-end tests (and scripts/soak) share: an X server and a work folder of their
# own, the program started without the desktop's session bus, its windows found by its
# process id, input sent to them, and the ways it is ended. CTest runs these tests in
# parallel, so nothing here looks a process or a window up by name across the machine.
#
# Source it, then call kalvo_under_x first of all, with the script's arguments:
#
#   source "$(dirname "$0")/lib/common.sh"
#   kalvo_under_x "$@"
#
#   kalvo_under_x "$@"        runs the script again in an X server of its own (xvfb-run -a,
#                             screen $KALVO_SCREEN, default 1024x768x24) and returns there. The
#                             session bus (DBUS_SESSION_BUS_ADDRESS) is a dead address: a
#                             program that asks for one fails at once instead of having
#                             dbus-x11 start a dbus-daemon that outlives it; the test fails
#                             when one was started all the same. Sets KALVO_TMP, a folder
#                             that goes at exit, and at exit kills every process kalvo_start
#                             started that is still running.
#   kalvo_under_x_with_bus "$@"
#                             the same with a session bus of its own (dbus-run-session), for
#                             the tests that talk to the accessibility bus.
#   kalvo_start CMD [ARG...]  starts CMD in the background; its process id in KALVO_PID.
#   kalvo_window PID [TITLE] [SECONDS]
#                             prints the id of the visible window of process PID whose title
#                             matches TITLE (an extended regex; default '^Kalvo ', the main
#                             window); fails when none appears within SECONDS (default 20).
#   kalvo_boxes PID           prints "id<TAB>title" of each visible window of PID that is not
#                             the main window (the message boxes), nothing when there is none.
#   kalvo_click WID X Y       raises WID and clicks at pixel X,Y of it.
#   kalvo_key WID KEY...      gives WID the keyboard focus and presses the keys (xdotool
#                             names: Return, ctrl+a, alt+q).
#   kalvo_type WID TEXT       gives WID the keyboard focus and types TEXT.
#   kalvo_close_box WID...    sends each window the request its close box sends
#                             (WM_DELETE_WINDOW); there is no window manager to do it.
#   kalvo_wait_exit PID [SECONDS]
#                             waits until PID, a child of this shell, ends, and returns its
#                             exit status; after SECONDS (default 20) kills it and returns 124.
#   kalvo_end PID [SECONDS]   SIGTERM to PID, then kalvo_wait_exit.

KALVO_E2E_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# No bus listens here, so asking for the session bus fails at once.
KALVO_DEAD_BUS=unix:path=/nonexistent/kalvo-e2e-bus
_kalvo_started=()

kalvo_under_x() {
    if [ "${_KALVO_IN_X:-}" = 1 ]; then
        unset _KALVO_IN_X
        _kalvo_bus=dead
        _kalvo_setup
        return 0
    fi
    exec xvfb-run -a -s "-screen 0 ${KALVO_SCREEN:-1024x768x24}" \
        env _KALVO_IN_X=1 DBUS_SESSION_BUS_ADDRESS="$KALVO_DEAD_BUS" bash "$0" "$@"
}

kalvo_under_x_with_bus() {
    if [ "${_KALVO_IN_X:-}" = 1 ]; then
        unset _KALVO_IN_X
        _kalvo_setup
        return 0
    fi
    exec xvfb-run -a -s "-screen 0 ${KALVO_SCREEN:-1024x768x24}" \
        dbus-run-session -- env _KALVO_IN_X=1 bash "$0" "$@"
}

_kalvo_setup() {
    KALVO_TMP=$(mktemp -d)
    trap _kalvo_cleanup EXIT
    # Qt wants a private runtime folder and says so on stderr when there is none.
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        export XDG_RUNTIME_DIR=$KALVO_TMP/runtime
        mkdir -m 700 "$XDG_RUNTIME_DIR"
    fi
}

_kalvo_cleanup() {
    local status=$? pid
    for pid in $(jobs -rp); do
        case " ${_kalvo_started[*]} " in
            *" $pid "*)
                kill -KILL "$pid" 2>/dev/null || true
                wait "$pid" 2>/dev/null || true
                ;;
        esac
    done
    # Where dbus-x11 is installed, a program that finds no session bus starts one for the
    # X server and leaves it running (strace -f, or anything else that waits for the
    # program's children, then waits for ever); its traces stay on the server.
    if [ "${_kalvo_bus:-}" = dead ] && xlsatoms 2>/dev/null | grep -q '_DBUS_SESSION_BUS_PID$'; then
        echo "a program of this test found no session bus and had one started for the X server:" \
            "keep DBUS_SESSION_BUS_ADDRESS as kalvo_under_x sets it" >&2
        status=1
    fi
    rm -rf "$KALVO_TMP"
    exit $status
}

# Succeeds while PID, a child of this shell, has not ended. The shell's own list of its
# children, unlike kill -0, cannot take another process that was given the number of one
# that ended for it (process ids come round again on a busy machine).
_kalvo_running() {
    [[ $'\n'$(jobs -rp)$'\n' == *$'\n'"$1"$'\n'* ]]
}

kalvo_start() {
    "$@" &
    KALVO_PID=$!
    _kalvo_started+=("$KALVO_PID")
}

kalvo_window() {
    local pid=$1 title=${2:-'^Kalvo '} seconds=${3:-20} wid
    wid=$(timeout "$seconds" xdotool search --sync --all --onlyvisible --pid "$pid" --name "$title" 2>/dev/null |
        head -n 1) || true
    [ -n "$wid" ] || return 1
    echo "$wid"
}

kalvo_boxes() {
    local wid name
    for wid in $(xdotool search --all --onlyvisible --pid "$1" --name '' 2>/dev/null); do
        name=$(xdotool getwindowname "$wid" 2>/dev/null) || continue
        case $name in "Kalvo "*) continue ;; esac
        printf '%s\t%s\n' "$wid" "$name"
    done
}

kalvo_click() {
    # No --sync on the move: it waits some 15 s for a pointer already at that place. The
    # server takes the move and the press in the order they are sent all the same.
    xdotool windowraise "$1" mousemove --window "$1" "$2" "$3" click 1
}

kalvo_key() {
    local wid=$1
    shift
    xdotool windowfocus --sync "$wid" key --clearmodifiers "$@"
}

kalvo_type() {
    xdotool windowfocus --sync "$1" type --clearmodifiers --delay 8 -- "$2"
}

kalvo_close_box() {
    if [ ! -x "$KALVO_TMP/close_request" ]; then
        # Built under a name of its own and renamed: windows closed together may race here.
        cc -O -o "$KALVO_TMP/close_request.$BASHPID" "$KALVO_E2E_LIB/close_request.c" -lX11 || return 1
        mv "$KALVO_TMP/close_request.$BASHPID" "$KALVO_TMP/close_request"
    fi
    "$KALVO_TMP/close_request" "$@"
}

kalvo_wait_exit() {
    local pid=$1 seconds=${2:-20} i status=0
    for ((i = 0; i < seconds * 10; i++)); do
        _kalvo_running "$pid" || break
        sleep 0.1
    done
    if _kalvo_running "$pid"; then
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        return 124
    fi
    wait "$pid" 2>/dev/null || status=$?  # no "Killed" line from the shell for a SIGKILL
    return $status
}

kalvo_end() {
    if _kalvo_running "$1"; then kill -TERM "$1" 2>/dev/null || true; fi
    kalvo_wait_exit "$@"
}
