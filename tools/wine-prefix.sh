#!/bin/sh
# Creates the Wine prefix the program runs and is tested in: offline (no
# Mono, no Gecko), Wine's own fonts installed where Wine finds them, windows
# unmanaged (no window manager under Xvfb), "System" dialogs mapped to Tahoma
# as on the handheld, scroll bars 13 pixels wide as there, and the whole Wine
# screen one 240 x 320 device.
set -e
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$WINEPREFIX/.quantrel-ready-2" ]; then exit 0; fi
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 </dev/null
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
for f in /usr/share/wine/fonts/*; do
    case "${f##*/}" in system.ttf|*vgasys*.fon|*sys12*.fon) continue ;; esac
    cp "$f" "$WINEPREFIX/drive_c/windows/Fonts/"
done
reg_file=$(mktemp --suffix=.reg)
cat > "$reg_file" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Device"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Device"="240x320"

[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]
"ScrollWidth"="-195"
"ScrollHeight"="-195"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"System"="Tahoma"
REG
wine regedit "$reg_file" >/dev/null 2>&1 </dev/null
rm -f "$reg_file"
wineserver -w
touch "$WINEPREFIX/.quantrel-ready-2"
