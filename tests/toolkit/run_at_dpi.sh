#!/bin/sh
# run_at_dpi.sh LAUNCHER PREFIX DPI EXE [ARGS...]: runs a test executable in a
# Wine prefix of its own whose screen is set to DPI.
set -u
launcher=$1
prefix=$2
dpi=$3
shift 3
sh "$launcher" "$prefix" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
sh "$launcher" "$prefix" reg add "HKCC\\Software\\Fonts" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
exec sh "$launcher" "$prefix" "$@"
