#!/usr/bin/env bash
# Every choice survives a restart, seen from outside. A first run chooses "Female Only", then
# "User List" (which disables the gender options), "Last Name Only", the count 37, loads a
# user list and types a folder into the results window; closing ends it. The settings file
# then holds every choice, a second start keeps them, and behaviour shows them: Start
# Generating at once gives 37 last names of the user list, saved into the typed folder; back
# on the built-in list, "Female Only" is still in force.
#
#   restore.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

e2e_init "$1" "$2"
lists="$E2E_ROOT/lists"
out="$E2E_ROOT/chosen folder"
mkdir -p "$lists" "$out"
printf 'kenta\nharuto\nyui\n' >"$lists/first-names.lst"
printf 'tanaka\nsuzuki\nwatanabe\n' >"$lists/last-names.lst"
printf 'Tanaka\nSuzuki\nWatanabe\n' >"$E2E_ROOT/expected-last"

expect_all_settings() {
    e2e_expect_setting Option9 False
    e2e_expect_setting Option8 True
    e2e_expect_setting Option1 False
    e2e_expect_setting Option2 False
    e2e_expect_setting Option3 True
    e2e_expect_setting Option4 False
    e2e_expect_setting Option5 False
    e2e_expect_setting Option6 True
    e2e_expect_setting Text1 37
    e2e_expect_setting Text2 "$out/"
}

e2e_log "first run: the choices"
e2e_start_app
e2e_find_window
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView1 || e2e_fail "the First Names pane shows no names"
e2e_click_control "$main" Option3 150
e2e_expect_setting Option3 True 5
e2e_click_control "$main" Option8 150
e2e_expect_setting Option8 True 5
e2e_click_control "$main" Option6 150
e2e_expect_setting Option6 True 5
e2e_load_names_file "$main" PushButton6 "$lists/first-names.lst" ListView1
e2e_load_names_file "$main" PushButton7 "$lists/last-names.lst" ListView2
e2e_replace_text E2E_FORM1 "$main" Text1 37
e2e_expect_setting Text1 37 5
e2e_generate "$main"
e2e_replace_text E2E_FORM2 "$E2E_RESULTS" Text2 "$out/"
e2e_expect_setting Text2 "$out/" 5
e2e_close_window "$E2E_RESULTS"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
expect_all_settings

e2e_log "second run: the choices restored"
e2e_start_app
e2e_find_window
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView2 || e2e_fail "the Last Names pane shows no names"
# The start-up stores what it restored: the same values again.
expect_all_settings
e2e_generate "$main"
results=$E2E_RESULTS
e2e_save_results "$results" "$main"
[ ! -e "$E2E_HOME/Desktop/results.txt" ] || e2e_fail "results.txt went to the desktop, not to the typed folder"
e2e_check_names "$out/results.txt" 37 last /dev/null "$E2E_ROOT/expected-last"
[ "$E2E_DISTINCT_LAST" -eq 3 ] || e2e_fail "only $E2E_DISTINCT_LAST of the 3 user last names were drawn"

# The gender choice was restored too, though the user list kept it out of use.
e2e_back "$results" "$main"
e2e_click_control "$main" Option9 150
e2e_expect_setting Option9 True 5
e2e_expect_setting Option3 True
e2e_click_control "$main" Option5 150
e2e_expect_setting Option5 True 5
e2e_generate "$main"
e2e_save_results "$results" "$main"
e2e_check_names "$out/results.txt" 37 first "$E2E_DATA_DIR/female.txt" /dev/null

e2e_close_window "$results"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
