#!/bin/sh
# Screenshots of the device screen under the current (virtual) display:
# the launcher, and the home screen when the host is built.
set -e
win_build=$1
shots=$2
mkdir -p "$shots"
capture() {  # window class, picture name
    wine "$win_build/DeviceCapture.exe" "$1" "$shots/$2.bmp" close
    convert "$shots/$2.bmp" "$shots/$2.png" && rm -f "$shots/$2.bmp"
}
wine "$win_build/Quantrel.exe" &
capture QUANTREL launcher
wait
if [ -x "$win_build/TodayHost.exe" ]; then
    wine "$win_build/TodayHost.exe" /install Zentavo.dll &
    capture TodayHostScreen home
    wait
fi
