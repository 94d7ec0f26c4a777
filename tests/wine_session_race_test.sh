#!/bin/bash
# wine_session_race_test.sh FOLDER: two starts of the Wine session at the
# same moment, on a build folder of their own (not the tests' session),
# make one session that both use: one Xvfb for the folder, one command says
# it started the session and the other that it joined it, the session file
# names that live Xvfb, nothing holds the session's lock afterwards, and
# the stops leave no process of the session running. Then two sessions of
# two folders choosing their displays at the same moment get one each.
set -u
tools=$(cd "$(dirname "$0")/../tools" && pwd)
mkdir -p "$1"
dir=$(cd "$1" && pwd)
# The layout of tools/wine-env.sh, not sourced here: this script must not
# carry the prefix in its own environment.
prefix=$dir/wine/prefix
session_file=$dir/wine/session
lock=$dir/wine/session.lock
failed=0
check() { if "${@:2}"; then echo "ok    $1"; else echo "FAIL  $1"; failed=1; fi; }

# The processes of this folder's session, those named NAME if given: every
# one of them (Xvfb, wineserver, Wine's services) has its prefix in its
# environment.
session_pids() {
    local f pid
    for f in $(grep -lzxF "WINEPREFIX=$prefix" /proc/[0-9]*/environ 2>/dev/null); do
        pid=${f#/proc/}
        pid=${pid%/environ}
        [ $# -eq 0 ] || [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$1" ] || continue
        echo "$pid"
    done
}
# Waits up to 10 s for the session's processes to end; kills what is left.
end_session() {
    local left
    for _ in $(seq 1 100); do
        left=$(session_pids)
        [ -z "$left" ] && return 0
        sleep 0.1
    done
    echo "still running: $(ps -o pid=,comm= -p "$(echo $left | tr ' ' ,)" | tr '\n' ' ')"
    kill $left 2>/dev/null
    return 1
}

# Whatever an earlier run left behind goes first.
kill $(session_pids) 2>/dev/null
end_session >/dev/null
rm -f "$session_file"

"$tools/wine-session" start "$dir" race-a >"$dir/start-a.out" 2>&1 &
a=$!
"$tools/wine-session" start "$dir" race-b >"$dir/start-b.out" 2>&1 &
b=$!
wait $a
code_a=$?
wait $b
code_b=$?
out=$(cat "$dir/start-a.out" "$dir/start-b.out")
echo "$out" | sed 's/^/    /'

check "both starts succeed" test "$code_a $code_b" = "0 0"
check "one of them started the session" test "$(grep -c '^wine session on :' <<<"$out")" = 1
check "the other joined it" test "$(grep -c ': joined$' <<<"$out")" = 1
xvfb=$(session_pids Xvfb)
check "exactly one Xvfb runs for the folder: ${xvfb:-none}" test "$(wc -w <<<"$xvfb")" = 1
DISPLAY= XVFB_PID=
[ -f "$session_file" ] && . "$session_file"
check "the session file names that Xvfb (${XVFB_PID:-none})" test "${XVFB_PID:-none}" = "$xvfb"
check "its display $DISPLAY is the one that Xvfb serves" \
    test "$(tr '\0' ' ' <"/proc/${XVFB_PID:-0}/cmdline" 2>/dev/null | cut -d' ' -f2)" = "$DISPLAY"
answers() { xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; }
check "the display answers" answers
check "nothing holds the session's lock" flock -n "$lock" true

"$tools/wine-session" stop "$dir" race-a >/dev/null
"$tools/wine-session" stop "$dir" race-b >/dev/null
check "the stops leave nothing of the session running" end_session

# Two folders' displays chosen at once (start_xvfb alone, without Wine):
# both wait at a named pipe, which opening it for writing releases together.
gate=$dir/gate
rm -f "$gate"
mkfifo "$gate"
for i in 1 2; do
    (
        . "$tools/wine-env.sh"
        WINE_DIR=$dir/display-$i
        mkdir -p "$WINE_DIR"
        read -r _ <"$gate"
        start_xvfb && echo "$DISPLAY $XVFB_PID"
    ) >"$dir/display-$i.out" 2>&1 &
done
sleep 0.5
: >"$gate"
wait
rm -f "$gate"
read -r display_1 pid_1 <"$dir/display-1.out"
read -r display_2 pid_2 <"$dir/display-2.out"
echo "    $display_1 $pid_1, $display_2 $pid_2"
serves() {  # PID DISPLAY: PID is an Xvfb serving DISPLAY
    [ "$(cat "/proc/$1/comm" 2>/dev/null)" = Xvfb ] &&
        [ "$(tr '\0' ' ' <"/proc/$1/cmdline" | cut -d' ' -f2)" = "$2" ] &&
        xdpyinfo -display "$2" >/dev/null 2>&1
}
check "two sessions started at once get two displays" test "$display_1" != "$display_2"
check "the first one's Xvfb serves its display" serves "${pid_1:-0}" "$display_1"
check "the second one's Xvfb serves its display" serves "${pid_2:-0}" "$display_2"
kill ${pid_1:-} ${pid_2:-} 2>/dev/null
exit $failed
