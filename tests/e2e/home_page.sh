#!/usr/bin/env bash
# A start that opens the home page: the clock is pinned at a second whose first draw of the
# run is 7. The page's address reaches the web browser, no error dialog comes up, and the main
# window then shows with its names.
#
#   home_page.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

faketime_lib=$(find /usr/lib -path '*/faketime/libfaketime.so.1' 2>/dev/null | head -n1)
if [ -z "$faketime_lib" ]; then
    e2e_log "SKIP: libfaketime is not installed (scripts/install-deps.sh installs it)"
    exit 77
fi

e2e_init "$1" "$2"

pane_has_names() { local n; n=$(e2e_dark_pixels "$E2E_WINDOW" "$1") && [ "${n:-0}" -gt 40 ]; }
browser_called() { [ -s "$E2E_BROWSER_LOG" ]; }

# 10:05:35 is such a second. Only the wall clock stands still: the app's timers keep running.
# A sanitized build must accept the preload ahead of its own runtime.
e2e_start_app LD_PRELOAD="$faketime_lib" FAKETIME="2026-12-08 10:05:35" FAKETIME_DONT_FAKE_MONOTONIC=1 TZ=UTC \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
e2e_find_window
e2e_wait_for 10 browser_called || e2e_fail "the home page never reached the web browser"
grep -qxF 'https://quillmark.net/toviska/' "$E2E_BROWSER_LOG" \
    || e2e_fail "the web browser was given '$(cat "$E2E_BROWSER_LOG")'"
[ "$(e2e_app_windows '.' | wc -l)" -eq 1 ] || e2e_fail "a window besides the main window came up"
e2e_wait_for 10 pane_has_names ListView1 || e2e_fail "the First Names pane shows no names"
e2e_wait_for 10 pane_has_names ListView2 || e2e_fail "the Last Names pane shows no names"

e2e_close_window "$E2E_WINDOW"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
