#!/usr/bin/env bash
# The Debian package, built as `make package` builds it but into a scratch folder: its file
# name, control fields and contents, and lintian with no errors nor manual-page warnings.
#
#   deb.sh BUILD_DIR
set -euo pipefail
build=$1
log() { echo "deb: $*" >&2; }
fail() {
    log "FAIL: $*"
    exit 1
}
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null 2>&1 || { log "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"; exit 77; }
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/toviska-deb.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1 \
    || fail "cpack failed: $(cat "$scratch/cpack.log")"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$scratch/toviska_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(cd "$scratch" && ls -- *.deb 2>/dev/null)"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = toviska ] || fail "package name '$(field Package)'"
[ "$(field Section)" = utils ] || fail "section '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
[[ "$(field Recommends)" == *libreoffice-calc* ]] || fail "LibreOffice Calc is not recommended: '$(field Recommends)'"
# Computed from the binary, plus the SQLite driver, a plug-in no library of the binary names,
# and a font that draws kanji and kana.
for needed in libqt6widgets6 libqt6svg6 libxlsxwriter libqt6sql6-sqlite "fonts-noto-cjk | fonts-japanese-gothic"; do
    [[ "$(field Depends)" == *"$needed"* ]] || fail "Depends lacks $needed: '$(field Depends)'"
done

dpkg-deb -x "$deb" "$scratch/root"
grep -q 'Permission is hereby granted' "$scratch/root/usr/share/doc/toviska/copyright" \
    || fail "the copyright file lacks the MIT notice of the built-in names"
file "$scratch/root/usr/bin/toviska" | grep -q ', stripped' || fail "usr/bin/toviska is not stripped"
for file in share/man/man1/toviska.1.gz share/man/man1/toviska-cli.1.gz share/bash-completion/completions/toviska-cli; do
    [ -s "$scratch/root/usr/$file" ] || fail "the package lacks usr/$file"
done

lintian --fail-on error "$deb" >"$scratch/lintian.log" 2>&1 || fail "lintian: $(cat "$scratch/lintian.log")"
# Other warnings pass, none about manual pages: every command has one, formatting cleanly.
if grep -E 'no-manual-page|manpage-' "$scratch/lintian.log" >&2; then fail "lintian warns about the manual pages"; fi
log "PASS ($(grep -c '^W:' "$scratch/lintian.log" || true) lintian warnings)"
