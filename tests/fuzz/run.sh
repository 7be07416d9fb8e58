#!/bin/sh
# Runs each fuzz target for a while on its seeds (tests/fuzz/corpus/<target>/, left as they are) and a working
# corpus in the build tree; fails on a crash or a broken invariant, leaving log and input in <dir>/artifacts/.
#   tests/fuzz/run.sh <fuzz build dir> [seconds per target, default 60]
build=$(cd "$1" && pwd) && seeds=$(cd "$(dirname "$0")" && pwd)/corpus || exit 1
status=0
for fuzzer in "$build"/*_fuzz; do
    target=$(basename "$fuzzer" _fuzz) && mkdir -p "$build/corpus/$target" "$build/artifacts" || exit 1
    "$fuzzer" -max_total_time="${2:-60}" -max_len=8192 -timeout=10 -artifact_prefix="$build/artifacts/$target-" \
        "$build/corpus/$target" "$seeds/$target" >"$build/artifacts/$target.log" 2>&1 && echo "$target: ok" ||
        { echo "$target: FAILED, see $build/artifacts/$target.log" && status=1; }
done
exit $status
