#!/usr/bin/env bash
# Runs one winelib program in a Wine prefix of its own, made for this run and
# removed afterwards, without a display; exits with the program's status.
set -uo pipefail
program=$1; shift
# wineg++ links NAME.exe.so and writes NAME.exe as a launcher script; handed
# the launcher, wine returns at once with status 0, so run the module itself.
[ -f "$program.so" ] && program=$program.so
prefix=$(mktemp -d /tmp/tilora-wine.XXXXXX)
server=$(command -v wineserver || echo /usr/lib/wine/wineserver)
cleanup() { WINEPREFIX=$prefix "$server" -k >/dev/null 2>&1; rm -rf "$prefix"; }
trap cleanup EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine" ] || wine=wine
"$wine" "$program" "$@"
