#!/bin/sh
# Runs a Windows test executable under Wine: wine-run.sh PREFIX EXE [ARGS...]
# PREFIX is the build's own Wine prefix (never ~/.wine); it is created on first use
# with the fonts DirectWrite needs. When DISPLAY is unset, an Xvfb server is shared
# by all concurrent runs on this prefix and stopped by the last one to leave.
# The test's exit code is returned.
set -u

prefix=$1
shift
case "$prefix" in
    /*) ;;
    *) prefix="$PWD/$prefix" ;;
esac
# Tests that drive the real cursor and keyboard get a prefix, and so a desktop, of
# their own, where no other test's window can take the foreground from them.
[ -n "${QV_WINE_DESKTOP:-}" ] && prefix="$prefix-$QV_WINE_DESKTOP"

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="$prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

run_dir="$prefix.run"
mkdir -p "$run_dir"
lock="$run_dir/lock"
own_display=0

prepare_prefix() {
    if [ ! -f "$prefix/.qv-ready" ]; then
        create_prefix || return 1
    fi
    [ -f "$prefix/.qv-no-debugger" ] && return 0
    # A test that crashes ends at once with its fault's code: no debugger is started
    # for an unhandled exception, and none asks whether to start one.
    key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    "$wine" reg add "$key" /v Debugger /d "" /f >/dev/null 2>&1 9>&- || return 1
    "$wine" reg add "$key" /v Auto /d 1 /f >/dev/null 2>&1 9>&- || return 1
    "$wineserver" -w 9>&-
    touch "$prefix/.qv-no-debugger"
}

create_prefix() {
    rm -rf "$prefix"
    "$wine" wineboot -i >/dev/null 2>&1 9>&-
    "$wineserver" -w 9>&-
    fonts="$prefix/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
    for f in tahoma tahomabd; do
        cp "/usr/share/wine/fonts/$f.ttf" "$fonts/$f.ttf" || return 1
    done
    "$wine" reg add "$key" /v "Tahoma (TrueType)" /d tahoma.ttf /f >/dev/null 2>&1 9>&- || return 1
    "$wine" reg add "$key" /v "Tahoma Bold (TrueType)" /d tahomabd.ttf /f >/dev/null 2>&1 9>&- || return 1
    "$wineserver" -w 9>&-
    touch "$prefix/.qv-ready"
}

# Wine links Documents, Desktop and the like to the user's home; tests write
# there (crash dumps), so each prefix gets folders of its own instead.
detach_home_folders() {
    for link in "$prefix"/drive_c/users/*/*; do
        [ -L "$link" ] || continue
        rm -f "$link" && mkdir -p "$link"
    done
}

start_display() {
    users=$(cat "$run_dir/users" 2>/dev/null || echo 0)
    pid=$(cat "$run_dir/xvfb.pid" 2>/dev/null || echo 0)
    if [ "$users" -gt 0 ] && [ "$pid" -gt 0 ] && kill -0 "$pid" 2>/dev/null; then
        echo $((users + 1)) > "$run_dir/users"
        return 0
    fi
    # A desktop process left from a dead display would be reused by Wine: start clean.
    "$wineserver" -k 2>/dev/null 9>&-
    "$wineserver" -w 2>/dev/null 9>&-
    rm -f "$run_dir/display.fifo"
    mkfifo "$run_dir/display.fifo"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$run_dir/display.fifo" \
        >/dev/null 2>&1 9>&- &
    echo $! > "$run_dir/xvfb.pid"
    read -r display < "$run_dir/display.fifo" || return 1
    rm -f "$run_dir/display.fifo"
    echo ":$display" > "$run_dir/display"
    echo 1 > "$run_dir/users"
}

stop_display() {
    users=$(cat "$run_dir/users" 2>/dev/null || echo 1)
    users=$((users - 1))
    echo "$users" > "$run_dir/users"
    [ "$users" -gt 0 ] && return 0
    "$wineserver" -k 2>/dev/null 9>&-
    "$wineserver" -w 2>/dev/null 9>&-
    pid=$(cat "$run_dir/xvfb.pid" 2>/dev/null || echo 0)
    [ "$pid" -gt 0 ] && kill "$pid" 2>/dev/null
    rm -f "$run_dir/xvfb.pid" "$run_dir/display"
    return 0
}

exec 9>"$lock"
flock 9
if [ -z "${DISPLAY:-}" ]; then
    own_display=1
    start_display || { echo "wine-run: cannot start Xvfb" >&2; exit 1; }
fi
[ "$own_display" = 1 ] && DISPLAY=$(cat "$run_dir/display") && export DISPLAY
if ! prepare_prefix; then
    echo "wine-run: cannot prepare the Wine prefix $prefix" >&2
    [ "$own_display" = 1 ] && stop_display
    exit 1
fi
detach_home_folders
# Start the server once, serialised, so concurrent first runs do not race for it.
"$wineserver" -p 20 2>/dev/null 9>&-
flock -u 9

leave() {
    if [ "$own_display" = 1 ]; then
        flock 9
        stop_display
        flock -u 9
        own_display=0
    fi
}
child=0
# A killed run (a test timeout) still gives its share of the display back.
trap '[ "$child" -gt 0 ] && kill "$child" 2>/dev/null; wait "$child" 2>/dev/null; leave; exit 143' INT TERM HUP

# On a busy machine Wine kills a program's Unix process when it has not gone a
# second after its last thread, so a test that passed reads as killed: start.exe
# waits on the program and hands back its own exit code instead. It would run the
# program in the program's own folder; /d keeps the caller's (Wine's Z: is /).
if [ -f "$1" ]; then
    case "$1" in
        /*) set -- start /wait /b /d "Z:$(printf '%s' "$PWD" | tr / '\\')" /unix "$@" ;;
    esac
fi
"$wine" "$@" 9>&- &
child=$!
wait "$child"
rc=$?
child=0
leave
exit $rc
