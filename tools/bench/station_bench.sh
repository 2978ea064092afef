#!/bin/bash
# Station pages benchmark (not a test): the native cost of building an
# observation and a river report (optimised build), and, under Wine, the time
# from the click on "index" to the Add Location dialog on screen with the
# largest station tree filled (median of 10).
#   tools/bench/station_bench.sh
set -eu
cd "$(dirname "$0")/../.."
root=$PWD
work=$root/build/bench
mkdir -p "$work"

c++ -std=c++20 -O2 -I"$root" tools/bench/station_report_bench.cpp \
    pages/stations/observations_report.cpp pages/stations/river_report.cpp \
    services/text_buffer.cpp services/text_scan.cpp services/time_format.cpp \
    services/local_time_posix.cpp \
    -o "$work/station_report_bench"
"$work/station_report_bench"

cmake --preset windows >/dev/null
cmake --build --preset windows --target station_tree_bench Cumulon cumulon_data >/dev/null
tests/wine/wine-session.sh start build/windows/wine >/dev/null
service=$work/sample-service
tests/e2e/sample-service-fixture.sh start "$service"
trap 'tests/e2e/sample-service-fixture.sh stop "$service"; tests/wine/wine-session.sh stop build/windows/wine' EXIT
CUMULON_BIN=$root/build/windows/bin SAMPLE_SERVICE_STATE=$service \
    tests/e2e/run-gui-test.sh station-bench "$work" build/windows/wine/template \
    build/windows/tests/e2e/station_tree_bench.exe | tr -d '\r' | grep 'opening Add Location'
