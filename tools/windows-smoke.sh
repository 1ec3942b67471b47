#!/bin/sh
# Uses the portable Windows zip as a learner would, under Wine with code page 936 on a virtual
# display: unpacked into a fresh folder with a fresh Wine prefix and nothing else on the DLL
# path, it must show the first-run message, import the 3600 words as GB18030 lines ending in
# CR LF, show its window, and end with exit status 0 through the close question.
# usage: windows-smoke.sh ZIP
set -eu
[ $# -eq 1 ] || { echo "usage: $0 ZIP" >&2; exit 2; }
zip=$(realpath "$1")
work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "windows-smoke: $*" >&2
    exit 1
}
# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    limit=$1
    shift
    for _ in $(seq "$limit"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 1
    done
    return 1
}

python3 -m zipfile -e "$zip" "$work/unpacked"
program=$(find "$work/unpacked" -name mirvo.exe | head -n 1)
[ -n "$program" ] || fail "no mirvo.exe in $zip"
folder=$(dirname "$program")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
unset WINEPATH QT_QPA_PLATFORM
# The display first: Wine's desktop process, started with the prefix, keeps the display it found.
# Xvfb picks a free display and writes its number once it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
wait_for 20 test -s "$work/display" || fail "no virtual display"
export DISPLAY=:$(cat "$work/display")
wine wineboot --init >/dev/null 2>&1

started=$(date +%s)
wine "$program" >"$work/program.log" 2>&1 &
program_pid=$!
wait_for 60 xdotool search --name "Mirvo背单词" || fail "no first-run message"
[ -d "$folder/words" ] || fail "no store beside the program"
# 确定; pressed again while the message stays (a key sent before Wine gave the box the focus
# goes nowhere), until the import writes its first entry.
answered=false
for _ in 1 2 3 4 5 6; do
    xdotool key Return
    wait_for 10 sh -c "[ -n \"\$(ls -A '$folder/words')\" ]" && answered=true && break
done
$answered || fail "the first-run message was not answered"
wait_for 180 sh -c "[ \$(ls '$folder/words' | wc -l) -eq 3600 ]" \
    || fail "the 3600 words were not imported: $(ls "$folder/words" | wc -l) entries; $(tail -n 5 "$work/program.log")"
# "African" is "adj. 非洲的 n. 非洲人" in the list: GBK bytes, CR LF.
expected=61646a2e20b7c7d6deb5c4206e2e20b7c7d6dec8cb0d0a
[ "$(od -An -tx1 "$folder/words/African" | tr -d ' \n')" = "$expected" ] \
    || fail "an entry is not GB18030 with CR LF: $(od -c "$folder/words/African")"
sleep 3
kill -0 "$program_pid" 2>/dev/null || fail "the program ended by itself"
echo "windows-smoke: started, imported 3600 words in $(($(date +%s) - started)) s"

wine taskkill /IM mirvo.exe >/dev/null 2>&1 || fail "taskkill could not ask the program to close"
sleep 3
xdotool key Return # 是: the close question's default
wait_for 30 sh -c "! kill -0 $program_pid" || fail "the program did not end after the close question"
wait "$program_pid" || fail "the program ended with status $?"
echo "windows-smoke: ended cleanly"
