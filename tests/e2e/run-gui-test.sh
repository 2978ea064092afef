#!/bin/bash
# Runs one GUI test program under Wine on a virtual display of its own, in a
# private copy of the ready Wine prefix, so that ending its wineserver ends
# only its own processes.
#   run-gui-test.sh NAME WORK_ROOT TEMPLATE_PREFIX DRIVER.exe [driver args...]
# The driver finds its scratch folder in E2E_WORK and the built programs in
# CUMULON_BIN (both Unix paths); *.bmp screenshots it leaves there are turned
# into PNG files beside them. E2E_SCREEN sets the virtual screen
# (WIDTHxHEIGHTxDEPTH, 1280x1024x24 by default).
set -u
name=$1 root=$2 template=$3 driver=$4
shift 4
work=$root/$name
rm -rf "$work"
mkdir -p "$work"
cp -a "$template" "$work/prefix" || exit 1

export WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv="
export E2E_WORK=$work
export CUMULON_BIN=${CUMULON_BIN:?}

Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start" >&2
    kill $xvfb 2>/dev/null
    exit 1
fi
export DISPLAY=:$(head -n1 "$work/display")

setsid wineserver -p </dev/null >/dev/null 2>&1 &
wine "$driver" "$@" </dev/null
status=$?

wineserver -k >/dev/null 2>&1
kill $xvfb 2>/dev/null
wait $xvfb 2>/dev/null
for bmp in "$work"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
rm -rf "$work/prefix"
exit $status
