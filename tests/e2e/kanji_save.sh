#!/usr/bin/env bash
# Saving in kanji from outside: "Kanji" chosen in the writing list with the keyboard, then
# "Save Results" writes results.txt with one CR LF line a name, family name first, both in
# kanji of readings.tsv (a family name of the last names, a given name of the first names),
# UTF-8 without a byte-order mark; the choice is stored.
#
#   kanji_save.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

e2e_init "$1" "$2"
count=500
desktop="$E2E_HOME/Desktop"
readings="$E2E_DATA_DIR/readings.tsv"
awk -F'\t' 'NR > 1 && $1 == "last" { print $2 }' "$readings" >"$E2E_ROOT/family-kanji"
awk -F'\t' 'NR > 1 && $1 != "last" { print $2 }' "$readings" >"$E2E_ROOT/given-kanji"

e2e_start_app
e2e_find_window
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView1 || e2e_fail "the First Names pane shows no names"
e2e_replace_text E2E_FORM1 "$main" Text1 "$count"
e2e_expect_setting Text1 "$count" 5
e2e_generate "$main"
results=$E2E_RESULTS

# The click opens the list; closed again, the arrow keys walk it: Romaji, three romaji
# styles, then Kanji.
e2e_click_in E2E_FORM2 "$results" Combo1
sleep 0.5
e2e_press "$results" Escape
for _ in 1 2 3 4; do e2e_press "$results" Down; done
e2e_expect_setting NameWriting kanji 5

e2e_save_results "$results" "$main"
file="$desktop/results.txt"
[ "$(head -c 3 "$file" | od -An -tx1 | tr -d ' ')" != efbbbf ] || e2e_fail "$file starts with a byte-order mark"
iconv -f UTF-8 -t UTF-8 "$file" >/dev/null || e2e_fail "$file is not UTF-8"
e2e_check_names "$file" "$count" full "$E2E_ROOT/family-kanji" "$E2E_ROOT/given-kanji"
[ "$E2E_DISTINCT_FIRST" -ge 100 ] && [ "$E2E_DISTINCT_LAST" -ge 100 ] \
    || e2e_fail "only $E2E_DISTINCT_LAST given and $E2E_DISTINCT_FIRST family names among $count"

e2e_close_window "$results"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"

e2e_log "PASS"
