#!/usr/bin/env bash
# The main window from outside: it appears titled "Toviska" with both panes filled, an option
# click empties them (the user list is empty) and is stored, a restart restores it, and closing
# the window ends the process with exit code 0.
#
#   main_window.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

e2e_init "$1" "$2"

pane_has_names() { local n; n=$(e2e_dark_pixels "$E2E_WINDOW" "$1") && [ "${n:-0}" -gt 40 ]; }
pane_is_empty() { local n; n=$(e2e_dark_pixels "$E2E_WINDOW" "$1") && [ "${n:-1}" -eq 0 ]; }

# First start: the built-in list fills both panes.
e2e_start_app
e2e_find_window
e2e_log "main window $E2E_WINDOW"
e2e_wait_for 10 pane_has_names ListView1 || e2e_fail "the First Names pane shows no names"
e2e_wait_for 10 pane_has_names ListView2 || e2e_fail "the Last Names pane shows no names"
[ "$(e2e_setting Text1)" = "100" ] || e2e_fail "the count was not stored at start-up"

# The user list, still empty: both panes empty, the choice stored at once.
e2e_click_control "$E2E_WINDOW" Option8 150
e2e_wait_for 10 pane_is_empty ListView1 || e2e_fail "the First Names pane kept names for the empty user list"
e2e_wait_for 10 pane_is_empty ListView2 || e2e_fail "the Last Names pane kept names for the empty user list"
[ "$(e2e_setting Option8)" = "True" ] || e2e_fail "Option8 not stored as True: '$(e2e_setting Option8)'"
[ "$(e2e_setting Option9)" = "False" ] || e2e_fail "Option9 not stored as False: '$(e2e_setting Option9)'"

e2e_close_window "$E2E_WINDOW"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"

# Second start: the user list comes back, and the built-in list fills the panes again.
e2e_start_app
e2e_find_window
e2e_wait_for 10 pane_is_empty ListView1 || e2e_fail "the restored user list was not shown"
e2e_click_control "$E2E_WINDOW" Option9 150
e2e_wait_for 10 pane_has_names ListView1 || e2e_fail "back on the built-in list, the First Names pane is empty"
[ "$(e2e_setting Option9)" = "True" ] || e2e_fail "Option9 not stored as True"

e2e_close_window "$E2E_WINDOW"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
