#!/usr/bin/env bash
# The bash completion of toviska-cli, sourced as bash-completion loads it: what a few
# command lines complete to.
#
#   completion.sh COMPLETION_FILE [TOVISKA_CLI]
#
# With TOVISKA_CLI, the values offered for each option of generate are also checked against
# the words the command itself accepts, as its usage errors list them.
set -uo pipefail
completion=$1
cli=${2:-}
fail() {
    echo "completion: FAIL: $*" >&2
    exit 1
}
framework=/usr/share/bash-completion/bash_completion
[ -f "$framework" ] || { echo "completion: SKIP: bash-completion is not installed" >&2; exit 77; }
# shellcheck source=/dev/null
source "$framework"
# shellcheck source=/dev/null
source "$completion"
# Only a running completion may set its options; here there is none to set.
compopt() { :; }
export LC_ALL=C

scratch=$(mktemp -d "${TMPDIR:-/tmp}/toviska-completion.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/names.txt" "$scratch/people.csv"
cd "$scratch" || exit 1

# expect LINE WANTED...: completing at the end of LINE offers exactly the WANTED words.
expect() {
    local line=$1
    shift
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMP_LINE=$line COMP_POINT=${#line}
    COMPREPLY=()
    _toviska_cli toviska-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    [ "$got" = "$*" ] || fail "'$line' completes to '$got', not '$*'"
}

expect 'toviska-cli ' --help --version -h add clear delete generate load names
expect 'toviska-cli generate --f' --fields --format --frequency
expect 'toviska-cli generate --born 19' 1920s 1930s 1940s 1950s 1960s 1970s 1980s 1990s
expect 'toviska-cli generate --st' --start
expect 'toviska-cli generate --enc' --encoding
expect 'toviska-cli generate --encoding u' utf-8 utf-8-bom
expect 'toviska-cli generate --header=' en ja
expect 'toviska-cli generate -n 5 --romaji k' kunrei
expect 'toviska-cli generate --format=js' json jsonl
expect 'toviska-cli generate --fields given,fa' given,family given,family_hiragana given,family_kanji given,family_katakana \
    given,family_katakana_half
expect 'toviska-cli generate -o p' people.csv
expect 'toviska-cli names --list user ' first last
expect 'toviska-cli load first --list user n' names.txt
expect 'toviska-cli load first -' - --db --help --list --version -h
expect 'toviska-cli clear --' --db --help --version
expect 'toviska-cli names -' --db --gender --help --list --version -h

if [ -n "$cli" ]; then
    # "... (accepted: a, b, c)" as the words a b c, sorted.
    accepted() {
        "$cli" generate "$@" 2>&1 >/dev/null | sed -n 's/.*(accepted: \(a comma-separated list of \)\{0,1\}\(.*\))$/\2/p' |
            tr -d ',' | tr ' ' '\n' | sort | xargs
    }
    for option in list gender part script romaji order format frequency encoding header; do
        # shellcheck disable=SC2046 # one word each
        expect "toviska-cli generate --$option " $(accepted "--$option" '?')
    done
    # shellcheck disable=SC2046
    expect 'toviska-cli generate --fields ' $(accepted --format csv --fields '?')
fi
echo "completion: PASS" >&2
