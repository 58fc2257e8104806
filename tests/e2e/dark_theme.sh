#!/usr/bin/env bash
# Under a dark desktop theme (Qt's GTK platform theme, Adwaita:dark) the captions and option
# labels on the main window's white stay dark and readable, while the list panes take the
# theme's dark fields. Also: the app keeps its cache in the flow's home.
#
#   dark_theme.sh BIN_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

theme=$(find /usr/lib -path '*/qt6/plugins/platformthemes/libqgtk3.so' 2>/dev/null | head -n1)
if [ -z "$theme" ] || [ ! -d /usr/share/themes/Adwaita-dark ]; then
    e2e_log "SKIP: qt6-gtk-platformtheme or gnome-themes-extra is not installed (scripts/install-deps.sh)"
    exit 77
fi

e2e_init "$1" "$2"

e2e_start_app QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
e2e_find_window
main=$E2E_WINDOW

# dark_in WINDOW LEFT TOP WIDTH HEIGHT (twips): the dark pixels there.
dark_in() {
    local x y w h
    read -r x y w h <<<"$(e2e_px "$1" "$2" "$3" "$4" "$5")"
    e2e_dump "$1" "$E2E_ROOT/dark.xwd"
    "$E2E_PROBE" "$E2E_ROOT/dark.xwd" dark "$x" "$y" "$w" "$h"
}
# Nearly all of the pane's rows are the theme's field colour.
pane_is_dark() { local n; n=$(e2e_dark_pixels "$main" ListView1) && [ "${n:-0}" -gt 15000 ]; }
e2e_wait_for 10 pane_is_dark \
    || e2e_fail "the dark theme did not take: $(e2e_dark_pixels "$main" ListView1) dark pixels in a list pane"

# Text on white: the caption of "Part Of Name" (its first 1000 twips) and the label of Option9
# (past its indicator). White text on white leaves none dark.
caption=$(dark_in "$main" 240 2460 1000 200)
label=$(dark_in "$main" 700 870 3000 255)
e2e_log "dark pixels: caption $caption, option label $label"
[ "$caption" -gt 40 ] || e2e_fail "the frame caption does not read on white ($caption dark pixels)"
[ "$label" -gt 80 ] || e2e_fail "the option label does not read on white ($label dark pixels)"

[ -d "$E2E_HOME/.cache" ] && [ -n "$(ls -A "$E2E_HOME/.cache")" ] \
    || e2e_fail "the app kept no cache in the flow's home"

e2e_close_window "$main"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"
e2e_log "PASS"
