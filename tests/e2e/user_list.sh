#!/usr/bin/env bash
# The user list from outside: "User List", a first-name file and a last-name file typed into
# Qt's file dialog, then 50 full names generated and saved: every part comes from the two
# files, in proper case, and every name of the files takes part.
#
#   user_list.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

e2e_init "$1" "$2"
desktop="$E2E_HOME/Desktop"
# Name files as a user writes them: any case, CR LF or LF, blank lines. The two files share
# no name, so a name taken from the wrong list shows. Not *.txt: the file dialog's completion
# list, which would take the Return, only offers names its filter shows.
lists="$E2E_ROOT/lists"
mkdir -p "$lists"
printf 'kenta\r\nHARUTO\r\n\r\nYui\nsakura\n' >"$lists/first-names.lst"
printf 'tanaka\nSUZUKI\r\n\nWatanabe' >"$lists/last-names.lst"
printf 'Kenta\nHaruto\nYui\nSakura\n' >"$E2E_ROOT/expected-first"
printf 'Tanaka\nSuzuki\nWatanabe\n' >"$E2E_ROOT/expected-last"

e2e_start_app
e2e_find_window
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView1 || e2e_fail "the First Names pane shows no names"

e2e_click_control "$main" Option8 150
e2e_expect_setting Option8 True 5
e2e_load_names_file "$main" PushButton6 "$lists/first-names.lst" ListView1
e2e_load_names_file "$main" PushButton7 "$lists/last-names.lst" ListView2

e2e_replace_text E2E_FORM1 "$main" Text1 50
e2e_expect_setting Text1 50 5

e2e_generate "$main"
results=$E2E_RESULTS
e2e_save_results "$results" "$main"
e2e_check_names "$desktop/results.txt" 50 full "$E2E_ROOT/expected-first" "$E2E_ROOT/expected-last"
# 50 draws miss one of four names about once in half a million runs.
[ "$E2E_DISTINCT_FIRST" -eq 4 ] && [ "$E2E_DISTINCT_LAST" -eq 3 ] \
    || e2e_fail "only $E2E_DISTINCT_FIRST of 4 first and $E2E_DISTINCT_LAST of 3 last names were drawn"

e2e_close_window "$results"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
