# End-to-end harness: the real toviska on its own X server (Xvfb), driven from outside the
# process with xdotool, seen through window dumps (xwd). Source it from a flow script:
#
#   source harness.sh
#   e2e_init "$BIN_DIR" "$TOOLS_DIR"      # temp HOME, copy of the app folder, Xvfb
#   e2e_start_app                          # the app, with the temp HOME and config
#   e2e_find_window                        # E2E_WINDOW: the visible window titled Toviska
#   e2e_click_control "$E2E_WINDOW" PushButton1   # a main-window control, by its design position
#   e2e_close_window "$E2E_WINDOW"
#   e2e_wait_exit                          # E2E_EXIT_CODE: the exit code of the app
#
# Functions that find something set a global instead of printing it: a failure inside $(...)
# would only end the subshell, and wait works only in the shell that started the app.
#
# Nothing of the user is touched: HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR point into a temp
# folder, and the app runs from a copy of bin/ with its own copy of names.mdb.

# Client width of the main window in pixels at 96 dpi (8040 twips).
E2E_DESIGN_WIDTH_PX=536

# Absolute design rectangles (twips, relative to the main window's client area):
# left top width height. A control inside frames adds up the frames' positions.
declare -A E2E_FORM1=(
    [PushButton8]="120 120 7800 405"
    [Frame4]="120 570 7800 1850"
    [Option9]="360 870 6300 255"
    [Frame1]="720 1140 4320 735"
    [Option1]="960 1440 1020 255"
    [Option2]="1980 1440 1335 255"
    [Option3]="3330 1440 1455 255"
    [Option8]="345 2010 6015 255"
    [Frame2]="120 2460 7800 825"
    [Option4]="360 2820 2100 255"
    [Option5]="2580 2820 1695 255"
    [Option6]="4410 2820 1695 255"
    [Frame3]="120 3315 7800 825"
    [Text1]="360 3615 7305 375"
    [Frame6]="120 4170 7800 2805"
    [ListView1]="360 4470 7320 1320"
    [PushButton2]="360 5880 3600 405"
    [PushButton6]="4060 5880 3600 405"
    [PushButton4]="360 6390 7320 405"
    [Frame5]="120 7020 7800 2805"
    [ListView2]="360 7320 7320 1320"
    [PushButton5]="360 8730 3600 400"
    [PushButton7]="4095 8730 3600 405"
    [PushButton3]="360 9240 7320 405"
    [PushButton1]="120 9945 7800 405"
    [ProgressBar1]="120 10455 7800 405"
)

e2e_log() { echo "e2e: $*" >&2; }
e2e_fail() {
    e2e_log "FAIL: $*"
    if [ -n "${E2E_APP_LOG:-}" ] && [ -s "$E2E_APP_LOG" ]; then
        e2e_log "application output:"
        sed 's/^/    /' "$E2E_APP_LOG" >&2
    fi
    exit 1
}

# Skips (exit 77) when a tool of the suite is missing; scripts/install-deps.sh installs them all.
e2e_require_tools() {
    local tool
    for tool in Xvfb xdotool xwd "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1 && [ ! -x "$tool" ]; then
            e2e_log "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
            exit 77
        fi
    done
}

# e2e_init BIN_DIR TOOLS_DIR: the temp root, the app folder copy and the X server.
e2e_init() {
    E2E_BIN_DIR=$1
    E2E_TOOLS_DIR=$2
    E2E_PROBE="$E2E_TOOLS_DIR/xwd_probe"
    E2E_CLOSE="$E2E_TOOLS_DIR/x_close"
    e2e_require_tools "$E2E_PROBE" "$E2E_CLOSE"
    [ -x "$E2E_BIN_DIR/toviska" ] || e2e_fail "no executable $E2E_BIN_DIR/toviska"
    [ -f "$E2E_BIN_DIR/names.mdb" ] || e2e_fail "no names database $E2E_BIN_DIR/names.mdb (built with the app)"

    E2E_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/toviska-e2e.XXXXXX")
    trap e2e_cleanup EXIT
    E2E_HOME="$E2E_ROOT/home"
    E2E_APP_DIR="$E2E_ROOT/app"
    mkdir -p "$E2E_HOME/.config" "$E2E_HOME/Desktop" "$E2E_APP_DIR" "$E2E_ROOT/runtime"
    chmod 700 "$E2E_ROOT/runtime"
    cp "$E2E_BIN_DIR/toviska" "$E2E_BIN_DIR/names.mdb" "$E2E_APP_DIR/"
    chmod u+w "$E2E_APP_DIR/names.mdb"
    E2E_SETTINGS="$E2E_HOME/.config/Quillmark.ini"
    e2e_start_xvfb
}

# The X server on a display it picks itself (-displayfd), so parallel runs never collide.
e2e_start_xvfb() {
    local fd_file="$E2E_ROOT/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >"$E2E_ROOT/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$fd_file" ] && break
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || e2e_fail "Xvfb did not start: $(cat "$E2E_ROOT/xvfb.log")"
        sleep 0.1
    done
    [ -s "$fd_file" ] || e2e_fail "Xvfb gave no display number"
    export DISPLAY=":$(head -n1 "$fd_file" | tr -d '[:space:]')"
    e2e_log "Xvfb on $DISPLAY"
}

