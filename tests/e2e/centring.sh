#!/usr/bin/env bash
# Both windows open centred on the screen with the frame a window manager gives them (title bar
# and borders), not only their inside. A real window manager (openbox) frames them here.
#
#   centring.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

e2e_require_tools openbox xprop xwininfo
e2e_init "$1" "$2"

openbox --sm-disable >"$E2E_ROOT/openbox.log" 2>&1 &
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
e2e_wait_for 20 wm_ready || e2e_fail "openbox did not start: $(cat "$E2E_ROOT/openbox.log")"

# frame_offset WINDOW: how far the centre of the framed window lies from the screen's centre,
# "dx dy" in pixels. Empty while the window manager has not framed the window yet.
frame_offset() {
    local extents left right top bottom x y width height screen_w screen_h
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ',')
    [ -n "$extents" ] || return 0
    read -r left right top bottom <<<"$extents"
    x=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ { print $NF }')
    y=$(xwininfo -id "$1" | awk '/Absolute upper-left Y/ { print $NF }')
    width=$(xwininfo -id "$1" | awk '/^ *Width:/ { print $NF }')
    height=$(xwininfo -id "$1" | awk '/^ *Height:/ { print $NF }')
    screen_w=$(xwininfo -root | awk '/^ *Width:/ { print $NF }')
    screen_h=$(xwininfo -root | awk '/^ *Height:/ { print $NF }')
    # Twice the centres, to stay in whole pixels.
    echo "$(((2 * (x - left) + left + width + right) - screen_w)) $(((2 * (y - top) + top + height + bottom) - screen_h))"
}

centred() {
    local offset dx dy
    offset=$(frame_offset "$1")
    [ -n "$offset" ] || return 1
    read -r dx dy <<<"$offset"
    # Within a pixel either way: an odd size has no whole-pixel centre.
    [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}

e2e_start_app
e2e_find_window
main=$E2E_WINDOW
e2e_wait_for 10 centred "$main" \
    || e2e_fail "the main window is not centred with its frame (twice its offset: $(frame_offset "$main"))"

e2e_generate "$main"
e2e_wait_for 10 centred "$E2E_RESULTS" \
    || e2e_fail "the results window is not centred with its frame (twice its offset: $(frame_offset "$E2E_RESULTS"))"

e2e_close_window "$E2E_RESULTS"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
