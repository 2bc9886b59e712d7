#!/usr/bin/env bash
# tilora-cli face: where the plate lies, the picture's size and background,
# and bad usage.
set -u
cli=$1
pics=$2
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

out=$("$cli" face --width 26 --hue 344 --background 102030 "$work/face.png")
[ "$out" = $'plate 4 4\nface 36 36' ] || fail "plate and face lines: '$out'"
# 36 x 36 plus a margin of 8 all round; the background where no shadow falls.
[ "$("$pics" dump "$work/face.png" 0 0 1 1)" = $'52 52 3\n102030' ] || fail "size or background"
# The middle of a Print plate is red above all.
middle=$("$pics" dump "$work/face.png" 25 25 1 1 | tail -1)
[ $((16#${middle:0:2})) -gt $((16#${middle:4:2})) ] || fail "plate middle $middle is not red"

for args in "$work/x.png" "--width 0 $work/x.png" "--width 26 --hue north $work/x.png" "--width 26"; do
    # shellcheck disable=SC2086
    "$cli" face $args 2>/dev/null
    [ $? -eq 2 ] || fail "'face $args' should be bad usage"
done
exit $((failures > 0))
