#!/usr/bin/env bash
# tilora-cli decode with Photoshop, TLA and Photo CD files: pixels of the
# written PNG files and the one-line failures of damaged ones.
set -u
cli=$1
pics=$2
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$pics" write-psd-pcd-tla "$work" || { echo "cannot write the test pictures" >&2; exit 1; }
w=$work

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# decode_to NAME WANTED_DUMP ARGS... : decode succeeds and the PNG holds the pixels.
decode_to() {
    local name=$1 want=$2 got
    shift 2
    "$cli" decode "$@" "$w/$name.png" || fail "$name: exit status $?"
    got=$("$pics" dump "$w/$name.png" 2>&1 | head -3)
    [ "$got" = "$want" ] || { fail "$name: pixels differ"; diff <(echo "$want") <(echo "$got") >&2; }
}

# refused NAME CODE ARGS... : exit status 1 and one line on stderr ending in the code.
refused() {
    local name=$1 code=$2 err status
    shift 2
    err=$("$cli" decode "$@" "$w/never.png" 2>&1 >/dev/null)
    status=$?
    [ "$status" -eq 1 ] || fail "$name: exit status $status, expected 1"
    [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || fail "$name: expected one line on stderr, got '$err'"
    [[ "$err" =~ ^tilora-cli:\ cannot\ read\ .+\ \(code\ $code\)$ ]] || fail "$name: '$err'"
}

decode_to psd-rgb "$(printf '2 1 3\nff0000 102030')" "$w/layers.psd"
decode_to psd-cmyk "$(printf '2 1 3\nff0000 081018')" "$w/inks.psd"
decode_to tla-24 "$(printf '2 2 3\nff0000 00ff00\n0000ff 102030')" --any-extension --depth 24 "$w/tiles.tla"
decode_to tla-32 "$(printf '2 2 4\nff0000ff 00ff0080\n0000ff00 102030ff')" --any-extension --depth 32 "$w/tiles.tla"
# The Photo CD road takes the highest resolution the file holds: 3. Luma
# 100 with neutral chroma is grey 143.
"$cli" decode "$w/photo.pcd" "$w/photo.png" || fail "pcd: exit status $?"
[ "$("$pics" dump "$w/photo.png" | head -2 | cut -d' ' -f1)" = "$(printf '768\n8f8f8f')" ] || fail "pcd: size or pixel"

refused psd-cut 3 "$w/cut.psd"
refused tla-no-rows 6 --any-extension --depth 24 "$w/short.tla"
refused tla-extension 2 --depth 24 "$w/tiles.tla"
refused pcd-overview 64 "$w/album.pcd"
[ ! -e "$w/never.png" ] || fail "a failed decode left an output file"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "all Photoshop, TLA and Photo CD checks passed"
