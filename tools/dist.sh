#!/bin/sh
# Builds the package for Windows users: <out>/quantrel-<version>.zip with one
# folder holding Quantrel.exe, Zentavo.dll and TodayHost.exe (when this tree
# builds them), the data files, the help and README-Windows.txt. Then lists
# the zip and fails if a file is missing or a program needs a DLL that
# Windows does not have.
#
#   tools/dist.sh <windows build tree> <output folder>
set -e
win_build=$1
mkdir -p "$2"
out=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")

# The version is the one the About picture shows.
version=$(sed -n 's/^VERSION_LINE = "Version \([0-9][0-9.]*\)"$/\1/p' "$here/pictures/make_pictures.py")
if [ -z "$version" ]; then
    echo "dist: no VERSION_LINE in tools/pictures/make_pictures.py" >&2
    exit 1
fi
name=quantrel-$version
zip_file=$out/$name.zip

# The two deliverables and the home-screen host.
cmake --build "$win_build" -j "${JOBS:-2}" --target Quantrel Zentavo TodayHost
programs="Quantrel.exe Zentavo.dll TodayHost.exe"
data="rates.txt area.txt OVRQuantrel.htm"

stage=$out/dist
rm -rf "$stage" "$zip_file"
mkdir -p "$stage/$name"
for program in $programs; do cp "$win_build/$program" "$stage/$name/"; done
for file in $data; do cp "$source_dir/data/$file" "$stage/$name/"; done

# The programs are linked statically: they may need only DLLs of Windows itself.
for program in $programs; do
    foreign=$(x86_64-w64-mingw32-objdump -p "$stage/$name/$program" | sed -n 's/^\s*DLL Name: //p' |
        grep -iv '^\(kernel32\|user32\|gdi32\|comctl32\|comdlg32\|shell32\|advapi32\|wininet\|ws2_32\|msvcrt\|ole32\|oleaut32\|shlwapi\|api-ms-win-.*\)\.dll$' || true)
    if [ -n "$foreign" ]; then
        echo "dist: $program needs DLLs that Windows lacks:" $foreign >&2
        exit 1
    fi
done

{
    title="Quantrel $version for Windows"
    echo "$title"
    echo "$title" | sed 's/./=/g'
    echo
    echo "Eight everyday calculators made for a 240 x 320 handheld: Area Codes,"
    echo "Currency Exchange, Loan Payments, Tip Calculator, Computer, Metric"
    echo "Conversion, Date Calculator and Lat/Lon Calculator. On the desktop they"
    echo "open in a 240 x 320 area at the top left corner of the screen."
    echo
    echo "In this folder"
    echo "  Quantrel.exe      the calculators"
    echo "  TodayHost.exe     the handheld's home screen (Today screen)"
    echo "  Zentavo.dll       the home-screen item with the currency rates"
    echo "  rates.txt         currency rates; area.txt: area codes"
    echo "  OVRQuantrel.htm   the help"
    echo
    echo "Starting"
    echo "  1. Unpack the whole folder to a place where you may write: Quantrel keeps"
    echo "     its files beside itself (rates.txt, quantrel.dat)."
    echo "  2. Double-click Quantrel.exe. Tap (click) a button to open a calculator,"
    echo "     \"ok\" at the top right to close it. The menu bar at the bottom gives"
    echo "     Help and, with the ? button, the About box. Ctrl+Q ends Quantrel."
    echo "  3. The home screen: Quantrel registers the Zentavo item under"
    echo "     HKEY_LOCAL_MACHINE, which Windows allows only to an administrator."
    echo "     So once: right-click Quantrel.exe, \"Run as administrator\", open"
    echo "     Currency Exchange, tick \"Zentavo\" and click \"ok\". Then double-click"
    echo "     TodayHost.exe: it shows the rates; click a rate twice to edit it, click"
    echo "     the list's header for the currency calculator."
    echo
    echo "Help: open OVRQuantrel.htm in any web browser, or use Help in Quantrel."
    echo "On Linux, the same files run under Wine (see README.md of the sources)."
} | sed 's/$/\r/' > "$stage/$name/README-Windows.txt"

(cd "$stage" && zip -q -r -X "$zip_file" "$name")

# The zip's own list must hold every file.
listing=$(zip -sf "$zip_file")
echo "$listing"
missing=""
for file in $programs $data README-Windows.txt; do
    echo "$listing" | grep -q "^ *$name/$file\$" || missing="$missing $file"
done
if [ -n "$missing" ]; then
    echo "dist: $zip_file lacks:$missing" >&2
    exit 1
fi
echo "Package: $zip_file"
