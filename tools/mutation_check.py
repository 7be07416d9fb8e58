#!/usr/bin/env python3
"""Plants one-line faults in the sources, one at a time, and runs the tests
that should see each: a fault no test catches is a hole in the suite.

  tools/mutation_check.py [--only NAME] [--native-only] [--list]

Run from a checkout whose trees are built (`make build`): build/native and
build/win. Each fault is written into its file, the native tree is rebuilt
and its tests run, then (unless they caught it) the Windows tree is rebuilt
and the Wine tests of the part the fault lies in run, stopping at the first
failure. The file is put back after each
fault and the trees rebuilt once more at the end. Prints one line per fault,
"caught" or "MISSED", and the tally. Not part of `make test`: a run takes
about half an hour.
"""
import argparse
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NATIVE = os.path.join(ROOT, "build", "native")
WIN = os.path.join(ROOT, "build", "win")

# The Wine tests of each part, as ctest regular expressions over test names.
PARTS = {
    "program": ("program|e2e", ""),
    "plugin": ("plugin|e2e", ""),
    "host": ("e2e", ""),
}

# name, file, the line's text, what it becomes, part
FAULTS = [
    # file formats
    ("rates: header cut one short", "currency/core/rates_format.cpp",
     "copyField(table.headerLine, sizeof table.headerLine, data, headerEnd ? headerEnd : end);",
     "copyField(table.headerLine, sizeof table.headerLine - 1, data, headerEnd ? headerEnd : end);", "program"),
    ("rates: last line without feed read", "currency/core/rates_format.cpp",
     "if (lineEnd == nullptr) break;", "if (lineEnd == nullptr) lineEnd = end;", "program"),
    ("rates: written with two decimals", "currency/core/rates_format.cpp",
     'formatText("%.4f", std::isfinite', 'formatText("%.2f", std::isfinite', "program"),
    ("rates: no zero byte at the end", "currency/core/rates_format.cpp",
     "text.push_back('\\0');\n    return text;", "return text;", "program"),
    ("rate edit: name not compared", "currency/core/rates_format.cpp",
     "if (std::strncmp(entry.name, edit.name, kCurrencyNameSize) != 0) continue;", "", "program"),
    ("selection: slot read past its bytes", "currency/core/selection_format.cpp",
     "char text[kSelectionSlotSize + 1] = {};\n    std::memcpy(text, record + slot * kSelectionSlotSize, kSelectionSlotSize);",
     "char text[kSelectionSlotSize + 2] = {};\n    std::memcpy(text, record + slot * kSelectionSlotSize, kSelectionSlotSize + 1);",
     "program"),
    ("selection: flag 7 taken", "currency/core/selection_format.cpp",
     "if (value == 0 || value == 1) flag = value;", "flag = value;", "program"),
    ("selection: plug-in slots end one early", "currency/core/selection_format.h",
     "constexpr int kPluginSlotCount = 5;", "constexpr int kPluginSlotCount = 4;", "plugin"),
    ("number: the whole text handed to strtod", "core/number_text.cpp",
     "std::string number(text, length);", "std::string number(text);", "program"),
    # computations
    ("loan: payment formula", "calculators/loan/loan.cpp",
     "return ((monthlyRate * growth) * amount) / (growth - 1.0);",
     "return ((monthlyRate * growth) * amount) / growth;", "program"),
    ("loan: months rounded down", "calculators/loan/loan.cpp",
     "whole = months >= truncated + 0.5 ? truncated + 1.0 : static_cast<double>(truncated);",
     "whole = static_cast<double>(truncated);", "program"),
    ("tip: total without tip", "calculators/tip/tip.cpp", "v.total = v.tip + bill;", "v.total = bill;", "program"),
    ("tip: split by one", "calculators/tip/tip.cpp",
     "v.share = split != 0.0 ? v.total / split : splitAmount;", "v.share = v.total;", "program"),
    ("metric: Fahrenheit offset", "calculators/metric/metric.cpp",
     "case farenheit: return x * 1.8 + 32.0;", "case farenheit: return x * 1.8;", "program"),
    ("metric: factor applied the wrong way", "calculators/metric/metric.cpp",
     "return base / u->factor;", "return base * u->factor;", "program"),
    ("latlon: minutes as degrees", "calculators/latlon/latlon.cpp",
     "minutes = part * degreesPerMinute;", "minutes = part;", "program"),
    ("latlon: seconds dropped", "calculators/latlon/latlon.cpp",
     "double seconds = (minutes - wholeMinutes) * 60.0;", "double seconds = 0.0;", "program"),
    ("computer: hex prefix not skipped", "calculators/computer/computer.cpp",
     "p += 2;", "p += 0;", "program"),
    ("computer: binary digits reversed", "calculators/computer/computer.cpp",
     "digits[--n] = static_cast<char>('0' + (v & 1u));", "digits[--n] = static_cast<char>('1' - (v & 1u));",
     "program"),
    ("area codes: carriage return kept", "calculators/areacodes/areacodes.cpp",
     "if (length > 0 && fileBytes[start + length - 1] == '\\r') --length;", "", "program"),
    ("area codes: state mode length", "calculators/areacodes/areacodes.cpp",
     "if (length < 6) continue;", "if (length < 7) continue;", "program"),
    ("date: weekday off by one", "calculators/date/date_calc.cpp",
     "return static_cast<int>((daysSince1601(date.year, date.month, date.day) + 1) % 7);",
     "return static_cast<int>((daysSince1601(date.year, date.month, date.day) + 2) % 7);", "program"),
    ("date: picker's first day not checked", "calculators/date/date_calc.cpp",
     "if (result.year > kDateLastYear || isBeforePickerStart(result)) return false;",
     "if (result.year > kDateLastYear) return false;", "program"),
    # the frame and the screens' wiring
    ("frame: keyboard not raised on focus", "frame/screen_frame.cpp",
     "if (contains(frame.keyboardFields, id)) SHSipPreference(dialog, SIP_UP);", "", "program"),
    ("frame: field colour", "frame/screen_frame.cpp",
     "SetBkColor(dc, kFieldBackgroundColour);", "SetBkColor(dc, kScreenBackgroundColour);", "program"),
    ("frame: no key release computes", "frame/screen_frame.cpp",
     "if (message == WM_KEYUP && frame.compute != nullptr) {", "if (message == WM_KEYDOWN && frame.compute != nullptr) {",
     "program"),
    ("frame: read limit ignored", "frame/screen_frame.cpp",
     "int limit = frame.readLimit > 0 ? frame.readLimit : kFieldTextLimit;", "int limit = kFieldTextLimit;",
     "program"),
    ("launcher: Loan opens Tip", "shell/launcher.cpp",
     "{IDC_LAUNCH_LOAN, {10, 60, 110, 85}, IDD_LOAN, loanScreenProcedure,",
     "{IDC_LAUNCH_LOAN, {10, 60, 110, 85}, IDD_TIP, tipScreenProcedure,", "program"),
    ("metric screen: category change keeps the fields", "calculators/metric/metric_screen.cpp",
     "    emptyValueFields(dialog);\n    fillUnitBoxes(dialog, category);", "    fillUnitBoxes(dialog, category);",
     "program"),
    # every save site
    ("Currency Exchange: Done saves nothing", "currency/screens/currency_exchange_screen.cpp",
     "data.saveSelections(kCurrencyScreenSlots);", "", "program"),
    ("Metric: Done saves the currency slots", "calculators/metric/metric_screen.cpp",
     "saveSelections(kMetricScreenSlots);", "saveSelections(kCurrencyScreenSlots);", "program"),
    ("main window: end saves every slot", "shell/main_window.cpp",
     "if (unsavedSlots != 0) saveProgramSelections(unsavedSlots);", "saveProgramSelections(kAllSlots);", "program"),
    ("Edit Currency Value: edits forgotten after a failed save", "currency/screens/edit_currency_screen.cpp",
     "if (written || acceptedEdits.empty()) acceptedEdits.clear();", "acceptedEdits.clear();", "program"),
    ("saves: temporary file not removed on failure", "currency/core/file_io_win.cpp",
     "DeleteFileW(temporary.c_str());", "", "program"),
    ("saves: held file not waited for", "currency/core/file_io_win.cpp",
     "if (GetLastError() != ERROR_SHARING_VIOLATION || GetTickCount() - start >= kHeldFileWait) return false;",
     "return false;", "program"),
    ("plug-in: list edit saves nothing", "todayplugin/rates_list.cpp",
     "if (!saveRateEdits(pluginState.dataDirectory, edits.data(), edits.size(), pluginState.table)) return;",
     "return;", "plugin"),
    # the download
    ("download: body one byte over taken", "currency/core/download_win.cpp",
     "if (transfer.body.size() + got > kRatesBodyLimit)", "if (transfer.body.size() + got > kRatesBodyLimit + 1)",
     "program"),
    ("download: short body accepted", "currency/core/download_win.cpp",
     "if (hasLength && transfer.body.size() != announced)", "if (false)", "program"),
    ("download: Updated not raised", "currency/core/download_win.cpp",
     "    setUpdatedFlag();\n    report(to, L\"Currency rates updated successfully!\"",
     "    report(to, L\"Currency rates updated successfully!\"", "program"),
    ("Currency Exchange: table not reloaded after a download", "currency/screens/currency_exchange_screen.cpp",
     "    dropUnsavedRates();\n    loadRates(data.dataDirectory, *data.rates);", "    dropUnsavedRates();", "program"),
    # the plug-in's refresh protocol
    ("plug-in: first query gives no height", "todayplugin/item_window.cpp",
     "if (item != nullptr) item->cyp = kItemHeight;", "", "plugin"),
    ("plug-in: answers 1 without Updated", "todayplugin/item_window.cpp",
     "if (!consumeUpdatedFlag()) return 0;", "consumeUpdatedFlag();", "plugin"),
    ("plug-in: clear-cache does not reload", "todayplugin/item_window.cpp",
     "LRESULT onClearCache(HWND window) {\n    reloadRates();", "LRESULT onClearCache(HWND window) {", "plugin"),
    # the About box's hot spots
    ("About: contact hot spot moved", "shell/about_box.cpp",
     "{{65, 187, 178, 198}, L\"PegHelp.exe\"", "{{65, 197, 178, 208}, L\"PegHelp.exe\"", "program"),
    ("About: web hot spot starts help", "shell/about_box.cpp",
     "{{52, 221, 189, 229}, L\"iexplore.exe\", nullptr}", "{{52, 221, 189, 229}, L\"PegHelp.exe\", nullptr}",
     "program"),
]


