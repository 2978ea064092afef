#!/bin/bash
# Downloader benchmark (not a test). Serves a 50 MB body on 127.0.0.1 with the
# downloader tests' scripted server, fetches it with HttpFetch under Wine and
# with curl natively in the same run, and times the response conversion
# natively on its own. Prints throughputs, their ratio and the conversion cost
# per megabyte.
#   tools/bench/http_fetch_bench.sh [SIZE_BYTES] [RUNS]
set -eu
cd "$(dirname "$0")/../.."
size=${1:-50000000}
runs=${2:-3}
root=$PWD
work=$root/build/bench
mkdir -p "$work"

# Optimised builds: the Windows library from the release tree, the portable
# conversion with the host compiler and no sanitizers.
cmake --preset windows >/dev/null
cmake --build --preset windows --target cumulon_win >/dev/null
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0601 -I"$root" \
    tools/bench/http_fetch_bench.cpp build/windows/libcumulon_win.a build/windows/libcumulon_core.a \
    -static -static-libgcc -static-libstdc++ -lws2_32 -o "$work/http_fetch_bench.exe"
c++ -std=c++20 -O2 -I"$root" tools/bench/http_convert_bench.cpp services/http_response.cpp \
    services/http_date.cpp services/text_scan.cpp services/time_format.cpp services/text_buffer.cpp \
    services/local_time_posix.cpp \
    -o "$work/http_convert_bench"

# A Wine prefix of the benchmark's own, with its own persistent wineserver.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    if [ -f build/windows/wine/template/system.reg ]; then
        cp -a build/windows/wine/template "$WINEPREFIX"
    else
        DISPLAY= wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
fi
setsid wineserver -p </dev/null >/dev/null 2>&1 &
wine cmd /c exit </dev/null >/dev/null 2>&1

server=tests/win32/http-test-server.sh
"$server" start "$work/server" "$(command -v python3)"
finish() {
    "$server" stop "$work/server"
    wineserver -k >/dev/null 2>&1 || true
    rm -f "$work/curl.out" "$work/fetch.out" "$work/fetch.out.\$\$\$"
}
trap finish EXIT
port=$(cut -d' ' -f1 "$work/server/ready")
url="http://127.0.0.1:$port/big?size=$size"

best() { sort -g | head -n1; }
curl_seconds=$(for _ in $(seq "$runs"); do
    curl -s -o "$work/curl.out" -w '%{time_total}\n' "$url"
done | best)
[ "$(stat -c %s "$work/curl.out")" -eq "$size" ] || { echo "curl got a short body" >&2; exit 1; }
fetch_seconds=$(wine "$work/http_fetch_bench.exe" "$url" 'Z:'"${work//\//\\}"'\fetch.out' "$runs" </dev/null |
    tr -d '\r' | while read -r seconds bytes; do
        [ "$bytes" -eq "$size" ] || { echo "HttpFetch got $bytes bytes" >&2; exit 1; }
        echo "$seconds"
    done | best)
read -r _ plain_seconds _ chunked_seconds <<<"$("$work/http_convert_bench" "$size" "$runs" | tr '\n' ' ')"

awk -v size="$size" -v curl="$curl_seconds" -v fetch="$fetch_seconds" \
    -v plain="$plain_seconds" -v chunked="$chunked_seconds" 'BEGIN {
    mb = size / 1e6
    printf "body: %.1f MB over loopback, best of '"$runs"' runs each\n", mb
    printf "curl (native):         %8.3f s  %8.1f MB/s\n", curl, mb / curl
    printf "HttpFetch (Wine):      %8.3f s  %8.1f MB/s\n", fetch, mb / fetch
    printf "ratio curl/HttpFetch:  %8.1f\n", fetch / curl
    printf "conversion, plain:     %8.3f ms per MB (native, in memory)\n", plain * 1000 / mb
    printf "conversion, chunked:   %8.3f ms per MB (native, in memory, 4 KB chunks)\n", chunked * 1000 / mb
}'
