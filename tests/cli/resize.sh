#!/usr/bin/env bash
# tilora-cli resize: exact size, nearest neighbour pinned, the timing line,
# and refused files and usage.
source "$(dirname "$0")/common.bash" "$@"

expect resize-nearest "" resize "$w/gradient.bmp" "$w/nearest.png" --size 4x3 --method nearest
expect_png resize-nearest "$w/nearest.png" "$(printf '4 3 3\n%s\n%s\n%s' \
    '000040 4e0040 9c0040 ea0040' '007840 4e7840 9c7840 ea7840' '00e840 4ee840 9ce840 eae840')"
timing=$("$cli" resize "$w/gradient.bmp" "$w/lanczos.png" --size 10x5 --time)
[ $? -eq 0 ] || fail "resize-lanczos: exit status"
[[ "$timing" =~ ^[0-9]+\.[0-9]+$ ]] || fail "resize --time printed '$timing'"
[ "$("$pics" dump "$w/lanczos.png" | head -1)" = "10 5 3" ] || fail "resize-lanczos: size"
expect_error resize-unreadable 1 "$(cannot_read words.jpg '.+' 2)" resize "$w/words.jpg" "$w/never.png" --size 2x2
expect_error resize-no-size 2 "--size is required" resize "$w/rgb.bmp" "$w/never.png"
expect_error resize-bad-size 2 "bad --size value" resize "$w/rgb.bmp" "$w/never.png" --size 0x5
expect_error resize-bad-method 2 "bad --method value" resize "$w/rgb.bmp" "$w/never.png" --size 2x2 --method cubic
"$cli" resize --help | grep -q -- "--method" || fail "resize --help lists no --method"

finish resize
