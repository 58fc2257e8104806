#!/usr/bin/env bash
# Both spreadsheet kinds with the real LibreOffice Calc: 300 names generated, saved once as
# results.txt (the list as the results window holds it), then "Excel (2 cells)" and
# "Excel (1 cell)". Each opens a new window "Untitled N - LibreOffice Calc"; the workbook handed
# to Calc, read back headless with a profile of its own, holds the list split as the kind says.
# Calc runs with the flow's HOME (so a profile of its own, whose first start shows "Tip of the
# Day", closed here as a user would) and is ended by the flow.
#
#   calc_export.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

if ! command -v localc >/dev/null 2>&1 || ! command -v soffice >/dev/null 2>&1; then
    e2e_log "SKIP: LibreOffice Calc is not installed (scripts/install-deps.sh installs it)"
    exit 77
fi

e2e_init "$1" "$2"

# Calc outlives the app that started it and is no child of this script: its processes are
# those that carry this flow's HOME.
calc_pids() {
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" = "$$" ] && continue
        [ "$pid" = "${E2E_APP_PID:-}" ] && continue
        case "$(readlink "/proc/$pid/exe" 2>/dev/null)" in
        */soffice.bin | */oosplash) ;;
        *) continue ;;
        esac
        { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "HOME=$E2E_HOME" && echo "$pid"
    done
    return 0
}

stop_calc() {
    local pids i
    pids=$(calc_pids)
    [ -n "$pids" ] || return 0
    # shellcheck disable=SC2086
    kill $pids 2>/dev/null || true
    for i in $(seq 100); do
        pids=$(calc_pids)
        [ -n "$pids" ] || return 0
        sleep 0.1
    done
    # shellcheck disable=SC2086
    kill -KILL $pids 2>/dev/null || true
}

calc_cleanup() {
    set +e
    stop_calc
    e2e_cleanup
}
trap calc_cleanup EXIT

desktop="$E2E_HOME/Desktop"
workbooks="$E2E_HOME/.cache/Toviska/workbooks"

# calc_document N: CALC_WINDOW, the visible window "Untitled N - LibreOffice Calc". A "Tip of
# the Day" shown meanwhile is closed with its OK button (Return), as a user would. A first
# start of Calc in a new profile takes long on a slow machine: the limit is generous.
calc_document() {
    local title="^Untitled $1 - LibreOffice Calc\$" i id
    for i in $(seq 1800); do
        id=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1) || true
        if [ -n "$id" ]; then
            CALC_WINDOW=$id
            return 0
        fi
        close_tip
        for id in $(e2e_app_windows '.'); do
            [ "$id" = "$results" ] || e2e_fail "Save Results showed '$(xdotool getwindowname "$id")', not Calc"
        done
        sleep 0.1
    done
    e2e_fail "no window 'Untitled $1 - LibreOffice Calc' after Save Results"
}

close_tip() {
    local tip
    tip=$(xdotool search --onlyvisible --name '^Tip of the Day$' 2>/dev/null | head -n1) || true
    [ -n "$tip" ] || return 0
    e2e_log "closing Calc's Tip of the Day"
    xdotool windowraise "$tip" 2>/dev/null || true
    e2e_press "$tip" Return
    e2e_wait_gone 20 "$tip" || e2e_fail "Calc's Tip of the Day did not close"
}

# newest_workbook: WORKBOOK, the workbook of the app's folder that none of the known ones is.
newest_workbook() {
    local known=("$@") file k
    WORKBOOK=
    for file in "$workbooks"/run-*/*.xlsx; do
        [ -f "$file" ] || continue
        for k in "${known[@]}"; do
            [ "$file" = "$k" ] && continue 2
        done
        [ -z "$WORKBOOK" ] || e2e_fail "two new workbooks: $WORKBOOK and $file"
        WORKBOOK=$file
    done
    [ -n "$WORKBOOK" ] || e2e_fail "no new workbook in $workbooks"
}

# sheet_csv WORKBOOK OUT: the workbook's sheet as UTF-8 CSV, read by a headless LibreOffice with
# a profile of its own, apart from the Calc the user sees.
sheet_csv() {
    local out_dir="$E2E_ROOT/csv"
    mkdir -p "$out_dir"
    rm -f "$out_dir"/*.csv
    HOME="$E2E_ROOT/convert-home" timeout 180 soffice --headless --norestore \
        "-env:UserInstallation=file://$E2E_ROOT/convert-profile" \
        --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir "$out_dir" "$1" >"$E2E_ROOT/convert.log" 2>&1 \
        || e2e_fail "LibreOffice could not read $1: $(cat "$E2E_ROOT/convert.log")"
    local csv
    csv="$out_dir/$(basename "${1%.xlsx}").csv"
    [ -f "$csv" ] || e2e_fail "no CSV of $1: $(cat "$E2E_ROOT/convert.log")"
    tr -d '\r' <"$csv" >"$2"
}

# save_to_calc OPTION N EXPECTED: the output kind chosen, "Save Results", the new Calc document
# N, and the workbook handed over compared with the expected CSV.
save_to_calc() {
    local option=$1 n=$2 expected=$3
    shift 3
    # Calc's windows cover the results window on a server without a window manager.
    xdotool windowraise "$results"
    e2e_click_in E2E_FORM2 "$results" "$option" 120
    e2e_click_in E2E_FORM2 "$results" PushButton2
    calc_document "$n"
    newest_workbook "$@"
    e2e_log "Calc shows Untitled $n (window $CALC_WINDOW), from $WORKBOOK"
    sheet_csv "$WORKBOOK" "$E2E_ROOT/sheet-$n.csv"
    cmp -s "$expected" "$E2E_ROOT/sheet-$n.csv" \
        || e2e_fail "the sheet of $WORKBOOK differs from the list: $(diff "$expected" "$E2E_ROOT/sheet-$n.csv" | head -5)"
}

e2e_start_app
e2e_find_window
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView1 || e2e_fail "the First Names pane shows no names"
e2e_replace_text E2E_FORM1 "$main" Text1 300
e2e_expect_setting Text1 300 5
e2e_generate "$main"
results=$E2E_RESULTS

# The list as the results window holds it.
e2e_save_results "$results" "$main"
list="$E2E_ROOT/list"
tr -d '\r' <"$desktop/results.txt" >"$list"
[ "$(wc -l <"$list")" -eq 300 ] || e2e_fail "results.txt holds $(wc -l <"$list") names, not 300"
# Two cells: split at every space, A the first piece, B the second. One cell: the whole name.
awk '{ n = split($0, piece, / /); print piece[1] "," (n > 1 ? piece[2] : "") }' "$list" >"$E2E_ROOT/expected-2"
cp "$list" "$E2E_ROOT/expected-1"

save_to_calc Option5 1 "$E2E_ROOT/expected-2"
first=$WORKBOOK
save_to_calc Option6 2 "$E2E_ROOT/expected-1" "$first"
[ -f "$first" ] || e2e_fail "the first workbook was removed while the app still runs"

close_tip
stop_calc
[ -z "$(calc_pids)" ] || e2e_fail "Calc did not end"
e2e_close_window "$results"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
