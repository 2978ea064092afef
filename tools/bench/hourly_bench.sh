#!/bin/bash
# Hourly point forecast benchmark (not a test): the native cost of building the
# table from a 72-hour and from a 1 MB document (optimised build), and, under
# Wine against the sample weather service, the time from the update click to
# the table on screen (median of 20).
#   tools/bench/hourly_bench.sh
set -eu
cd "$(dirname "$0")/../.."
root=$PWD
work=$root/build/bench
mkdir -p "$work"

c++ -std=c++20 -O2 -I"$root" tools/bench/hourly_table_bench.cpp pages/forecast/hourly_table.cpp \
    services/time_format.cpp services/local_time_posix.cpp services/text_buffer.cpp \
    services/text_scan.cpp -o "$work/hourly_table_bench"
"$work/hourly_table_bench"

cmake --preset windows >/dev/null
cmake --build --preset windows --target hourly_click_bench Cumulon cumulon_data >/dev/null
tests/wine/wine-session.sh start build/windows/wine >/dev/null
service=$work/sample-service
tests/e2e/sample-service-fixture.sh start "$service"
trap 'tests/e2e/sample-service-fixture.sh stop "$service"; tests/wine/wine-session.sh stop build/windows/wine' EXIT
CUMULON_BIN=$root/build/windows/bin SAMPLE_SERVICE_STATE=$service \
    tests/e2e/run-gui-test.sh hourly-bench "$work" build/windows/wine/template \
    build/windows/tests/e2e/hourly_click_bench.exe | tr -d '\r' | grep 'update click'
