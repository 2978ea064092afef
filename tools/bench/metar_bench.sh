#!/bin/bash
# METAR page benchmark (not a test): the native cost of building the page's
# text for a typical answer and for a 1 MB answer (optimised build), and,
# under Wine against the sample weather service, the time from a click on a
# display check box to the new text on screen (median of 20).
#   tools/bench/metar_bench.sh
set -eu
cd "$(dirname "$0")/../.."
root=$PWD
work=$root/build/bench
mkdir -p "$work"

c++ -std=c++20 -O2 -I"$root" tools/bench/metar_report_bench.cpp pages/stations/metar_report.cpp \
    services/text_scan.cpp -o "$work/metar_report_bench"
"$work/metar_report_bench"

cmake --preset windows >/dev/null
cmake --build --preset windows --target metar_click_bench Cumulon cumulon_data >/dev/null
tests/wine/wine-session.sh start build/windows/wine >/dev/null
service=$work/sample-service
tests/e2e/sample-service-fixture.sh start "$service"
trap 'tests/e2e/sample-service-fixture.sh stop "$service"; tests/wine/wine-session.sh stop build/windows/wine' EXIT
CUMULON_BIN=$root/build/windows/bin SAMPLE_SERVICE_STATE=$service \
    tests/e2e/run-gui-test.sh metar-bench "$work" build/windows/wine/template \
    build/windows/tests/e2e/metar_click_bench.exe \
    | tr -d '\r' | grep 'check box click'
