#!/bin/bash
# Starts or stops the Wine session of a test run.
#   wine-session.sh start DIR   makes DIR/template (a ready prefix that GUI tests
#                               copy), DIR/prefix, and starts a persistent
#                               wineserver for DIR/prefix
#   wine-session.sh stop DIR    ends that wineserver and its processes
set -u
action=$1
dir=$2
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv="

make_prefix() {
    local prefix=$1
    [ -f "$prefix/system.reg" ] && return 0
    rm -rf "$prefix"
    mkdir -p "$prefix"
    # A prefix made without a display: the GUI tests give theirs at run time.
    WINEPREFIX=$prefix DISPLAY= wineboot -i >/dev/null 2>&1
    # The virtual displays have no window manager: Wine draws the frames
    # itself and does not wait for a manager to map or withdraw windows.
    WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w
    [ -f "$prefix/system.reg" ]
}

case $action in
start)
    mkdir -p "$dir"
    make_prefix "$dir/template" || { echo "cannot create a Wine prefix in $dir/template" >&2; exit 1; }
    if [ ! -f "$dir/prefix/system.reg" ]; then
        rm -rf "$dir/prefix"
        cp -a "$dir/template" "$dir/prefix"
    fi
    WINEPREFIX=$dir/prefix wineserver -k >/dev/null 2>&1
    # Detached standard streams: the server's helpers must not hold ctest's pipes.
    WINEPREFIX=$dir/prefix setsid wineserver -p </dev/null >/dev/null 2>&1 &
    # Warm the server so the first test does not pay for it.
    WINEPREFIX=$dir/prefix wine cmd /c exit </dev/null >/dev/null 2>&1
    exit 0
    ;;
stop)
    WINEPREFIX=$dir/prefix wineserver -k >/dev/null 2>&1
    exit 0
    ;;
esac
echo "usage: $0 start|stop DIR" >&2
exit 2
