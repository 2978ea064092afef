#!/bin/bash
# Ticker benchmark (not a test): Ticker.exe under Wine on a virtual display,
# scrolling a long message. Measured from the screen over SECONDS (10 by
# default): the scrolling speed against the nominal 1 pixel per 18 ms
# (55.6 px/s), the time per frame, the speed with the left button held, and
# the processor use of the ticker (Wine's own count and, from Linux, the
# Ticker.exe process) while it scrolls.
#   tools/bench/ticker_bench.sh [SECONDS]
set -eu
cd "$(dirname "$0")/../.."
seconds=${1:-10}
root=$PWD
work=$root/build/bench
mkdir -p "$work"

cmake --preset windows >/dev/null
cmake --build --preset windows --target Ticker >/dev/null
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0601 -I"$root" \
    tools/bench/ticker_bench.cpp tests/e2e/driver.cpp -static -static-libgcc -static-libstdc++ \
    -lcomctl32 -lshell32 -ladvapi32 -lgdi32 -luser32 -o "$work/ticker_bench.exe"
tests/wine/wine-session.sh start "$root/build/windows/wine" >/dev/null
trap 'tests/wine/wine-session.sh stop "$root/build/windows/wine"' EXIT

# Linux's count of the ticker's processor time over the normal window, which
# the benchmark program marks with two files.
marks=$work/ticker-bench
linux_cpu() {
    local pid="" hz ticks0 ticks1 start end
    for _ in $(seq 300); do
        [ -e "$marks/measuring" ] && break
        sleep 0.05
    done
    pid=$(pgrep -f 'Ticker.exe -fbench.que' | head -n1) || return 0
    hz=$(getconf CLK_TCK)
    ticks0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    start=$(date +%s.%N)
    for _ in $(seq $((seconds * 20 + 200))); do
        [ -e "$marks/measured" ] && break
        sleep 0.05
    done
    ticks1=$(awk '{print $14 + $15}' "/proc/$pid/stat") || return 0
    end=$(date +%s.%N)
    awk -v t="$((ticks1 - ticks0))" -v hz="$hz" -v s="$start" -v e="$end" 'BEGIN {
        cpu = t / hz; frames = (e - s) * 1000 / 18
        printf "ticker processor use while scrolling (Linux count): %.1f%% of one core, %.2f ms per frame\n",
               100 * cpu / (e - s), 1000 * cpu / frames }'
}
rm -rf "$marks"
linux_cpu > "$work/ticker-linux-cpu.txt" &
CUMULON_BIN=$root/build/windows/bin tests/e2e/run-gui-test.sh ticker-bench "$work" \
    build/windows/wine/template "$work/ticker_bench.exe" "$seconds" | tr -d '\r'
wait
cat "$work/ticker-linux-cpu.txt"
