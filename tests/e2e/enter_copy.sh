#!/usr/bin/env bash
# Desktop habits from outside: Enter in the count box generates as "Start Generating" does,
# then Ctrl+A and Ctrl+C in the results list put every name on the clipboard, one a line, in
# the list's order, which results.txt (saved afterwards) shows.
#
#   enter_copy.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

e2e_require_tools xclip
e2e_init "$1" "$2"
count=300

e2e_start_app
e2e_find_window
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView1 || e2e_fail "the First Names pane shows no names"

e2e_replace_text E2E_FORM1 "$main" Text1 "$count"
e2e_expect_setting Text1 "$count" 5
e2e_press "$main" Return
e2e_await_results "$main" "Enter in the count box"
results=$E2E_RESULTS

# A click on the list gives it the focus (and selects one row), then every row is copied.
e2e_click_in E2E_FORM2 "$results" ListView1
e2e_press "$results" ctrl+a
e2e_press "$results" ctrl+c

clipboard_lines() {
    # The clipboard has no line end after the last name; count that name too.
    [ "$( (xclip -o -selection clipboard 2>/dev/null; echo) | wc -l)" -eq "$count" ]
}
e2e_wait_for 10 clipboard_lines \
    || e2e_fail "the clipboard holds $( (xclip -o -selection clipboard 2>/dev/null; echo) | wc -l) lines, expected $count"
(xclip -o -selection clipboard; echo) >"$E2E_ROOT/clipboard.txt"

e2e_save_results "$results" "$main"
saved="$E2E_HOME/Desktop/results.txt"
[ -f "$saved" ] || e2e_fail "no $saved"
tr -d '\r' <"$saved" >"$E2E_ROOT/saved.txt"
diff -q "$E2E_ROOT/saved.txt" "$E2E_ROOT/clipboard.txt" >/dev/null \
    || e2e_fail "the clipboard differs from the list: $(diff "$E2E_ROOT/saved.txt" "$E2E_ROOT/clipboard.txt" | head -5)"

e2e_close_window "$results"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
