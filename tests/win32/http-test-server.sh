#!/bin/bash
# The scripted HTTP server of the downloader's tests, as a test fixture.
#   http-test-server.sh start DIR PYTHON [TRUST...]
#       starts it; DIR/ready holds "PORT PID" and, with TRUST (a command that
#       makes Windows trust the certificate authority file given after it,
#       such as "wine trust_ca.exe"), the ports of its TLS servers: a test
#       authority and its certificates are made in DIR/tls, and trusted
#   http-test-server.sh stop DIR           ends that server
#   http-test-server.sh run DIR CMD...     runs CMD with CUMULON_TEST_HTTP_PORT
#       and, with TLS, CUMULON_TEST_HTTPS_PORT, CUMULON_TEST_WRONG_NAME_PORT and
#       CUMULON_TEST_UNKNOWN_CA_PORT set
set -u
action=$1 dir=$2
shift 2
here=$(dirname "$0")

# Ends the server this fixture started, by its process id, if it still runs.
stop_server() {
    [ -s "$dir/ready" ] || return 0
    local pid
    pid=$(cut -d' ' -f2 "$dir/ready")
    if grep -q http_test_server "/proc/$pid/cmdline" 2>/dev/null; then
        kill "$pid" 2>/dev/null
    fi
    rm -f "$dir/ready"
}

case $action in
start)
    python=$1
    shift
    mkdir -p "$dir"
    stop_server # one left behind by an interrupted run
    tls=()
    if [ $# -gt 0 ]; then
        make_ca=$here/../../tools/tls/make-test-ca.sh
        rm -rf "$dir/tls"
        "$make_ca" "$dir/tls" && "$make_ca" "$dir/tls" wrong-name DNS:wrong.example &&
            "$make_ca" "$dir/tls/unknown" && "$@" "Z:$dir/tls/ca.der" || exit 1
        tls=("$dir/tls")
    fi
    # Detached streams: the server must not hold ctest's pipes.
    setsid "$python" "$here/http_test_server.py" "$dir/ready" "${tls[@]}" </dev/null >"$dir/server.log" 2>&1 &
    for _ in $(seq 100); do
        [ -s "$dir/ready" ] && exit 0
        sleep 0.05
    done
    echo "the test server did not start:" >&2
    cat "$dir/server.log" >&2
    exit 1
    ;;
stop)
    stop_server
    exit 0
    ;;
run)
    [ -s "$dir/ready" ] || { echo "the test server is not running" >&2; exit 1; }
    read -r http _ https wrong unknown <"$dir/ready"
    CUMULON_TEST_HTTP_PORT=$http CUMULON_TEST_HTTPS_PORT=${https:-} \
        CUMULON_TEST_WRONG_NAME_PORT=${wrong:-} CUMULON_TEST_UNKNOWN_CA_PORT=${unknown:-} exec "$@"
    ;;
esac
echo "usage: $0 start DIR PYTHON [TRUST...] | stop DIR | run DIR CMD..." >&2
exit 2
