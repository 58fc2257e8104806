# shellcheck shell=bash
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
# The flows of a user are built from e2e_replace_text (a text box), e2e_load_names_file (a
# name file through the file dialog), e2e_generate (Start Generating: E2E_RESULTS),
# e2e_save_results, e2e_back, and checked with e2e_expect_setting and e2e_check_names.
#
# Functions that find something set a global instead of printing it: a failure inside $(...)
# would only end the subshell, and wait works only in the shell that started the app.
# Every wait polls with a limit; a failure prints a screenshot path, the app's windows and
# the settings file, and keeps the temp folder. The X server and the app end with the script.
#
# Nothing of the user is touched: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME and
# XDG_RUNTIME_DIR point into a temp folder whatever the run's environment holds, and the app
# runs from a copy of bin/ with its own names.mdb. Every start hands the app XDG folders of a
# user of its own as well, which e2e_wait_exit checks it never wrote into.

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

# The results window, the same way (its client area is 8040 x 7800 twips).
declare -A E2E_FORM2=(
    [PushButton8]="120 120 7800 405"
    [Frame2]="120 570 7800 690"
    [Option4]="360 810 1335 375"
    [Option5]="1695 810 1695 375"
    [Option6]="3675 810 1470 375"
    [Combo1]="6180 825 1620 345"
    [ListView1]="120 1360 7800 4930"
    [Frame4]="120 6360 7800 810"
    [Text2]="360 6660 6630 345"
    [PushButton1]="7080 6660 600 345"
    [PushButton2]="120 7290 7800 405"
)

# The results window's client height in twips: it has the main window's title, not its shape.
E2E_FORM2_HEIGHT_TWIPS=7800
E2E_WIDTH_TWIPS=8040

e2e_log() { echo "e2e: $*" >&2; }
e2e_fail() {
    e2e_log "FAIL: $*"
    e2e_report_scene
    if [ -n "${E2E_APP_LOG:-}" ] && [ -s "$E2E_APP_LOG" ]; then
        e2e_log "application output:"
        sed 's/^/    /' "$E2E_APP_LOG" >&2
    fi
    exit 1
}

# What a failure leaves to look at: a screenshot of the whole screen, the app's windows and
# the settings file. The temp folder is kept so the screenshot and the files stay readable.
e2e_report_scene() {
    [ -n "${E2E_ROOT:-}" ] && [ -d "$E2E_ROOT" ] || return 0
    E2E_KEEP=1
    if [ -n "${DISPLAY:-}" ] && [ -n "${E2E_PROBE:-}" ] && [ -x "$E2E_PROBE" ]; then
        local shot
        shot="$E2E_ROOT/failure-$(date +%H%M%S).png"
        if xwd -silent -root >"$E2E_ROOT/screen.xwd" 2>/dev/null \
            && "$E2E_PROBE" "$E2E_ROOT/screen.xwd" png "$shot" >/dev/null 2>&1; then
            e2e_log "screenshot: $shot"
        fi
    fi
    if [ -n "${E2E_APP_PID:-}" ] && kill -0 "$E2E_APP_PID" 2>/dev/null; then
        e2e_log "visible windows of the app:"
        local id
        for id in $(xdotool search --all --onlyvisible --pid "$E2E_APP_PID" --name '' 2>/dev/null); do
            local WIDTH HEIGHT X Y SCREEN WINDOW
            eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
            e2e_log "    $id ${WIDTH:-?}x${HEIGHT:-?}+${X:-?}+${Y:-?} '$(xdotool getwindowname "$id" 2>/dev/null)'"
        done
    fi
    if [ -n "${E2E_SETTINGS:-}" ] && [ -f "$E2E_SETTINGS" ]; then
        e2e_log "settings file $E2E_SETTINGS:"
        sed 's/^/    /' "$E2E_SETTINGS" >&2
    fi
    e2e_log "temp folder kept: $E2E_ROOT"
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
    # A test killed by its timeout still takes its X server and app with it.
    trap 'exit 143' TERM
    trap 'exit 130' INT
    E2E_HOME="$E2E_ROOT/home"
    E2E_USER_XDG="$E2E_ROOT/user"
    E2E_APP_DIR="$E2E_ROOT/app"
    mkdir -p "$E2E_HOME/.config" "$E2E_HOME/.local/share" "$E2E_HOME/.cache" "$E2E_HOME/Desktop" "$E2E_APP_DIR" \
        "$E2E_ROOT/runtime"
    chmod 700 "$E2E_ROOT/runtime"
    # For the suite's own Qt tools too, which would warn about it on every call.
    export XDG_RUNTIME_DIR="$E2E_ROOT/runtime"
    cp "$E2E_BIN_DIR/toviska" "$E2E_APP_DIR/"
    # The kanji and kana of the built-in names, how common they are and the kanji dates live
    # beside names.mdb.
    local table
    for table in readings.tsv frequency.tsv kanji-dates.tsv; do
        [ ! -f "$E2E_BIN_DIR/$table" ] || cp "$E2E_BIN_DIR/$table" "$E2E_APP_DIR/"
    done
    e2e_make_names_db "$E2E_APP_DIR/names.mdb"
    E2E_SETTINGS="$E2E_HOME/.config/Quillmark.ini"
    e2e_make_stub_browser
    e2e_start_xvfb
}

