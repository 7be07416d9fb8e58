#!/bin/sh
# Runs every test: the native tree directly, the Windows tree through Wine
# under one Xvfb and one warm wineserver for the whole run.
set -e
win_build=$1
native_build=$2
here=$(cd "$(dirname "$0")" && pwd)

ctest --test-dir "$native_build" --output-on-failure -j 2

# The same native tests under ASan and UBSan (the Python tools' tests have
# nothing to sanitize), then a short run of every fuzz target.
if [ -n "$3" ]; then ctest --test-dir "$3" --output-on-failure -j 2 -E '^tools\.'; fi
if [ -n "$4" ]; then "$here/../tests/fuzz/run.sh" "$4" "${5:-15}"; fi

# One desktop the size of a small monitor, as users have: the programs keep
# to the device's 240 x 320 pixels at its top left.
xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" sh -c '
    set -e
    "'"$here"'/wine-prefix.sh"
    # Wine services started before ctest, detached, so that they never hold
    # ctest'"'"'s output pipe open.
    wineserver -p </dev/null >/dev/null 2>&1
    wineboot </dev/null >/dev/null 2>&1
    status=0
    ctest --test-dir "'"$win_build"'" --output-on-failure -j 1 || status=$?
    wineserver -k || true
    for shot in "'"$win_build"'"/../screenshots/*.bmp; do
        [ -f "$shot" ] && convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
    done
    exit $status
'
