#!/usr/bin/env bash
# Kanji and kana from outside: Ctrl+A, then Ctrl+Shift+C in the results list put one line a
# name on the clipboard: the name as listed, its kanji family name first, its hiragana; every
# spelling one of that name's own in readings.tsv, the kanji and kana of one spelling.
#
#   kanji_copy.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

e2e_require_tools xclip
e2e_init "$1" "$2"
count=200

e2e_start_app
e2e_find_window
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView1 || e2e_fail "the First Names pane shows no names"
e2e_replace_text E2E_FORM1 "$main" Text1 "$count"
e2e_expect_setting Text1 "$count" 5
e2e_generate "$main"
results=$E2E_RESULTS

e2e_click_in E2E_FORM2 "$results" ListView1
e2e_press "$results" ctrl+a
e2e_press "$results" ctrl+shift+c
clipboard_lines() {
    [ "$( (xclip -o -selection clipboard 2>/dev/null; echo) | wc -l)" -eq "$count" ]
}
e2e_wait_for 10 clipboard_lines || e2e_fail "the clipboard holds no $count lines"
(xclip -o -selection clipboard; echo) >"$E2E_ROOT/clipboard.txt"

e2e_save_results "$results" "$main"
tr -d '\r' <"$E2E_HOME/Desktop/results.txt" >"$E2E_ROOT/saved.txt"
cut -f1 "$E2E_ROOT/clipboard.txt" | diff -q "$E2E_ROOT/saved.txt" - >/dev/null \
    || e2e_fail "the copied names differ from the list"

# Every built-in name has readings: each line's spellings must be that name's own.
bad=$(awk -F'\t' '
    NR == FNR { if (FNR > 1) known[$1 "|" $5 "|" $2 "|" $3] = 1; next }
    {
        split($1, name, " "); split($2, kanji, " "); split($3, kana, " ")
        if (NF != 3 || !(("last|" name[2] "|" kanji[1] "|" kana[1]) in known) \
            || !((("male|" name[1] "|" kanji[2] "|" kana[2]) in known) || (("female|" name[1] "|" kanji[2] "|" kana[2]) in known)))
            print
    }' "$E2E_DATA_DIR/readings.tsv" "$E2E_ROOT/clipboard.txt" | head -3)
[ -z "$bad" ] || e2e_fail "lines whose spellings are not the name's own: $bad"

e2e_close_window "$results"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
