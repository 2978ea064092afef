#!/bin/bash
# Starts or stops the sample weather service for a test run.
#   sample-service-fixture.sh start STATE_DIR   the service on a free port;
#                                               STATE_DIR/port, STATE_DIR/pid and
#                                               STATE_DIR/links.dat (the catalog of
#                                               the older formats) and
#                                               STATE_DIR/today-links.dat (the live
#                                               catalog pointed at the service)
#   sample-service-fixture.sh stop STATE_DIR
set -u
action=$1 state=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
case $action in
start)
    if [ -s "$state/pid" ]; then kill "$(cat "$state/pid")" 2>/dev/null; fi
    rm -rf "$state"
    mkdir -p "$state"
    setsid python3 "$root/tools/sample-service/sample_service.py" --port 0 --port-file "$state/port" \
        --pid-file "$state/pid" --older-catalog-out "$state/links.dat" \
        --catalog-out "$state/today-links.dat" </dev/null >"$state/log" 2>&1 &
    for _ in $(seq 300); do
        [ -s "$state/port" ] && [ -s "$state/links.dat" ] && exit 0
        sleep 0.1
    done
    echo "the sample weather service did not start:" >&2
    cat "$state/log" >&2
    exit 1
    ;;
stop)
    [ -s "$state/pid" ] && kill "$(cat "$state/pid")" 2>/dev/null
    exit 0
    ;;
esac
echo "usage: $0 start|stop STATE_DIR" >&2
exit 2
