#!/usr/bin/env bash
# Generating and saving from outside: 1,000 names typed as the count, "Start Generating"
# brings the results window with the desktop folder in its folder box, "Save Results" writes
# results.txt there: 1,000 CR LF lines, each a first and a last name of the shipped lists.
#
#   generate_save.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

e2e_init "$1" "$2"
desktop="$E2E_HOME/Desktop"
cat "$E2E_DATA_DIR/male.txt" "$E2E_DATA_DIR/female.txt" >"$E2E_ROOT/first-names"

e2e_start_app
e2e_find_window
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView1 || e2e_fail "the First Names pane shows no names"

e2e_replace_text E2E_FORM1 "$main" Text1 1000
e2e_expect_setting Text1 1000 5

e2e_generate "$main"
results=$E2E_RESULTS
# The folder box starts on the desktop folder, and the load stores it at once.
e2e_expect_setting Text2 "$desktop/"

e2e_save_results "$results" "$main"
e2e_check_names "$desktop/results.txt" 1000 full "$E2E_ROOT/first-names" "$E2E_DATA_DIR/last.txt"
# A generator stuck on a few entries would still pass the checks above.
[ "$E2E_DISTINCT_FIRST" -ge 200 ] && [ "$E2E_DISTINCT_LAST" -ge 200 ] \
    || e2e_fail "only $E2E_DISTINCT_FIRST first and $E2E_DISTINCT_LAST last names among 1,000"

e2e_close_window "$results"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
