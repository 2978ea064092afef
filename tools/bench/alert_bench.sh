#!/bin/bash
# Auto-alert benchmark (not a test): under Wine against the sample weather
# service, ten marked zones, the time from timer 500 firing to the ticker's
# start (ten runs of a Cumulon build whose first delay is 1.5 s, with a ticker
# stand-in that marks its start). The ticker's own frame figures come from
# tools/bench/ticker_bench.sh.
#   tools/bench/alert_bench.sh
set -eu
cd "$(dirname "$0")/../.."
root=$PWD
work=$root/build/bench
mkdir -p "$work"

cmake --preset windows >/dev/null
cmake --build --preset windows --target e2e_timers cumulon_data >/dev/null
tests/wine/wine-session.sh start build/windows/wine >/dev/null
service=$work/sample-service
tests/e2e/sample-service-fixture.sh start "$service"
trap 'tests/e2e/sample-service-fixture.sh stop "$service"; tests/wine/wine-session.sh stop build/windows/wine' EXIT
CUMULON_BIN=$root/build/windows/bin SAMPLE_SERVICE_STATE=$service \
    tests/e2e/run-gui-test.sh alert-bench "$work" build/windows/wine/template \
    build/windows/tests/e2e/e2e_timers.exe --gtest_also_run_disabled_tests \
    --gtest_filter='*Benchmark*' | tr -d '\r' | grep 'ten zones'
