#!/usr/bin/env bash
# tilora-cli info, decode, resize and plan with a picture file: pixels of the
# written PNG files, the extension gate, refused formats, and the one-line
# failure messages with their exit statuses.
set -u
cli=$1
pics=$2
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$pics" write "$work" || { echo "cannot write the test pictures" >&2; exit 1; }

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect NAME WANTED_STDOUT ARGS... : exit status 0 and the whole stdout.
expect() {
    local name=$1 want=$2
    shift 2
    local out status
    out=$("$cli" "$@")
    status=$?
    [ "$status" -eq 0 ] || fail "$name: exit status $status"
    [ "$out" = "$want" ] || { fail "$name: output differs"; diff <(echo "$want") <(echo "$out") >&2; }
}

# expect_error NAME STATUS STDERR_PATTERN ARGS... : the exit status and exactly
# one line on stderr matching the pattern (grep -E).
expect_error() {
    local name=$1 want=$2 pattern=$3
    shift 3
    local err status
    err=$("$cli" "$@" 2>&1 >/dev/null)
    status=$?
    [ "$status" -eq "$want" ] || fail "$name: exit status $status, expected $want"
    [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || fail "$name: expected one line on stderr, got '$err'"
    printf '%s\n' "$err" | grep -Eq -- "$pattern" || fail "$name: '$err' does not match '$pattern'"
}

# expect_png NAME FILE WANTED_DUMP : the PNG's size, channels and pixels.
expect_png() {
    local name=$1 file=$2 want=$3 got
    got=$("$pics" dump "$file" 2>&1)
    [ "$got" = "$want" ] || { fail "$name: pixels differ"; diff <(echo "$want") <(echo "$got") >&2; }
}

w=$work
cannot_read() { echo "^tilora-cli: cannot read $w/$1: $2 \\(code $3\\)\$"; }

# info: the format by content, the size when the program can read it.
expect info-bmp "$(printf 'format BMP code 1\nwidth 3 height 2')" info "$w/rgb.bmp"
expect info-content-decides "$(printf 'format BMP code 1\nwidth 3 height 2')" info "$w/rgb-named.png"
[ "$("$cli" info "$w/wireless.bmp" 2>/dev/null)" = "format WBMP code 13" ] || fail "info-wbmp: format line"
expect_error info-wbmp 1 "$(cannot_read wireless.bmp 'WBMP files are not supported' 17)" info "$w/wireless.bmp"
[ "$("$cli" info "$w/words.jpg" 2>/dev/null)" = "format unknown code 0" ] || fail "info-unknown: format line"
expect_error info-unknown 1 "$(cannot_read words.jpg 'unrecognised picture format' 2)" info "$w/words.jpg"
expect_error info-missing 1 "$(cannot_read missing.bmp '.+' 2)" info "$w/missing.bmp"
[ -z "$("$cli" info "$w/missing.bmp" 2>/dev/null)" ] || fail "info-missing: printed a format"
expect_error info-extension 1 "$(cannot_read rgb.txt 'file name extension not accepted' 2)" info "$w/rgb.txt"

# decode: the program's road, written as RGB or RGBA.
expect decode-bmp "" decode "$w/rgb.bmp" "$w/rgb.png"
expect_png decode-bmp "$w/rgb.png" "$(printf '3 2 3\nff0000 00ff00 0000ff\n102030 405060 ffffff')"
expect decode-any-extension "" decode --any-extension "$w/rgb.txt" "$w/txt.png"
expect_png decode-any-extension "$w/txt.png" "$(printf '3 2 3\nff0000 00ff00 0000ff\n102030 405060 ffffff')"
# BMP files take the 24-bit road: a 32-bit file's fourth bytes are dropped.
expect decode-bmp32 "" decode "$w/alpha.bmp" "$w/alpha24.png"
expect_png decode-bmp32 "$w/alpha24.png" "$(printf '3 1 3\n102030 ff8040 ffffff')"
# --depth takes the generic read directly: straight RGBA when not all opaque.
expect decode-depth32 "" decode --depth 32 "$w/alpha.bmp" "$w/alpha32.png"
expect_png decode-depth32 "$w/alpha32.png" "$(printf '3 1 4\n102030ff ff804080 ffffff00')"
expect decode-depth32-opaque "" decode --depth=32 "$w/opaque32.bmp" "$w/opaque.png"
expect_png decode-depth32-opaque "$w/opaque.png" "$(printf '2 1 3\n102030 405060')"

expect_error decode-extension 1 "$(cannot_read rgb.txt 'file name extension not accepted' 2)" \
    decode "$w/rgb.txt" "$w/never.png"
expect_error decode-depth-extension 1 "$(cannot_read rgb.txt 'file name extension not accepted' 2)" \
    decode --depth 24 "$w/rgb.txt" "$w/never.png"
expect_error decode-truncated 1 "$(cannot_read truncated.bmp '.+' 3)" decode "$w/truncated.bmp" "$w/never.png"
expect_error decode-wbmp 1 "$(cannot_read wireless.bmp 'WBMP files are not supported' 17)" \
    decode "$w/wireless.bmp" "$w/never.png"
expect_error decode-metafile 1 "$(cannot_read drawing.wmf 'metafiles are read only by the Windows program' 17)" \
    decode "$w/drawing.wmf" "$w/never.png"
expect_error decode-unknown-depth 1 "$(cannot_read words 'cannot open the file or tell its format' 2)" \
    decode --depth 32 "$w/words" "$w/never.png"
[ ! -e "$w/never.png" ] || fail "a failed decode left an output file"
expect_error decode-unwritable 1 "^tilora-cli: cannot write $w/no/such/folder.png: " \
    decode "$w/rgb.bmp" "$w/no/such/folder.png"

# resize: exact size; nearest neighbour pinned, --time prints a number alone.
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

# plan: a picture file stands for --image.
plan_args=(--width 30cm --tile 10000x10000 --device-tile 100x100)
[ "$("$cli" plan "$w/rgb.bmp" "${plan_args[@]}")" = "$("$cli" plan --image 3x2 "${plan_args[@]}")" ] \
    || fail "plan with a file differs from --image 3x2"
expect_error plan-unreadable 1 "$(cannot_read words.jpg 'unrecognised picture format' 2)" \
    plan "$w/words.jpg" "${plan_args[@]}"
expect_error plan-both 2 "not both" plan "$w/rgb.bmp" --image 3x2 "${plan_args[@]}"
expect_error plan-two-files 2 "unknown option" plan "$w/rgb.bmp" "$w/rgb.bmp" "${plan_args[@]}"

# Usage.
expect_error decode-one-file 2 "expected an input and an output file" decode "$w/rgb.bmp"
expect_error decode-bad-depth 2 "bad --depth value '16'" decode --depth 16 "$w/rgb.bmp" "$w/never.png"
expect_error decode-unknown-option 2 "unknown option '--colour'" decode --colour "$w/rgb.bmp" "$w/never.png"
expect_error info-no-file 2 "expected one file" info
"$cli" decode --help | grep -q -- "--depth 24|32" || fail "decode --help lists no --depth"
"$cli" resize --help | grep -q -- "--method" || fail "resize --help lists no --method"
for command in info decode resize plan; do
    "$cli" --help | grep -q "^  $command " || fail "--help does not list $command"
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "all picture command checks passed"
