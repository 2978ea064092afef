#!/bin/bash
# Radar benchmark (not a test): under Wine against the sample weather
# service, the time from the update click to the composited radar picture on
# screen with every overlay on (the cache emptied before each click), and the
# redraw from the cache when a check box is clicked; median of 20 each.
#   tools/bench/imagery_bench.sh
set -eu
cd "$(dirname "$0")/../.."
root=$PWD
work=$root/build/bench
mkdir -p "$work"

cmake --preset windows >/dev/null
cmake --build --preset windows --target imagery_click_bench Cumulon cumulon_data >/dev/null
tests/wine/wine-session.sh start build/windows/wine >/dev/null
service=$work/sample-service
tests/e2e/sample-service-fixture.sh start "$service"
trap 'tests/e2e/sample-service-fixture.sh stop "$service"; tests/wine/wine-session.sh stop build/windows/wine' EXIT
CUMULON_BIN=$root/build/windows/bin SAMPLE_SERVICE_STATE=$service \
    tests/e2e/run-gui-test.sh imagery-bench "$work" build/windows/wine/template \
    build/windows/tests/e2e/imagery_click_bench.exe | tr -d '\r' | grep -E 'update click|check box click'