# The app opens its home page on one start in a hundred (the first draw of a run seeded by the
# time of day). No flow may depend on that: every start finds this stub first on its PATH, as
# xdg-open, the program Qt hands a URL to. It records the URL in E2E_BROWSER_LOG and succeeds.
e2e_make_stub_browser() {
    E2E_STUB_BIN="$E2E_ROOT/stub-bin"
    E2E_BROWSER_LOG="$E2E_ROOT/browser.log"
    mkdir -p "$E2E_STUB_BIN"
    cat >"$E2E_STUB_BIN/xdg-open" <<STUB
#!/bin/sh
printf '%s\\n' "\$*" >>"$E2E_BROWSER_LOG"
exit 0
STUB
    chmod 755 "$E2E_STUB_BIN/xdg-open"
}

# e2e_make_names_db PATH: the shipped names database, made afresh from the name lists of the
# source tree, so what a flow generates can be checked against those lists whatever was done
# with bin/names.mdb. Without the build tool, a copy of bin/names.mdb.
e2e_make_names_db() {
    local mkdb="$E2E_TOOLS_DIR/toviska-mkdb"
    E2E_DATA_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../data" && pwd)
    if [ -x "$mkdb" ]; then
        "$mkdb" "$1" "$E2E_DATA_DIR/male.txt" "$E2E_DATA_DIR/female.txt" "$E2E_DATA_DIR/last.txt" >/dev/null \
            || e2e_fail "toviska-mkdb could not make $1"
    else
        cp "$E2E_BIN_DIR/names.mdb" "$1"
        chmod u+w "$1"
    fi
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
    # Runs on every exit, failures too: no step may stop it (a killed app's wait is non-zero).
    set +e
    if [ -n "${E2E_APP_PID:-}" ] && kill -0 "$E2E_APP_PID" 2>/dev/null; then
        kill "$E2E_APP_PID" 2>/dev/null
        wait "$E2E_APP_PID" 2>/dev/null
    fi
    if [ -n "${E2E_XVFB_PID:-}" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    if [ -n "${E2E_ROOT:-}" ] && [ -z "${E2E_KEEP:-}" ]; then
        rm -rf "$E2E_ROOT"
    fi
}

# e2e_start_app [ENV=VALUE...]: the copied executable on the xcb platform (never offscreen) with
# the temp HOME and the stub browser first on PATH; further variables (a preload that pins the
# clock, say) go to the app alone. No platform theme: Qt's own widget dialogs, which a flow can
# type a file name into, and the same look on every machine. It runs in the temp folder, where
# its file dialogs open.
e2e_start_app() {
    E2E_APP_LOG="$E2E_ROOT/app.log"
    (
        cd "$E2E_ROOT" || exit 1
        # A user's own folders, as the environment of a run may name them: the app must not see them.
        export XDG_DATA_HOME="$E2E_USER_XDG/data" XDG_CACHE_HOME="$E2E_USER_XDG/cache" \
            XDG_CONFIG_HOME="$E2E_USER_XDG/config" XDG_STATE_HOME="$E2E_USER_XDG/state"
        exec env -u QT_QPA_PLATFORM -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE -u XDG_CURRENT_DESKTOP \
            -u DESKTOP_SESSION -u GNOME_DESKTOP_SESSION_ID -u KDE_FULL_SESSION -u BROWSER -u DEFAULT_BROWSER \
            PATH="$E2E_STUB_BIN:$PATH" \
            HOME="$E2E_HOME" XDG_CONFIG_HOME="$E2E_HOME/.config" XDG_DATA_HOME="$E2E_HOME/.local/share" \
            XDG_CACHE_HOME="$E2E_HOME/.cache" XDG_RUNTIME_DIR="$E2E_ROOT/runtime" \
            XDG_DESKTOP_DIR="$E2E_HOME/Desktop" QT_QPA_PLATFORM=xcb DISPLAY="$DISPLAY" \
            "$@" "$E2E_APP_DIR/toviska"
    ) >>"$E2E_APP_LOG" 2>&1 &
    E2E_APP_PID=$!
    e2e_log "toviska started (pid $E2E_APP_PID)"
}

# e2e_find_window [TITLE]: E2E_WINDOW, the app's visible window with that title ("Toviska").
# --all: xdotool otherwise takes a window matching the pid OR the name.
e2e_find_window() {
    local title=${1:-Toviska}
    E2E_WINDOW=$(timeout 20 xdotool search --sync --all --onlyvisible --pid "$E2E_APP_PID" --name "^${title}\$" \
        2>/dev/null | head -n1) || true
    [ -n "$E2E_WINDOW" ] || e2e_fail "no visible window titled $title"
}

# e2e_app_windows TITLE_REGEX: the app's visible windows whose title matches, one id a line.
e2e_app_windows() {
    xdotool search --all --onlyvisible --pid "$E2E_APP_PID" --name "$1" 2>/dev/null || true
}

# e2e_wait_new_window SECONDS TITLE_REGEX [KNOWN_ID...]: E2E_WINDOW, a visible window of the app
# with a matching title that is none of the known ones (a dialog, or the results window,
# which has the main window's title).
e2e_wait_new_window() {
    local limit=$1 title=$2
    shift 2
    local i id known
    for i in $(seq $((limit * 10))); do
        for id in $(e2e_app_windows "$title"); do
            for known in "$@"; do
                [ "$id" = "$known" ] && continue 2
            done
            E2E_WINDOW=$id
            return 0
        done
        kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "toviska ended while a window '$title' was awaited"
        sleep 0.1
    done
    return 1
}

# e2e_window_visible WINDOW: true while the window is mapped.
e2e_window_visible() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# e2e_wait_gone SECONDS WINDOW: waits for the window to be unmapped or destroyed.
e2e_wait_gone() {
    local limit=$1 window=$2 i
    for i in $(seq $((limit * 10))); do
        e2e_window_visible "$window" || return 0
        sleep 0.1
    done
    return 1
}

# e2e_height_twips WINDOW: the window's client height in design twips (from its width).
e2e_height_twips() {
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$WIDTH $HEIGHT $E2E_WIDTH_TWIPS" | awk '{ printf "%d", $2 * $3 / $1 + 0.5 }'
}

# e2e_is_shaped WINDOW HEIGHT_TWIPS: true when the window has that design height (within 2%).
e2e_is_shaped() {
    local height
    height=$(e2e_height_twips "$1")
    [ $((height * 50)) -ge $(($2 * 49)) ] && [ $((height * 50)) -le $(($2 * 51)) ]
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

# e2e_click_in TABLE WINDOW NAME [DX_TWIPS]: clicks a control of the layout table (E2E_FORM1,
# E2E_FORM2), at its middle, or DX twips from its left edge (an option's indicator).
e2e_click_in() {
    local -n table=$1
    local rect=${table[$3]:-}
    [ -n "$rect" ] || e2e_fail "unknown control $3 in $1"
    local left top width height
    read -r left top width height <<<"$rect"
    local dx=${4:-$((width / 2))}
    e2e_click_twips "$2" $((left + dx)) $((top + height / 2))
}

# e2e_click_control WINDOW NAME [DX_TWIPS]: clicks a main-window control.
e2e_click_control() {
    e2e_click_in E2E_FORM1 "$@"
}

# e2e_type WINDOW TEXT: types into the focused control of the window.
e2e_type() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    xdotool type --window "$1" --delay 20 "$2"
}

# e2e_replace_text TABLE WINDOW NAME TEXT: a text box's whole text replaced by typing, as a
# user does: click into it, select all, type.
e2e_replace_text() {
    e2e_click_in "$1" "$2" "$3"
    xdotool windowfocus --sync "$2" 2>/dev/null || xdotool windowfocus "$2"
    xdotool key --window "$2" ctrl+a
    xdotool type --window "$2" --delay 20 "$4"
}

# e2e_press WINDOW KEY: a key press on a window that takes the focus first (a dialog). Sent
# through XTEST, not to the window directly: the window may be gone before the key is up.
e2e_press() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    xdotool key "$2"
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
    local tries=$((limit * 10 + 1)) i
    for i in $(seq "$tries"); do
        "$@" && return 0
        [ "$i" -lt "$tries" ] && sleep 0.1
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
    [ ! -e "$E2E_USER_XDG" ] || e2e_fail "the app wrote into the run's own XDG folders: $(find "$E2E_USER_XDG" | head -n5)"
}

