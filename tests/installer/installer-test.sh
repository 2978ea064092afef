#!/bin/bash
# The setup program and the portable ZIP as a Windows user meets them, in a
# fresh Wine prefix on a virtual display of its own:
#   1. an older release (the same files with an older catalog and a lower
#      version) installs silently;
#   2. the user's list, a setting, the Run value and a sound of their own are
#      seeded;
#   3. this release installs silently over it: every file is replaced, the
#      user's files and settings stay;
#   4. the installed Cumulon starts from the Start menu shortcut's target and
#      shows its window with the installed data, and Setup run again while it
#      runs ends it as Exit does, its settings saved (installed_program_test.exe);
#   5. a silent uninstall removes the program folder, the shortcut, the
#      installed programs entry and the Run value, and keeps the user's list.
# installer-test.sh WORK TEMPLATE_PREFIX SETUP ZIP CHECK.exe MAKENSIS NSI VERSION NSIS_ARGS...
set -u
work=$1 template=$2 setup=$3 zip=$4 check=$5 makensis=$6 nsi=$7 version=$8
shift 8
nsis_args=("$@")
stage=
for arg in "${nsis_args[@]}"; do
    case $arg in -DSTAGE=*) stage=${arg#-DSTAGE=} ;; esac
done

rm -rf "$work"
mkdir -p "$work"
cp -a "$template" "$work/prefix" || exit 1
export WINEPREFIX=$work/prefix WINEDEBUG=-all E2E_WORK=$work
# No menu entries for the Linux desktop from the shortcut Setup makes.
export WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv=,winemenubuilder.exe=d"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
setsid wineserver -p </dev/null >/dev/null 2>&1 &
finish() {
    wineserver -k >/dev/null 2>&1
    kill $xvfb 2>/dev/null
    wait $xvfb 2>/dev/null
    for bmp in "$work"/*.bmp; do
        [ -e "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
    done
    rm -rf "$work/prefix"
}
trap finish EXIT

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
expect() { # expect DESCRIPTION COMMAND...
    local what=$1
    shift
    "$@" || fail "$what"
}
equal() { [ "$1" = "$2" ] || { echo "  got '$1', expected '$2'" >&2; return 1; }; }
# A registry value's data as "reg query" shows it; empty when missing.
value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]*/, ""); print }'
}
folder() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')" 2>/dev/null; }
wait_gone() { for _ in $(seq 300); do [ -e "$1" ] || return 0; sleep 0.1; done; return 1; }

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Cumulon'
settings_key='HKCU\Software\Quillmoor\Cumulon'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
program=$(folder LOCALAPPDATA)/Programs/Cumulon
user_data=$(folder APPDATA)/Quillmoor/Cumulon
shortcut="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Cumulon.lnk"
files=$(cd "$stage" && find . -type f | sed 's|^\./||' | sort)

# The portable ZIP holds the same files in a folder "Cumulon".
expect "the ZIP holds the files of the release" \
    equal "$(cmake -E tar tf "$zip" | grep -v '/$' | sort)" "$(printf '%s\n' $files | sed 's|^|Cumulon/|')"

# 1. The older release.
old_version=${version%.*}.$((${version##*.} - 1))
mkdir -p "$work/older"
cp -a "$stage" "$work/older/Cumulon"
echo "; the older release's catalog" >>"$work/older/Cumulon/links.dat"
"$makensis" "${nsis_args[@]}" -DSTAGE="$work/older/Cumulon" -DVERSION="$old_version" \
    -DCOMPRESSOR=zlib -DOUTFILE="$work/older-setup.exe" "$nsi" >/dev/null || exit 1
wine "$work/older-setup.exe" /S
expect "the older release installs silently" equal $? 0
expect "the older release is listed" equal "$(value "$uninstall_key" DisplayVersion)" "$old_version"

# 2. The user's own files and settings.
mkdir -p "$user_data"
printf 'Cumulon 3.0.7.143\r\n\r\n[POINTFORECAST]\r\nHome\xbb38.25\xbb-85.76\r\n\r\n' >"$user_data/list.dat"
cp "$user_data/list.dat" "$work/list.dat"
cp "$program/sounds/alarm.wav" "$program/sounds/mine.wav"
wine reg add "$settings_key" /v AlertWarningAlarm /t REG_SZ /d 'sounds\mine.wav' /f >/dev/null
wine reg add "$run_key" /v 'Quillmoor - Cumulon' /t REG_SZ /d 'C:\elsewhere\Cumulon.exe' /f >/dev/null

# 3. This release over it.
wine "$setup" /S
expect "the upgrade installs silently" equal $? 0
for file in $files; do
    expect "$file installed as built" cmp -s "$stage/$file" "$program/$file"
done
expect "the uninstaller installed" test -f "$program/Uninstall.exe"
expect "the Start menu shortcut" test -f "$shortcut"
expect "the entry's version" equal "$(value "$uninstall_key" DisplayVersion)" "$version"
expect "the entry's publisher" equal "$(value "$uninstall_key" Publisher)" "Quillmoor"
expect "the entry's name" equal "$(value "$uninstall_key" DisplayName)" "Cumulon"
expect "the entry's icon" equal "$(value "$uninstall_key" DisplayIcon)" \
    "$(winepath -w "$program")\\Cumulon.exe,0"
size=$(value "$uninstall_key" EstimatedSize)
expect "the entry's size in KB ($size)" test $((size)) -ge $(($(du -sk "$stage" | cut -f1) * 9 / 10))
expect "the upgrade keeps the list" cmp -s "$work/list.dat" "$user_data/list.dat"
expect "the upgrade keeps the setting" equal "$(value "$settings_key" AlertWarningAlarm)" 'sounds\mine.wav'
expect "the upgrade keeps the user's sound" test -f "$program/sounds/mine.wav"

# 4. The installed program, as the shortcut starts it.
CUMULON_SETUP=$setup wine "$check" </dev/null
expect "the installed Cumulon from its shortcut, and Setup over it running" equal $? 0
expect "it keeps the setting" equal "$(value "$settings_key" AlertWarningAlarm)" 'sounds\mine.wav'

# 5. The silent uninstall (it goes on from a copy of itself in the temporary folder).
wine "$program/Uninstall.exe" /S
expect "the uninstaller runs silently" equal $? 0
expect "the program folder goes" wait_gone "$program"
expect "the shortcut goes" test ! -e "$shortcut"
expect "the entry goes" equal "$(wine reg query "$uninstall_key" >/dev/null 2>&1; echo $?)" 1
expect "the Run value goes" equal "$(value "$run_key" 'Quillmoor - Cumulon')" ""
expect "the user's list stays" test -f "$user_data/list.dat"
expect "the user's settings stay" equal "$(value "$settings_key" AlertWarningAlarm)" 'sounds\mine.wav'

[ $failures -eq 0 ] && echo "installer: all checks passed"
[ $failures -eq 0 ]
