#!/usr/bin/env bash
# Makes the screenshots of README.md: the real application of a build, started under Xvfb the
# way the end-to-end tests start it (a temporary home, a stub web browser, its own names.mdb made
# from data/), with a fixed settings file and the clock pinned, so that the seed and with it the
# names shown are the same on every run. It shows the main window, generates, and shows the
# results window in kanji. Run by hand when the windows change; it builds nothing and is never
# run by the tests.
#
#   scripts/screenshots.sh [BUILD_DIR]      (build/ by default; needs bin/ and tools/ built)
#
# Writes docs/images/main-window.png and docs/images/results-kanji.png. With openbox installed
# (scripts/install-deps.sh installs it) the windows have their title bars.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
[ -d "$build/bin" ] || { echo "screenshots.sh: no $build/bin: build first (make build, or cmake --build)" >&2; exit 1; }
build=$(cd "$build" && pwd)
out="$root/docs/images"

# The start-up seed is the time of day: a frozen clock makes it fixed.
clock="2026-12-08 09:00:00"
faketime_lib=$(find /usr/lib -path '*/faketime/libfaketime.so.1' 2>/dev/null | head -n1)
[ -n "$faketime_lib" ] || { echo "screenshots.sh: libfaketime is not installed (apt-get install faketime)" >&2; exit 1; }

# shellcheck source-path=SCRIPTDIR source=../tests/e2e/harness.sh
source "$root/tests/e2e/harness.sh"
e2e_init "$build/bin" "$build/tools"

wm_pid=
stop_wm() {
    if [ -n "$wm_pid" ]; then
        kill "$wm_pid" 2>/dev/null || true
        wait "$wm_pid" 2>/dev/null || true
    fi
    e2e_cleanup
}
trap stop_wm EXIT
if command -v openbox >/dev/null 2>&1; then
    openbox --sm-disable >"$E2E_ROOT/openbox.log" 2>&1 &
    wm_pid=$!
    wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    e2e_wait_for 20 wm_ready || e2e_fail "openbox did not start: $(cat "$E2E_ROOT/openbox.log")"
fi

# The built-in list, both sexes, full names, 1000 of them by real frequency for the 1960s,
# shown in kanji. The folder is only shown, never written: a path the same on every run.
cat >"$E2E_SETTINGS" <<SETTINGS
[Toviska]
Option9=True
Option8=False
Option1=True
Option2=False
Option3=False
Option4=True
Option5=False
Option6=False
Text1=1000
RealFrequency=True
Born=1960s
NameWriting=kanji
Text2=/home/hanako/Desktop/
SETTINGS

# shot WINDOW NAME: the window (with its frame, when there is one) as docs/images/NAME.png.
shot() {
    # No pointer over the window: no hover look, no tooltip.
    xdotool mousemove 1279 1023
    e2e_wait_for 5 e2e_popups_gone || e2e_log "a popup is still shown"
    sleep 1
    local window=$1 dump="$E2E_ROOT/$2.xwd" parent root
    # The window manager's frame: the ancestor that is a child of the root window.
    root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
    while parent=$(xwininfo -tree -id "$window" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p') \
        && [ -n "$parent" ] && [ "$parent" != "$root" ]; do
        window=$parent
    done
    xwd -silent -id "$window" >"$dump" || e2e_fail "xwd could not dump window $window"
    mkdir -p "$out"
    "$E2E_PROBE" "$dump" png "$out/$2.png" >/dev/null || e2e_fail "could not write $out/$2.png"
    e2e_log "wrote $out/$2.png"
}

e2e_start_app LD_PRELOAD="$faketime_lib" FAKETIME="$clock" FAKETIME_DONT_FAKE_MONOTONIC=1 TZ=UTC LANG=C.UTF-8
e2e_find_window Toviska
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView1 || e2e_fail "the First Names pane shows no names"
e2e_pane_fills "$main" ListView2 || e2e_fail "the Last Names pane shows no names"
# The focus off the count box, whose blinking caret would make each run's picture differ.
e2e_press "$main" Tab
shot "$main" main-window

e2e_generate "$main"
results=$E2E_RESULTS
e2e_expect_setting NameWriting kanji
shot "$results" results-kanji

e2e_close_window "$results"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