# e2e_setting KEY: a value of the app's settings file (empty when absent).
e2e_setting() {
    [ -f "$E2E_SETTINGS" ] || return 0
    awk -F= -v key="$1" '/^\[/ { section = $0 } section == "[Toviska]" && $1 == key { sub(/^[^=]*=/, ""); print }' \
        "$E2E_SETTINGS"
}

# e2e_expect_setting KEY VALUE [SECONDS]: fails unless the settings file holds that value,
# at once or within the seconds given (a write the app has still to get to).
e2e_expect_setting() {
    e2e_wait_for "${3:-0}" e2e_setting_is "$1" "$2" \
        || e2e_fail "setting $1 is '$(e2e_setting "$1")', expected '$2'"
}

e2e_setting_is() {
    [ "$(e2e_setting "$1")" = "$2" ]
}

# e2e_popups_gone: true when no popup (a completion list, a tooltip) of the app is shown.
e2e_popups_gone() {
    local id
    for id in $(e2e_app_windows ''); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && return 1
    done
    return 0
}

# e2e_generate MAIN: "Start Generating"; E2E_RESULTS is the results window that replaces the
# main window.
e2e_generate() {
    e2e_click_control "$1" PushButton1
    e2e_await_results "$1" "Start Generating"
}

# e2e_await_results MAIN WHAT: E2E_RESULTS, the results window that replaces the main window
# once WHAT (a click, a key) has started a run.
e2e_await_results() {
    local main=$1
    e2e_wait_new_window 30 '^Toviska$' "$main" || e2e_fail "no results window after $2"
    E2E_RESULTS=$E2E_WINDOW
    e2e_is_shaped "$E2E_RESULTS" "$E2E_FORM2_HEIGHT_TWIPS" \
        || e2e_fail "window $E2E_RESULTS is not the results window ($(e2e_height_twips "$E2E_RESULTS") twips high)"
    e2e_wait_gone 10 "$main" || e2e_fail "the main window stayed visible beside the results window"
}

