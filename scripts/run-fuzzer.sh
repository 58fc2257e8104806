#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time, starting from its committed seed corpus.
# The fuzzer writes new inputs into its corpus folder, so it works on a scratch copy and
# the repository is never written to. Fails on a crash, a sanitizer report or a broken check;
# the input that did it is kept in WORK_DIR/artifacts/.
#
#   run-fuzzer.sh FUZZER SEED_DIR WORK_DIR SECONDS
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 FUZZER SEED_DIR WORK_DIR SECONDS" >&2; exit 2; }
fuzzer=$1 seeds=$2 work=$3 seconds=$4

[ -x "$fuzzer" ] || { echo "run-fuzzer: no fuzzer $fuzzer" >&2; exit 1; }
[ -d "$seeds" ] || { echo "run-fuzzer: no seed corpus $seeds" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp -R "$seeds/." "$work/corpus/"
# Files a target makes for itself (a name file per input) go to a scratch folder in memory
# when there is one: on a disk each input would cost a real write.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    TMPDIR=$(mktemp -d /dev/shm/toviska-fuzz.XXXXXX)
    trap 'rm -rf "$TMPDIR"' EXIT
else
    TMPDIR="$work/tmp"
    mkdir -p "$TMPDIR"
fi
export TMPDIR

status=0
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$work/corpus" || status=$?
if [ "$status" -ne 0 ]; then
    echo "run-fuzzer: $(basename "$fuzzer") failed (exit $status); the input is in $work/artifacts/:" >&2
    ls -l "$work/artifacts/" >&2
fi
exit "$status"
