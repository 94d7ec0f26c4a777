#!/bin/bash
# wine_session_test.sh BUILD_DIR: inside the tests' running Wine session,
# another command's start joins it and that command's stop leaves it
# running; a Windows program run by wine-run meanwhile keeps its output.
set -u
tools=$(cd "$(dirname "$0")/../tools" && pwd)
. "$tools/wine-env.sh"
wine_paths "$(cd "$1" && pwd)"
failed=0
check() { if "${@:2}"; then echo "ok    $1"; else echo "FAIL  $1"; failed=1; fi; }

check "the tests' session runs" wine_session_alive
before=$(cat "$SESSION_FILE")
"$tools/wine-session" start "$1" another-command >/dev/null
check "a second start leaves the session file alone" test "$(cat "$SESSION_FILE")" = "$before"
"$tools/wine-session" stop "$1" another-command >/dev/null
check "another command's stop leaves the session running" wine_session_alive
out=$("$tools/wine-run" "$2" --version 2>&1)
check "a program run in it still prints: $out" test "${out#rodadero-trace }" != "$out"
check "the session still runs afterwards" wine_session_alive
exit $failed
