#!/usr/bin/env bash
# An installed copy, as a user of the machine meets it: `cmake --install` into a scratch
# DESTDIR, the layout and both metadata validators, then the installed executable started as
# an unprivileged user with an empty home. The built-in names show; a last name added to the
# user list lands in that user's own names.mdb under their home, never in the shipped one,
# and a second start shows it again.
#
#   install.sh BUILD_DIR TOOLS_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

build=$1
app_id=net.quillmark.Toviska
e2e_require_tools cmake desktop-file-validate appstreamcli sqlite3

# Root may write anywhere, so the installed copy runs as nobody; anyone else is already a user
# who cannot write what a system installation owns.
run_as=()
if [ "$(id -u)" -eq 0 ]; then
    if ! command -v setpriv >/dev/null 2>&1 || ! id nobody >/dev/null 2>&1; then
        e2e_log "SKIP: running as root without setpriv or a user nobody"
        exit 77
    fi
    run_as=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups --)
    user=nobody
else
    user=$(id -un)
fi

e2e_init "$build/bin" "$2"
# mktemp made it private; the unprivileged user has to reach the installed files in it.
chmod 755 "$E2E_ROOT"
stage="$E2E_ROOT/stage"
# The staged data folder is made read-only below, as a system installation is for its users.
trap 'chmod -R u+w "$stage" 2>/dev/null; e2e_cleanup' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$E2E_ROOT/install.log" 2>&1 \
    || e2e_fail "cmake --install failed: $(cat "$E2E_ROOT/install.log")"
for file in bin/toviska share/toviska/names.mdb share/toviska/readings.tsv share/toviska/frequency.tsv share/toviska/kanji-dates.tsv share/toviska/NOTICE.md "share/applications/$app_id.desktop" \
    "share/metainfo/$app_id.metainfo.xml" "share/icons/hicolor/scalable/apps/$app_id.svg" \
    share/doc/toviska/copyright share/doc/toviska/changelog.gz; do
    [ -f "$stage/usr/$file" ] || e2e_fail "cmake --install did not install usr/$file"
done
[ -x "$stage/usr/bin/toviska" ] || e2e_fail "usr/bin/toviska is not executable"
grep -q 'MIT\|Expat' "$stage/usr/share/doc/toviska/copyright" || e2e_fail "the copyright file has no licence of the names"

desktop-file-validate "$stage/usr/share/applications/$app_id.desktop" >"$E2E_ROOT/validate.log" 2>&1 \
    || e2e_fail "desktop-file-validate: $(cat "$E2E_ROOT/validate.log")"
appstreamcli validate --no-net "$stage/usr/share/metainfo/$app_id.metainfo.xml" >"$E2E_ROOT/validate.log" 2>&1 \
    || e2e_fail "appstreamcli validate: $(cat "$E2E_ROOT/validate.log")"

shipped="$stage/usr/share/toviska/names.mdb"
chmod -R a-w "$stage/usr/share/toviska"
shipped_sum=$(sha256sum <"$shipped")

# The user's empty home, runtime folder and a stub web browser, which notes the page the app
# opens on one start in a hundred instead of opening it.
home="$E2E_ROOT/user-home"
runtime="$E2E_ROOT/user-runtime"
stubs="$E2E_ROOT/stub-bin"
mkdir -p "$home" "$runtime" "$stubs"
chmod 700 "$runtime"
: >"$E2E_ROOT/opened-urls"
chmod 666 "$E2E_ROOT/opened-urls"
printf '#!/bin/sh\necho "$*" >>"%s"\nexit 0\n' "$E2E_ROOT/opened-urls" >"$stubs/xdg-open"
chmod 755 "$stubs/xdg-open"
if [ "$user" = nobody ]; then chown nobody "$home" "$runtime"; fi
E2E_SETTINGS="$home/.config/Quillmark.ini"
user_db="$home/.local/share/Quillmark/Toviska/names.mdb"

# Like e2e_start_app, but the installed executable, as the user, with nothing of the caller's
# environment (what a menu entry starts) except a sanitized build's settings and suppressions.
sanitizer_env=()
for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
    if [ -n "${!name:-}" ]; then sanitizer_env+=("$name=${!name}"); fi
done
start_installed() {
    E2E_APP_LOG="$E2E_ROOT/app.log"
    (
        cd "$home" || exit 1
        exec "${run_as[@]}" env -i PATH="$stubs:/usr/bin:/bin" HOME="$home" XDG_RUNTIME_DIR="$runtime" \
            QT_QPA_PLATFORM=xcb DISPLAY="$DISPLAY" "${sanitizer_env[@]}" "$stage/usr/bin/toviska"
    ) >>"$E2E_APP_LOG" 2>&1 &
    E2E_APP_PID=$!
    e2e_log "installed toviska started as $user (pid $E2E_APP_PID)"
}

user_last_names() {
    sqlite3 "$user_db" 'select lastname from user_lastname' 2>/dev/null
}

has_user_last_name() {
    [ "$(user_last_names)" = Nakamura ] || return 1
}

start_installed
e2e_find_window
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView1 || e2e_fail "the installed copy shows no built-in first names"
e2e_pane_fills "$main" ListView2 || e2e_fail "the installed copy shows no built-in last names"
[ -f "$user_db" ] || e2e_fail "no copy of names.mdb in the user's data folder $user_db"
[ "$(stat -c %U "$user_db")" = "$user" ] || e2e_fail "$user_db does not belong to $user"

e2e_click_control "$main" Option8 150
e2e_expect_setting Option8 True 5
e2e_click_control "$main" PushButton5
e2e_wait_new_window 20 '^Toviska$' "$main" || e2e_fail "Add Last Name showed no input box"
box=$E2E_WINDOW
e2e_type "$box" Nakamura
e2e_press "$box" Return
e2e_wait_gone 10 "$box" || e2e_fail "the input box did not close on Return"
e2e_wait_for 10 has_user_last_name \
    || e2e_fail "the user's names.mdb holds '$(user_last_names)' as user last names, expected Nakamura"
e2e_pane_fills "$main" ListView2 || e2e_fail "the added name does not show in the Last Names pane"
e2e_close_window "$main"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"

# The second start keeps the user's copy, with the name, and shows the user list again.
start_installed
e2e_find_window
main=$E2E_WINDOW
e2e_pane_fills "$main" ListView2 || e2e_fail "the second start does not show the added last name"
has_user_last_name || e2e_fail "the second start changed the user's names.mdb: '$(user_last_names)'"
e2e_close_window "$main"
e2e_wait_exit 5
[ "$E2E_EXIT_CODE" -eq 0 ] || e2e_fail "toviska ended with exit code $E2E_EXIT_CODE"

[ "$(sha256sum <"$shipped")" = "$shipped_sum" ] || e2e_fail "the installed names.mdb was changed"
e2e_log "PASS"
