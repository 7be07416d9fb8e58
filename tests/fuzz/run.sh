#!/bin/sh
# Runs every fuzz target of a fuzz tree for a bounded time, one after the
# other, each on its seeds from tests/fuzz/corpus/<target>/ (kept read-only)
# plus a working corpus under the tree that grows from run to run.
#   tests/fuzz/run.sh <fuzz build dir> [seconds per target]
# Fails when any target finds a crash or a broken invariant; the input that
# did it is left in <fuzz build dir>/artifacts/.
set -e
build=$(cd "$1" && pwd)
seconds=${2:-60}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus

mkdir -p "$build/artifacts"
status=0
found=0
for fuzzer in "$build"/*_fuzz; do
    [ -x "$fuzzer" ] || continue
    found=1
    target=$(basename "$fuzzer" _fuzz)
    work="$build/corpus/$target"
    mkdir -p "$work"
    # The area search is fed whole files; the other readers take field texts
    # and records, for which short inputs cover everything.
    case $target in
        rates|areacodes) max_len=8192 ;;
        *) max_len=1024 ;;
    esac
    log="$build/artifacts/$target.log"
    if "$fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
            "$work" "$seeds/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        printf '%-12s ok     %10s runs in %ss, corpus %s inputs\n' "$target" "$runs" "$seconds" \
            "$(ls "$work" | wc -l)"
    else
        printf '%-12s FAILED, see %s\n' "$target" "$log"
        grep -E 'invariant failed|ERROR: |runtime error' "$log" | head -5 || true
        status=1
    fi
done
if [ "$found" = 0 ]; then
    echo "no fuzz targets in $build" >&2
    exit 1
fi
exit $status
