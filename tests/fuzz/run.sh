#!/bin/sh
# Runs each target of a fuzz tree for a while (default 60 s) on its seeds in
# tests/fuzz/corpus/<target>/, which stay as they are, and on a working
# corpus in the tree. Fails when a target crashes or breaks an invariant; the
# log and the input are left in <fuzz build dir>/artifacts/.
#   tests/fuzz/run.sh <fuzz build dir> [seconds per target]
build=$(cd "$1" && pwd) && seeds=$(cd "$(dirname "$0")" && pwd)/corpus || exit 1
status=0
for fuzzer in "$build"/*_fuzz; do
    target=$(basename "$fuzzer" _fuzz) && mkdir -p "$build/corpus/$target" "$build/artifacts" || exit 1
    "$fuzzer" -max_total_time="${2:-60}" -max_len=8192 -timeout=10 -artifact_prefix="$build/artifacts/$target-" \
        "$build/corpus/$target" "$seeds/$target" >"$build/artifacts/$target.log" 2>&1 && echo "$target: ok" ||
        { echo "$target: FAILED, see $build/artifacts/$target.log" && status=1; }
done
exit $status
