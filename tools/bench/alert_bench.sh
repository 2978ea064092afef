#!/bin/bash
# Auto-alert benchmark (not a test): under Wine against the sample weather
# service, ten marked zones, the time from timer 500 firing to the ticker's
# start (ten checks of Cumulon's short-timer test build, with the ticker
# stand-in marking its start). The ticker's own frame figures come from
# tools/bench/ticker_bench.sh.
#   tools/bench/alert_bench.sh
set -eu
cd "$(dirname "$0")/../.."
root=$PWD
work=$root/build/bench
mkdir -p "$work"

cmake --preset windows >/dev/null
cmake --build --preset windows --target cumulon_fast_timers ticker_stand_in cumulon_data >/dev/null
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0601 -I"$root" \
    tools/bench/alert_bench.cpp tests/e2e/driver.cpp -static -static-libgcc -static-libstdc++ \
    -lcomctl32 -lshell32 -ladvapi32 -lgdi32 -luser32 -o "$work/alert_bench.exe"
tests/wine/wine-session.sh start build/windows/wine >/dev/null
service=$work/sample-service
tests/e2e/sample-service-fixture.sh start "$service"
trap 'tests/e2e/sample-service-fixture.sh stop "$service"; tests/wine/wine-session.sh stop build/windows/wine' EXIT
CUMULON_BIN=$root/build/windows/bin SAMPLE_SERVICE_STATE=$service \
    tests/e2e/run-gui-test.sh alert-bench "$work" build/windows/wine/template "$work/alert_bench.exe" \
    "$root/build/windows/tests/e2e/CumulonFastTimers.exe" \
    "$root/build/windows/tests/e2e/TickerStandIn.exe" | tr -d '\r'
