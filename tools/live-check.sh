#!/bin/bash
# The live check, for a machine with the internet: every feed of the catalog
# (data/links.dat unless another is given) fetched for one known place with
# Cumulon's own downloader, under Wine, and read by the page that shows it.
# Prints, per page and key, the download's result, the bytes received and
# what the page's reader found. Not a test: without the internet it says so
# and ends with 0. On Windows, run build\windows\tools\live_check.exe itself
# (beside a links.dat, or with the catalog as its argument).
#   tools/live-check.sh [CATALOG]
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
catalog=$(realpath "${1:-data/links.dat}")

if ! getent hosts forecast.weather.gov >/dev/null 2>&1 ||
    ! timeout 10 bash -c 'exec 3<>/dev/tcp/forecast.weather.gov/443' 2>/dev/null; then
    echo "No internet connection (forecast.weather.gov cannot be reached): the live check needs one."
    exit 0
fi

tools/prerequisites.sh || exit 1
cmake --preset windows >/dev/null && cmake --build --preset windows --target live_check || exit 1

work=$root/run/live-check
mkdir -p "$work/feeds"
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv="
[ -f "$WINEPREFIX/system.reg" ] || { echo "Preparing the Wine prefix in $WINEPREFIX ..."; DISPLAY= wineboot -i >/dev/null 2>&1; }
wine build/windows/tools/live_check.exe "$(winepath -w "$catalog")" "$(winepath -w "$work/feeds")"
status=$?
echo "The downloaded files are in $work/feeds/."
exit $status
