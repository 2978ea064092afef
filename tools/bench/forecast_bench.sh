#!/bin/bash
# Point forecast benchmark (not a test): the native cost of rendering a 1 MB
# forecast document (optimised build), and, under Wine against the sample
# weather service, the time from the update click to the forecast on screen
# (median of 20).
#   tools/bench/forecast_bench.sh
set -eu
cd "$(dirname "$0")/../.."
root=$PWD
work=$root/build/bench
mkdir -p "$work"

c++ -std=c++20 -O2 -I"$root" tools/bench/forecast_render_bench.cpp pages/forecast/forecast_text.cpp \
    services/text_scan.cpp \
    -o "$work/forecast_render_bench"
"$work/forecast_render_bench"

cmake --preset windows >/dev/null
cmake --build --preset windows --target forecast_click_bench Cumulon cumulon_data >/dev/null
tests/wine/wine-session.sh start "$root/build/windows/wine" >/dev/null
service=$work/sample-service
tests/e2e/sample-service-fixture.sh start "$service"
trap 'tests/e2e/sample-service-fixture.sh stop "$service"; tests/wine/wine-session.sh stop "$root/build/windows/wine"' EXIT
CUMULON_BIN=$root/build/windows/bin SAMPLE_SERVICE_STATE=$service \
    tests/e2e/run-gui-test.sh forecast-bench "$work" build/windows/wine/template \
    build/windows/tests/e2e/forecast_click_bench.exe | tr -d '\r' | grep 'update click'
