# shellcheck shell=bash
# What the end-to-end tests (and scripts/soak) share: an X server and a work folder of their
# own, the program started without the desktop's session bus, its windows found by its
# process id, input sent to them, and the ways it is ended. CTest runs these tests in
# parallel, so nothing here looks a process or a window up by name across the machine.
#
# Source it, then call kalvo_under_x (or one of the two other set-ups below) first of all,
# with the script's arguments:
#
#   source "$(dirname "$0")/lib/common.sh"
#   kalvo_under_x "$@"
#
#   kalvo_under_x "$@"        runs the script again in an X server of its own (xvfb-run -a,
#                             screen $KALVO_SCREEN, default 1024x768x24; never reset, see
#                             _kalvo_server_args) and returns there. The session bus
#                             (DBUS_SESSION_BUS_ADDRESS) is a dead address: a program
#                             that asks for one fails at once instead of having
#                             dbus-x11 start a dbus-daemon that outlives it; the test fails
#                             when one was started all the same. Sets KALVO_TMP, a folder
#                             that goes at exit, and at exit kills every process kalvo_start
#                             started that is still running.
#   kalvo_under_x_with_bus "$@"
#                             the same with a session bus of its own (dbus-run-session), for
#                             the tests that talk to the accessibility bus.
#   kalvo_under_own_x "$@"    for a test that ends its X server itself: the same set-up
#                             and dead session bus in the script's own shell, but no X
#                             server yet (DISPLAY is unset); kalvo_x_start starts one.
#   kalvo_x_start             starts an X server of the test's own (Xvfb, screen as above) on
#                             a display number the server picks itself, and points DISPLAY
#                             at it; its process id in KALVO_XPID.
#   kalvo_x_kill              kills that server with SIGKILL, as when a session crashes, and
#                             waits until it has gone.
#
#   Each set-up points HOME and XDG_STATE_HOME into KALVO_TMP (home/ and state/, created),
#   so that a copy kept in the home folder or a journal of a save stays in the test.
#
#   kalvo_fail MESSAGE...     says MESSAGE, after "$KALVO_CASE: " when the script names the
#                             case it is at in KALVO_CASE, and ends the test with status 1.
#                             Call it from the script's own shell, not from inside $( ).
#   kalvo_event_file [TABLE]  prints a user's event file: the program's header and version,
#                             the window line with era table TABLE (default 2), no flags,
#                             TODAY, a comment line and the one entry a@2003/9/14, in code
#                             page 932 with CR LF line ends.
#   kalvo_start CMD [ARG...]  starts CMD in the background; its process id in KALVO_PID.
#   kalvo_open CMD [ARG...]   kalvo_start, then waits for the main window and a moment more
#                             for it to take input; its id in KALVO_WID. Fails the test when
#                             no window appears (naming the boxes that came up instead).
#   kalvo_window PID [TITLE] [SECONDS]
#                             prints the id of the visible window of process PID whose title
#                             matches TITLE (an extended regex; default '^Kalvo ', the main
#                             window); fails when none appears within SECONDS (default 20).
#   kalvo_boxes PID           prints "id<TAB>title" of each visible window of PID that has a
#                             title and is not the main window (the message boxes), nothing
#                             when there is none.
#   kalvo_box PID TITLE [SECONDS]
#                             waits for the box of PID titled exactly TITLE and a moment more
#                             for it to take keys; its id in KALVO_BOX. Fails the test when
#                             none appears within SECONDS (default 20).
#   kalvo_click WID X Y       raises WID and clicks at pixel X,Y of it.
#   kalvo_key WID KEY...      gives WID the keyboard focus and presses the keys (xdotool
#                             names: Return, ctrl+a, alt+q).
#   kalvo_type WID TEXT       gives WID the keyboard focus and types TEXT.
#   kalvo_tick WID            clicks the check box 起算日含む of the main window WID: a
#                             change to save, kept on line 4 of the event file.
#   kalvo_ticked FILE         succeeds when the event file FILE holds that tick.
#   kalvo_ask_end PID WID     clicks the 終了 button of the main window WID of process PID
#                             and waits, as kalvo_box does, for the end question (titled
#                             終了; "変更を保存しますか？" with a change to save).
#   kalvo_close_box WID...    sends each window the request its close box sends
#                             (WM_DELETE_WINDOW); there is no window manager to do it.
#   kalvo_wait_exit PID [SECONDS]
#                             waits until PID, a child of this shell, ends, and returns its
#                             exit status; after SECONDS (default 20) kills it and returns 124.
#   kalvo_end PID [SECONDS]   SIGTERM to PID, then kalvo_wait_exit.
#   kalvo_expect_exit STATUS PID [SECONDS]
#                             kalvo_wait_exit, and fails the test unless PID ended by itself
#                             with STATUS.
#   kalvo_expect_end STATUS PID [SECONDS]
#                             kalvo_end, and fails the test unless PID ended with STATUS.

KALVO_E2E_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# No bus listens here, so asking for the session bus fails at once.
KALVO_DEAD_BUS=unix:path=/nonexistent/kalvo-e2e-bus
_kalvo_started=()

# The arguments of every X server started here. -noreset: a server that resets when its
# last client has gone refuses the connections that come in meanwhile, and clients come and
# go all the time here (every xdotool call is one), also while a program starts and connects.
_kalvo_server_args() {
    echo "-screen 0 ${KALVO_SCREEN:-1024x768x24} -noreset"
}

kalvo_under_x() {
    if [ "${_KALVO_IN_X:-}" = 1 ]; then
        unset _KALVO_IN_X
        _kalvo_bus=dead
        _kalvo_setup
        return 0
    fi
    exec xvfb-run -a -s "$(_kalvo_server_args)" \
        env _KALVO_IN_X=1 DBUS_SESSION_BUS_ADDRESS="$KALVO_DEAD_BUS" bash "$0" "$@"
}