e2e_cleanup() {
    if [ -n "${E2E_APP_PID:-}" ] && kill -0 "$E2E_APP_PID" 2>/dev/null; then
        kill "$E2E_APP_PID" 2>/dev/null
        wait "$E2E_APP_PID" 2>/dev/null
    fi
    if [ -n "${E2E_XVFB_PID:-}" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    [ -n "${E2E_ROOT:-}" ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$E2E_ROOT"
}

# e2e_start_app: the copied executable on the xcb platform (never offscreen) with the temp HOME.
e2e_start_app() {
    E2E_APP_LOG="$E2E_ROOT/app.log"
    env -u QT_QPA_PLATFORM \
        HOME="$E2E_HOME" XDG_CONFIG_HOME="$E2E_HOME/.config" XDG_RUNTIME_DIR="$E2E_ROOT/runtime" \
        XDG_DESKTOP_DIR="$E2E_HOME/Desktop" QT_QPA_PLATFORM=xcb DISPLAY="$DISPLAY" \
        "$E2E_APP_DIR/toviska" >"$E2E_APP_LOG" 2>&1 &
    E2E_APP_PID=$!
    e2e_log "toviska started (pid $E2E_APP_PID)"
}

# e2e_find_window [TITLE]: E2E_WINDOW, the app's visible window with that title ("Toviska").
e2e_find_window() {
    local title=${1:-Toviska}
    E2E_WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --pid "$E2E_APP_PID" --name "^${title}\$" \
        2>/dev/null | head -n1) || true
    [ -n "$E2E_WINDOW" ] || e2e_fail "no visible window titled $title"
}

# e2e_scale WINDOW: pixels per design pixel, from the window's real width.
e2e_scale() {
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$WIDTH $E2E_DESIGN_WIDTH_PX" | awk '{ printf "%.6f", $1 / $2 }'
}

# e2e_px WINDOW TWIPS...: the twips as window pixels.
e2e_px() {
    local scale
    scale=$(e2e_scale "$1")
    shift
    local t
    for t in "$@"; do
        echo "$t $scale" | awk '{ printf "%d ", ($1 / 15) * $2 + 0.5 }'
    done
}

# e2e_click_twips WINDOW LEFT TOP: a left click at a design position of the window.
e2e_click_twips() {
    local x y
    read -r x y <<<"$(e2e_px "$1" "$2" "$3")"
    xdotool mousemove --window "$1" "$x" "$y" click 1
}

# e2e_click_control WINDOW NAME [DX_TWIPS]: clicks a main-window control, at its middle, or
# DX twips from its left edge (an option's indicator).
e2e_click_control() {
    local rect=${E2E_FORM1[$2]:-}
    [ -n "$rect" ] || e2e_fail "unknown control $2"
    local left top width height
    read -r left top width height <<<"$rect"
    local dx=${3:-$((width / 2))}
    e2e_click_twips "$1" $((left + dx)) $((top + height / 2))
}

# e2e_type WINDOW TEXT: types into the focused control of the window.
e2e_type() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    xdotool type --window "$1" --delay 20 "$2"
}

# e2e_dump WINDOW FILE: the window's pixels.
e2e_dump() {
    xwd -silent -id "$1" >"$2" || e2e_fail "xwd could not dump window $1"
}

# e2e_dark_pixels WINDOW NAME: the dark (text) pixels inside a list pane's rows, below its
# heading and left of its scroll bar. An empty pane has none.
e2e_dark_pixels() {
    local rect=${E2E_FORM1[$2]:-}
    local left top width height
    read -r left top width height <<<"$rect"
    local dump="$E2E_ROOT/dump.xwd"
    e2e_dump "$1" "$dump"
    local x y w h
    read -r x y w h <<<"$(e2e_px "$1" $((left + 60)) $((top + 420)) $((width - 600)) $((height - 480)))"
    "$E2E_PROBE" "$dump" dark "$x" "$y" "$w" "$h"
}

# e2e_wait_for SECONDS COMMAND...: retries the command until it succeeds.
e2e_wait_for() {
    local limit=$1
    shift
    local tries=$((limit * 10)) i
    for i in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# e2e_close_window WINDOW: what the window manager does for the close box.
e2e_close_window() {
    "$E2E_CLOSE" "$1" || e2e_fail "could not ask window $1 to close"
}

# e2e_wait_exit [SECONDS]: waits for the app to end; E2E_EXIT_CODE is its exit code.
e2e_wait_exit() {
    local limit=${1:-5} i
    for i in $(seq $((limit * 10))); do
        kill -0 "$E2E_APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$E2E_APP_PID" 2>/dev/null; then
        e2e_fail "toviska still runs ${limit}s after its window was closed"
    fi
    E2E_EXIT_CODE=0
    wait "$E2E_APP_PID" || E2E_EXIT_CODE=$?
    E2E_APP_PID=
}

# e2e_setting KEY: a value of the app's settings file (empty when absent).
e2e_setting() {
    [ -f "$E2E_SETTINGS" ] || return 0
    awk -F= -v key="$1" '/^\[/ { section = $0 } section == "[Toviska]" && $1 == key { sub(/^[^=]*=/, ""); print }' \
        "$E2E_SETTINGS"
}
