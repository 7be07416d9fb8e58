#!/bin/sh
# The benchmarks that run under Wine: key releases on every screen (the
# program's and Zentavo's calculator), Zentavo's answer to the host's
# refresh query, and the program's start-up against a minimal program.
# One Xvfb and one warm wineserver for the whole run. The figures come out
# as Markdown, with the machine, its load and the date.
#
# Xvfb, the wineserver and the programs all run on one processor, as on the
# handheld. Most window operations are requests to the wineserver; spread
# over processors, each request waits for an idle processor to wake up (on
# a virtual machine about 60 µs instead of 4), and the figures would show
# that wait, and swing with how busy the machine happens to be, more than
# the work of the program. BENCH_CPUS=all spreads them all the same.
set -e
win_build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
pin=""
if [ "${BENCH_CPUS:-one}" != all ] && command -v taskset >/dev/null; then pin="taskset -c 0"; fi

for bench in screen_bench zentavo_bench startup_bench MinimalWindow; do
    if [ ! -f "$win_build/$bench.exe" ]; then
        echo "bench.sh: $win_build/$bench.exe is missing; build the Windows tree first" >&2
        exit 1
    fi
done

echo "Under Wine, $(date +%Y-%m-%d), $(wine --version 2>/dev/null || echo wine)"
echo
echo "Machine: $(nproc) cores; load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
if [ -n "$pin" ]; then echo "Xvfb, the wineserver and the programs on processor 0 only."; else echo "Xvfb, the wineserver and the programs on every processor."; fi
echo
echo '```'
lscpu | head -n 15
echo '```'
echo

figures=$(mktemp)
status=0
$pin xvfb-run -a -s "-screen 0 240x320x24 -nolisten tcp" sh -c '
    set -e
    "'"$here"'/wine-prefix.sh"
    wineserver -p </dev/null >/dev/null 2>&1
    wineboot </dev/null >/dev/null 2>&1
    cd "'"$win_build"'"
    status=0
    # The two tables of key releases run on: Zentavo adds its calculator row.
    wine ./screen_bench.exe </dev/null || status=$?
    wine ./zentavo_bench.exe </dev/null || status=$?
    wine ./startup_bench.exe </dev/null || status=$?
    wineserver -k || true
    exit $status
' >"$figures" || status=$?
tr -d '\r' <"$figures"
rm -f "$figures"
echo
echo "Load average after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