# e2e_back RESULTS MAIN: "< Back" to the main window.
e2e_back() {
    e2e_click_in E2E_FORM2 "$1" PushButton8
    e2e_wait_for 10 e2e_window_visible "$2" || e2e_fail "< Back did not show the main window"
    e2e_wait_gone 10 "$1" || e2e_fail "< Back left the results window visible"
}

# e2e_save_results RESULTS MAIN: "Save Results", then OK on the message box it shows, which
# must be a plain message (titled "Toviska", no icon), not the error dialog. E2E_MESSAGE_SHOT
# is a picture of that box, for a later failure to point at.
e2e_save_results() {
    local results=$1 main=$2
    e2e_click_in E2E_FORM2 "$results" PushButton2
    # Any titled window: the error dialog has a title of its own.
    e2e_wait_new_window 20 '.' "$results" "$main" || e2e_fail "Save Results showed no message box"
    local box=$E2E_WINDOW
    E2E_MESSAGE_SHOT="$E2E_ROOT/message-$box.png"
    e2e_dump "$box" "$E2E_ROOT/message.xwd"
    "$E2E_PROBE" "$E2E_ROOT/message.xwd" png "$E2E_MESSAGE_SHOT" >/dev/null 2>&1 || true
    local title width height icon
    title=$(xdotool getwindowname "$box")
    [ "$title" = Toviska ] || e2e_fail "Save Results showed '$title' (see $E2E_MESSAGE_SHOT)"
    # An icon sits at the top left, where a plain message has only grey text.
    read -r width height <<<"$("$E2E_PROBE" "$E2E_ROOT/message.xwd" size)"
    icon=$("$E2E_PROBE" "$E2E_ROOT/message.xwd" colour 0 0 60 $((height / 2)))
    [ "$icon" -eq 0 ] || e2e_fail "the message after Save Results has an icon (see $E2E_MESSAGE_SHOT)"
    e2e_press "$box" Return
    e2e_wait_gone 10 "$box" || e2e_fail "the message box after Save Results did not close on Return"
}

