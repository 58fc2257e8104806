#!/usr/bin/env bash
# The command line and the window on one names.mdb: names added by toviska-cli are the user
# list the window draws from, and a name added in the window is one toviska-cli lists and draws.
# toviska-cli sits beside the copied app, so it finds the same names.mdb by the same rule.
#
#   cli_window.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

e2e_init "$1" "$2"
[ -x "$E2E_BIN_DIR/toviska-cli" ] || e2e_fail "no executable $E2E_BIN_DIR/toviska-cli"
cp "$E2E_BIN_DIR/toviska-cli" "$E2E_APP_DIR/"
cli() { HOME="$E2E_HOME" "$E2E_APP_DIR/toviska-cli" "$@"; }
desktop="$E2E_HOME/Desktop"

cli add first --list user Zenkichi || e2e_fail "toviska-cli add first failed"
cli add last --list user Mikawa || e2e_fail "toviska-cli add last failed"

e2e_start_app
e2e_find_window
main=$E2E_WINDOW
e2e_click_control "$main" Option8 150
e2e_expect_setting Option8 True 5
e2e_pane_fills "$main" ListView1 || e2e_fail "the name added by toviska-cli does not show in First Names"
e2e_replace_text E2E_FORM1 "$main" Text1 3
e2e_expect_setting Text1 3 5
e2e_generate "$main"
results=$E2E_RESULTS
e2e_save_results "$results" "$main"
[ "$(cat "$desktop/results.txt")" = "$(printf 'Zenkichi Mikawa\r\nZenkichi Mikawa\r\nZenkichi Mikawa\r')" ] \
    || e2e_fail "results.txt holds '$(cat "$desktop/results.txt")', not the names added by toviska-cli"
e2e_back "$results" "$main"

e2e_click_control "$main" PushButton2
e2e_wait_new_window 20 '^Toviska$' "$main" || e2e_fail "Add First Name showed no input box"
box=$E2E_WINDOW
e2e_type "$box" Hoshino
e2e_press "$box" Return
e2e_wait_gone 10 "$box" || e2e_fail "the input box did not close on Return"
added() { [ "$(cli names first --list user)" = "$(printf 'Hoshino\nZenkichi')" ]; }
e2e_wait_for 10 added || e2e_fail "toviska-cli lists '$(cli names first --list user)' after the window's add"
# A fixed seed: these 50 draws from the two names take each of them.
drawn=$(cli generate --list user --part first -n 50 --seed 5 | sort -u | tr '\n' ' ')
[ "$drawn" = "Hoshino Zenkichi " ] || e2e_fail "toviska-cli drew '$drawn' from the user list"

e2e_close_window "$main"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
