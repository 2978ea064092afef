#!/bin/bash
# Builds Cumulon and runs it under Wine, in a Wine prefix of its own under
# run/, from a run folder holding the program and its data files, against the
# sample weather service (tools/sample-service/) with the sample saved lists
# on the first run. The service speaks HTTPS, as the weather service does,
# with a certificate authority of the run folder that the run prefix trusts.
# Without a display it runs on a virtual one (Xvfb) and saves a screenshot
# of it every few seconds into run/screenshots/. Ctrl-C (or ending Cumulon)
# stops it all, the sample service included.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
tools/prerequisites.sh || exit 1
cmake --preset windows >/dev/null &&
    cmake --build --preset windows --target Cumulon Ticker cumulon_data trust_ca || exit 1
export CUMULON_TRUST_CA=$root/build/windows/tools/trust_ca.exe

run=$root/run
program=$run/program
export WINEPREFIX=$run/wineprefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv="
mkdir -p "$program" "$run/screenshots"

pids=()
cleanup() {
    tools/sample-service/start-run-folder.sh stop "$program"
    wineserver -k >/dev/null 2>&1
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run/display" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$run/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(head -n1 "$run/display")
    ( while sleep 5; do import -window root "$run/screenshots/cumulon.png" 2>/dev/null; done ) &
    pids+=($!)
    echo "No display: Cumulon runs on Xvfb $DISPLAY; screenshots in $run/screenshots/"
fi

[ -f "$WINEPREFIX/system.reg" ] || { echo "Preparing the Wine prefix in $WINEPREFIX ..."; wineboot -i >/dev/null 2>&1; }
# Xvfb has no window manager: then Wine draws the window frames itself.
managed=Y
[ -n "${pids[*]}" ] && managed=N
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d $managed /f >/dev/null 2>&1
tools/sample-service/start-run-folder.sh start build/windows/bin "$program" || exit 1
echo "Starting Cumulon from $program (Ctrl-C stops it)"
( cd "$program" && wine Cumulon.exe )
