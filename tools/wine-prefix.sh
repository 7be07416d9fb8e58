#!/bin/sh
# Creates the Wine prefix the program runs and is tested in, as a user's
# prefix is: offline (no Mono, no Gecko) and Wine's own fonts installed where
# Wine finds them, as Windows has its fonts. The one setting beyond that is
# for Xvfb, which has no window manager: Wine places its windows itself, as
# Windows does.
set -e
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$WINEPREFIX/.quantrel-ready-3" ]; then exit 0; fi
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 </dev/null
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
reg_file=$(mktemp --suffix=.reg)
cat > "$reg_file" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
REG
wine regedit "$reg_file" >/dev/null 2>&1 </dev/null
rm -f "$reg_file"
wineserver -w
touch "$WINEPREFIX/.quantrel-ready-3"