# e2e_load_names_file MAIN BUTTON PATH PANE: a load button (PushButton6 first names,
# PushButton7 last names), the file typed into Qt's file dialog, then waits for PANE to show
# names. The path must match no other name in its folder, or the dialog's completion list
# would take the Return.
e2e_load_names_file() {
    local main=$1 button=$2 path=$3 pane=$4
    e2e_click_control "$main" "$button"
    e2e_wait_new_window 20 '^Load List' "$main" || e2e_fail "$button showed no file dialog"
    local dialog=$E2E_WINDOW
    # Qt's own dialog shares the client leader of every Qt window of the app; a native one (a
    # platform theme's GTK dialog) has its toolkit's own, and no file name box where ours is.
    [ "$(xprop -id "$dialog" WM_CLIENT_LEADER 2>/dev/null)" = "$(xprop -id "$main" WM_CLIENT_LEADER 2>/dev/null)" ] \
        || e2e_fail "the file dialog is not Qt's own widget dialog"
    xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
    xdotool type --window "$dialog" --delay 10 "$path"
    e2e_wait_for 5 e2e_popups_gone || e2e_log "a popup is still shown over the file dialog"
    e2e_press "$dialog" Return
    e2e_wait_gone 10 "$dialog" || e2e_fail "the file dialog did not take $path"
    e2e_pane_fills "$main" "$pane" || e2e_fail "$pane shows no names after loading $path"
}

# e2e_pane_fills MAIN PANE: waits for a list pane to show names; a message box meanwhile is a
# failure.
e2e_pane_fills() {
    local i n
    for i in $(seq 100); do
        n=$(e2e_dark_pixels "$1" "$2") || n=0
        [ "${n:-0}" -gt 40 ] && return 0
        local id
        for id in $(e2e_app_windows '^Toviska$'); do
            [ "$id" = "$1" ] || e2e_fail "a message box came up"
        done
        sleep 0.1
    done
    return 1
}

# e2e_check_names FILE COUNT PARTS FIRSTS LASTS: FILE holds COUNT lines, each ended by CR LF,
# each a generated name made of PARTS (full: "First Last", first, last) whose first name is a
# line of FIRSTS and last name a line of LASTS. Prints the first line that breaks the rule.
e2e_check_names() {
    local file=$1 count=$2 parts=$3 firsts=$4 lasts=$5
    [ -f "$file" ] || e2e_fail "no file $file"
    [ "$(tail -c 2 "$file" | od -An -c | tr -d ' ')" = '\r\n' ] || e2e_fail "$file does not end with CR LF"
    local verdict
    verdict=$(LC_ALL=C awk -v parts="$parts" -v count="$count" -v firsts="$firsts" -v lasts="$lasts" '
        BEGIN {
            RS = "\n"
            while ((getline name < firsts) > 0) { sub(/\r$/, "", name); first[name] = 1 }
            while ((getline name < lasts) > 0) { sub(/\r$/, "", name); last[name] = 1 }
            RS = "\r\n"
        }
        function fail(why,    shown) {
            shown = $0
            gsub(/\r/, "\\r", shown)
            gsub(/\n/, "\\n", shown)
            printf "line %d \"%s\": %s\n", NR, shown, why
            bad = 1
            exit
        }
        {
            if (index($0, "\r") || index($0, "\n")) fail("a stray line end")
            n = split($0, word, " ")
            if (parts == "full") {
                if (n != 2 || $0 != word[1] " " word[2]) fail("not two names joined by one space")
                if (!(word[1] in first)) fail("first name " word[1] " is not in " firsts)
                if (!(word[2] in last)) fail("last name " word[2] " is not in " lasts)
                usedFirst[word[1]] = 1; usedLast[word[2]] = 1
            } else if (parts == "first") {
                if (n != 1 || !($0 in first)) fail("not a first name of " firsts)
                usedFirst[$0] = 1
            } else {
                if (n != 1 || !($0 in last)) fail("not a last name of " lasts)
                usedLast[$0] = 1
            }
        }
        END {
            if (bad) exit
            if (NR != count) { printf "%d lines, expected %d\n", NR, count; exit }
            for (name in usedFirst) distinctFirst++
            for (name in usedLast) distinctLast++
            printf "ok %d %d\n", distinctFirst, distinctLast
        }' "$file")
    case "$verdict" in
    ok*) read -r _ E2E_DISTINCT_FIRST E2E_DISTINCT_LAST <<<"$verdict" ;;
    *) e2e_fail "$file: $verdict${E2E_MESSAGE_SHOT:+ (message box: $E2E_MESSAGE_SHOT)}" ;;
    esac
}
