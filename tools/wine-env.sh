# Shared by wine-run and wine-session (bash): where a build keeps its Wine prefix
# and the record of its running session (X display and Xvfb process).
# Sourced, not run.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

# The build folder holding PATH: the nearest folder upward with a CMakeCache.txt.
wine_build_dir() {
    d=$(cd "$1" 2>/dev/null && pwd) || return 1
    while [ "$d" != / ]; do
        [ -f "$d/CMakeCache.txt" ] && { echo "$d"; return 0; }
        d=$(dirname "$d")
    done
    return 1
}

# Sets WINEPREFIX and SESSION_FILE for the build folder $1.
wine_paths() {
    WINE_DIR="$1/wine"
    export WINEPREFIX="$WINE_DIR/prefix"
    SESSION_FILE="$WINE_DIR/session"
}

# True when the session file names a live Xvfb; exports its DISPLAY.
wine_session_alive() {
    [ -f "$SESSION_FILE" ] || return 1
    . "$SESSION_FILE"
    kill -0 "$XVFB_PID" 2>/dev/null || return 1
    export DISPLAY
}

# Closes inherited descriptors above 2 so that detached children (Xvfb,
# wineserver, Wine's background services) hold no pipe or lock of ours.
close_extra_fds() {
    local fd
    for fd in $(ls /proc/$$/fd 2>/dev/null); do
        if [ "$fd" -gt 2 ] 2>/dev/null; then
            eval "exec $fd>&-" 2>/dev/null || true
        fi
    done
    return 0
}

# Starts Xvfb on the first free display from 90 up; sets DISPLAY and XVFB_PID.
# Another session may choose the same number at the same moment: Xvfb's own
# lock file (/tmp/.X<n>-lock) gives the display to one of them and the other
# exits, so a display counts as ours only once our Xvfb writes its number
# to -displayfd, which it does when it serves the display.
start_xvfb() {
    local n ready="$WINE_DIR/xvfb-display" i
    for n in $(seq 90 189); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        : >"$ready"
        Xvfb ":$n" -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
            3>"$ready" </dev/null >/dev/null 2>&1 &
        XVFB_PID=$!
        i=0
        until [ "$(cat "$ready")" = "$n" ]; do
            kill -0 "$XVFB_PID" 2>/dev/null || break
            i=$((i + 1))
            if [ $i -gt 200 ]; then
                kill "$XVFB_PID" 2>/dev/null
                echo "wine session: Xvfb did not start on :$n" >&2
                return 1
            fi
            sleep 0.05
        done
        if [ "$(cat "$ready")" = "$n" ]; then
            rm -f "$ready"
            export DISPLAY=":$n"
            return 0
        fi
        wait "$XVFB_PID" 2>/dev/null
    done
    echo "wine session: no free display from :90 to :189" >&2
    return 1
}

# Creates the prefix if needed, then keeps a wineserver running for it.
start_wine() {
    mkdir -p "$WINE_DIR"
    fresh=0
    [ -f "$WINEPREFIX/system.reg" ] || fresh=1
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot -i </dev/null >/dev/null 2>&1
    if [ $fresh = 1 ]; then
        # Without a window manager, unmanaged windows are created and
        # destroyed at once instead of waiting for one.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
            </dev/null >/dev/null 2>&1
    fi
    install_prefix_fonts
}

# Debian's Wine does not find the caption-bar symbol font (Marlett) that
# fonts-wine ships, and draws letters in its place; a copy in the prefix's
# own Fonts folder is found.
install_prefix_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -d "$fonts" ] || return 0
    for f in marlett.ttf; do
        if [ -f "/usr/share/wine/fonts/$f" ] && [ ! -f "$fonts/$f" ]; then
            cp "/usr/share/wine/fonts/$f" "$fonts/"
        fi
    done
    return 0
}

stop_wine() {
    wineserver -k </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    return 0
}
