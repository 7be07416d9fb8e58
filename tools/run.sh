#!/bin/sh
# Starts the home-screen host and Quantrel under Wine on the user's display;
# without a display, under Xvfb, writing screenshots to build/screenshots/.
set -e
win_build=$1
here=$(cd "$(dirname "$0")" && pwd)
shots=$(dirname "$win_build")/screenshots

if [ -n "$DISPLAY" ]; then
    "$here/wine-prefix.sh"
    # Both programs in one Wine virtual desktop the size of the device.
    desktop=/desktop=Quantrel,240x320
    [ -x "$win_build/TodayHost.exe" ] && wine explorer "$desktop" "$win_build/TodayHost.exe" /install Zentavo.dll &
    exec wine explorer "$desktop" "$win_build/Quantrel.exe"
fi

mkdir -p "$shots"
xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" sh -c '
    "'"$here"'/wine-prefix.sh"
    wineserver -p </dev/null >/dev/null 2>&1
    wineboot </dev/null >/dev/null 2>&1
    "'"$here"'/screenshots.sh" "'"$win_build"'" "'"$shots"'"
    wineserver -k || true
'
echo "No display: screenshots written to $shots"
