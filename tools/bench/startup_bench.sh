#!/bin/bash
# Start-up benchmark (not a test): Cumulon against the smallest program that
# makes a tray icon and a window, both started alternately in one Wine session
# on one virtual display, timed from process creation to the visible main
# window (median of RUNS), with their working sets.
#   tools/bench/startup_bench.sh [RUNS]
set -eu
cd "$(dirname "$0")/../.."
runs=${1:-20}
root=$PWD
work=$root/build/bench/startup
mkdir -p "$work"

cmake --preset windows >/dev/null
cmake --build --preset windows --target Cumulon cumulon_data >/dev/null
flags="-O2 -static -static-libgcc -static-libstdc++ -mwindows"
x86_64-w64-mingw32-g++-posix $flags tools/bench/minimal_tray.cpp -o "$work/MinimalTray.exe"
x86_64-w64-mingw32-g++-posix -O2 -static -static-libgcc -static-libstdc++ tools/bench/startup_bench.cpp \
    -lpsapi -o "$work/startup_bench.exe"

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    DISPLAY= wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
fi
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
setsid wineserver -p </dev/null >/dev/null 2>&1 &
trap 'wineserver -k >/dev/null 2>&1; kill $xvfb 2>/dev/null' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1

cumulon=$(winepath -w "$root/build/windows/bin/Cumulon.exe")
minimal=$(winepath -w "$work/MinimalTray.exe")
wine "$work/startup_bench.exe" "$runs" "$cumulon" '#32770' Cumulon "$minimal" MinimalTray Minimal | tr -d '\r'