kalvo_under_x_with_bus() {
    if [ "${_KALVO_IN_X:-}" = 1 ]; then
        unset _KALVO_IN_X
        _kalvo_setup
        return 0
    fi
    exec xvfb-run -a -s "$(_kalvo_server_args)" \
        dbus-run-session -- env _KALVO_IN_X=1 bash "$0" "$@"
}

kalvo_under_own_x() {
    unset DISPLAY
    export DBUS_SESSION_BUS_ADDRESS=$KALVO_DEAD_BUS
    _kalvo_bus=dead
    _kalvo_setup
}

_kalvo_setup() {
    KALVO_TMP=$(mktemp -d)
    trap _kalvo_cleanup EXIT
    # Qt wants a private runtime folder and says so on stderr when there is none.
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        export XDG_RUNTIME_DIR=$KALVO_TMP/runtime
        mkdir -m 700 "$XDG_RUNTIME_DIR"
    fi
    export HOME=$KALVO_TMP/home XDG_STATE_HOME=$KALVO_TMP/state
    mkdir "$HOME" "$XDG_STATE_HOME"
}

# Succeeds when a program found no session bus and had dbus-x11 start one for the X
# server: such a bus outlives the program (strace -f, or anything else that waits for the
# program's children, then waits for ever), and its traces stay on the server.
_kalvo_bus_started() {
    # grep -c reads to the end: with -q, xlsatoms could die of a closed pipe, and pipefail
    # would then take the atom for missing.
    [ "${_kalvo_bus:-}" = dead ] && xlsatoms 2>/dev/null | grep -c '_DBUS_SESSION_BUS_PID$' >/dev/null
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
    if [ "${_kalvo_bus_seen:-}" = 1 ] || _kalvo_bus_started; then
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

kalvo_x_start() {
    local display=$KALVO_TMP/display i
    : >"$display"
    # shellcheck disable=SC2046
    kalvo_start Xvfb -displayfd 3 -nolisten tcp $(_kalvo_server_args) \
        3>"$display" 2>>"$KALVO_TMP/xvfb.log"
    KALVO_XPID=$KALVO_PID
    # The server writes its display number there once it takes connections.
    for ((i = 0; i < 300; i++)); do
        if [ -s "$display" ] || ! _kalvo_running "$KALVO_XPID"; then break; fi
        sleep 0.1
    done
    [ -s "$display" ] || { cat "$KALVO_TMP/xvfb.log"; kalvo_fail "Xvfb did not start"; }
    DISPLAY=":$(head -n 1 "$display")"
    export DISPLAY
}

kalvo_x_kill() {
    # The bus check of the end of the test needs the server.
    if _kalvo_bus_started; then _kalvo_bus_seen=1; fi
    if _kalvo_running "$KALVO_XPID"; then kill -KILL "$KALVO_XPID" 2>/dev/null || true; fi
    wait "$KALVO_XPID" 2>/dev/null || true
}

kalvo_fail() {
    echo "${KALVO_CASE:+$KALVO_CASE: }$*"
    exit 1
}

kalvo_event_file() {
    # ' 自分の設定 / Ver.2.16 / window line / flags / TODAY / 0 / ' コメント / one entry
    printf "' \x8e\xa9\x95\xaa\x82\xcc\x90\xdd\x92\xe8\r\nVer.2.16\r\n0,0,0,%d\r\n 0 \r\nTODAY\r\n0\r\n' \x83\x52\x83\x81\x83\x93\x83\x67\r\na@2003/9/14\r\n" "${1:-2}"
}

kalvo_start() {
    "$@" &
    KALVO_PID=$!
    _kalvo_started+=("$KALVO_PID")
}

kalvo_open() {
    local boxes
    kalvo_start "$@"
    # A box at start (a file that cannot be read, say) comes before the window.
    if ! KALVO_WID=$(kalvo_window "$KALVO_PID"); then
        boxes=$(kalvo_boxes "$KALVO_PID" | cut -f 2 | paste -s -d ,)
        kalvo_fail "window did not appear${boxes:+ (a box came up: $boxes)}"
    fi
    sleep 0.5
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
        case $name in "" | "Kalvo "*) continue ;; esac
        printf '%s\t%s\n' "$wid" "$name"
    done
}

kalvo_box() {
    KALVO_BOX=$(kalvo_window "$1" "^$2\$" "${3:-20}") || kalvo_fail "no box '$2'"
    sleep 0.5
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

# The controls' places in the main window, in pixels (15 twips a pixel).
kalvo_tick() {
    kalvo_click "$1" 30 125
}

kalvo_ticked() {
    sed -n 4p "$1" | grep -q '^ 1 '
}

kalvo_ask_end() {
    kalvo_click "$2" 28 155
    kalvo_box "$1" 終了
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

kalvo_expect_exit() {
    _kalvo_expect kalvo_wait_exit "" "$@"
}

kalvo_expect_end() {
    _kalvo_expect kalvo_end SIGTERM "$@"
}

_kalvo_expect() {  # HOW SIGNAL STATUS PID [SECONDS]
    local how=$1 signal=$2 want=$3 pid=$4 seconds=${5:-20} status=0 after
    after="after $seconds s"
    [ -z "$signal" ] || after="$seconds s after $signal"
    "$how" "$pid" "$seconds" || status=$?
    [ $status -ne 124 ] || kalvo_fail "still running $after"
    [ $status -eq "$want" ] || kalvo_fail "exit status $status${signal:+ after $signal}"
}
