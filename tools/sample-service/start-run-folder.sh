#!/bin/bash
# Prepares a folder to run Cumulon against the sample weather service.
#
#   start-run-folder.sh start PROGRAM_DIR RUN_FOLDER
#       Starts the sample service in the background (a free port, or
#       $CUMULON_SAMPLE_PORT), copies PROGRAM_DIR (Cumulon.exe and its data)
#       into RUN_FOLDER with the live catalog pointed at the service (only
#       scheme, host and port replaced) as its links.dat, and, on the
#       first run only, puts the sample list.dat into the application-data
#       folder of the Wine prefix $WINEPREFIX (never over a list of the user's
#       own).  Prints "sample service pid PID port PORT"; the pid and port also
#       go to sample-service.pid and sample-service.port beside RUN_FOLDER.
#       With $CUMULON_TRUST_CA (the path of trust_ca.exe) the service speaks
#       HTTPS, as the weather service does: a certificate authority of the
#       run folder (RUN_FOLDER.tls/, made once) signs its certificate, and
#       trust_ca.exe adds the authority to the prefix's Root store.
#
#   start-run-folder.sh stop RUN_FOLDER
#       Stops the sample service started for RUN_FOLDER.
set -u
here=$(cd "$(dirname "$0")" && pwd)

usage() {
    sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

state_files() {
    local folder=${1%/}
    pid_file=$folder.sample-service.pid
    port_file=$folder.sample-service.port
    log_file=$folder.sample-service.log
}

stop_service() {
    state_files "$1"
    [ -s "$pid_file" ] || return 0
    local pid
    pid=$(cat "$pid_file")
    if kill "$pid" 2>/dev/null; then
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$pid_file" "$port_file"
}

# HTTPS for the run: the run folder's own authority, trusted by the prefix.
# Sets tls_options; nothing without $CUMULON_TRUST_CA.
prepare_tls() {
    local run=$1 tls=$1.tls
    tls_options=()
    [ -n "${CUMULON_TRUST_CA:-}" ] || return 0
    [ -n "${WINEPREFIX:-}" ] || { echo "WINEPREFIX is not set" >&2; return 1; }
    bash "$here/../tls/make-test-ca.sh" "$tls" || return 1
    wine "$CUMULON_TRUST_CA" "$(winepath -w "$tls/ca.der" 2>/dev/null)" >/dev/null 2>&1 ||
        { echo "the run prefix does not trust $tls/ca.der" >&2; return 1; }
    tls_options=(--tls-cert "$tls/server.pem" --tls-key "$tls/server.key")
}

start_service() {
    local run=$1
    state_files "$run"
    stop_service "$run"
    rm -f "$port_file"
    prepare_tls "$run" || return 1
    python3 "$here/sample_service.py" --port "${CUMULON_SAMPLE_PORT:-0}" \
        --port-file "$port_file" --pid-file "$pid_file" "${tls_options[@]}" \
        --catalog-out "$run.sample-links.dat" >"$log_file" 2>&1 </dev/null &
    local started=$!
    for _ in $(seq 300); do
        [ -s "$port_file" ] && return 0
        kill -0 "$started" 2>/dev/null || break
        sleep 0.1
    done
    echo "the sample weather service did not start; see $log_file" >&2
    kill "$started" 2>/dev/null
    return 1
}

seed_saved_lists() {
    [ -n "${WINEPREFIX:-}" ] || { echo "WINEPREFIX is not set" >&2; return 1; }
    local folder="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Quillmoor/Cumulon"
    if [ -e "$folder/list.dat" ]; then
        echo "keeping the saved lists in $folder/list.dat"
        return 0
    fi
    mkdir -p "$folder" && cp "$here/list.dat" "$folder/list.dat" &&
        echo "seeded the sample saved lists into $folder/list.dat"
}

case "${1:-}" in
start)
    [ $# -eq 3 ] || usage
    program=$2 run=${3%/}
    [ -f "$program/links.dat" ] || { echo "no program folder at $program" >&2; exit 1; }
    mkdir -p "$(dirname "$run")" || exit 1
    start_service "$run" || exit 1
    mkdir -p "$run" && cp -a "$program/." "$run/" && cp "$run.sample-links.dat" "$run/links.dat" || exit 1
    seed_saved_lists || exit 1
    echo "sample service pid $(cat "$pid_file") port $(cat "$port_file")"
    ;;
stop)
    [ $# -eq 2 ] || usage
    stop_service "$2"
    ;;
*)
    usage
    ;;
esac