def run(command, cwd=ROOT, quiet=True):
    out = subprocess.DEVNULL if quiet else None
    return subprocess.call(command, cwd=cwd, stdout=out, stderr=out) == 0


NATIVE_ONLY = False


def build():
    return run(["cmake", "--build", NATIVE, "-j", "2"]) and (
        NATIVE_ONLY or run(["cmake", "--build", WIN, "-j", "2"]))


def caught(part):
    """The native tests first; the Windows tree is built and its tests run
    only for a fault they do not see."""
    if not run(["ctest", "--test-dir", NATIVE, "-j", "2", "--stop-on-failure"]):
        return True
    if NATIVE_ONLY:
        return False
    if not run(["cmake", "--build", WIN, "-j", "2"]):
        return "DOES NOT BUILD"
    include, exclude = PARTS[part]
    command = ["ctest", "--test-dir", WIN, "--stop-on-failure", "--timeout", "300"]
    if include:
        command += ["-R", include]
    if exclude:
        command += ["-E", exclude]
    return not run(command)


def plant(fault):
    name, path, old, new, part = fault
    full = os.path.join(ROOT, path)
    with open(full, encoding="latin-1") as f:
        text = f.read()
    if text.count(old) != 1:
        return "NOT FOUND ONCE"
    with open(full, "w", encoding="latin-1") as f:
        f.write(text.replace(old, new))
    try:
        if not run(["cmake", "--build", NATIVE, "-j", "2"]):
            return "DOES NOT BUILD"
        outcome = caught(part)
        if isinstance(outcome, str):
            return outcome
        return "caught" if outcome else "MISSED"
    finally:
        with open(full, "w", encoding="latin-1") as f:
            f.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", help="plant only the faults whose name contains this")
    parser.add_argument("--list", action="store_true", help="list the faults and stop")
    parser.add_argument("--native-only", action="store_true", help="the native tests only (no Wine)")
    args = parser.parse_args()
    global NATIVE_ONLY
    NATIVE_ONLY = args.native_only
    faults = [f for f in FAULTS if not args.only or args.only in f[0]]
    if args.list:
        for fault in faults:
            print("%-55s %s" % (fault[0], fault[1]))
        return 0
    if not os.environ.get("DISPLAY") and not NATIVE_ONLY:
        # One display and one warm wineserver for the whole run.
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 800x600x24 -nolisten tcp",
                               sys.executable] + sys.argv)
    if not NATIVE_ONLY:
        run(["tools/wine-prefix.sh"])
        subprocess.Popen(["wineserver", "-p"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL).wait()
        run(["wineboot"])
    tally = {}
    try:
        for fault in faults:
            outcome = plant(fault)
            tally[outcome] = tally.get(outcome, 0) + 1
            print("%-8s %s" % (outcome, fault[0]), flush=True)
    finally:
        build()
        if not NATIVE_ONLY:
            run(["wineserver", "-k"])
    print(", ".join("%d %s" % (n, outcome) for outcome, n in sorted(tally.items())))
    return 0 if set(tally) <= {"caught"} else 1


if __name__ == "__main__":
    os.environ.setdefault("WINEPREFIX", os.path.join(ROOT, "build", "wineprefix"))
    os.environ.update(WINEARCH="win64", WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    sys.exit(main())
