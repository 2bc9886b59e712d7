#!/usr/bin/env bash
# tilora-cli decode: the program's road for every format, written as RGB or
# RGBA (pixels of the written PNG files), the extension gate, refused
# formats, damaged files with their one-line failures, and usage.
source "$(dirname "$0")/common.bash" "$@"

# decodes NAME WANTED_DUMP ARGS... : decode succeeds and the PNG holds the pixels.
decodes() {
    local name=$1 want=$2
    shift 2
    expect "$name" "" decode "$@" "$w/$name.png"
    expect_png "$name" "$w/$name.png" "$want"
}

# refused NAME CODE ARGS... : exit status 1 and one line on stderr ending in the code.
refused() {
    local name=$1 code=$2
    shift 2
    expect_error "$name" 1 "^tilora-cli: cannot read .+ \\(code $code\\)\$" decode "$@" "$w/never.png"
}

two_pixels=$(printf '2 1 3\n102030 a0b0c0')
decodes decode-bmp "$(printf '3 2 3\nff0000 00ff00 0000ff\n102030 405060 ffffff')" "$w/rgb.bmp"
decodes decode-any-extension "$(printf '3 2 3\nff0000 00ff00 0000ff\n102030 405060 ffffff')" \
    --any-extension "$w/rgb.txt"
# BMP files take the 24-bit road: a 32-bit file's fourth bytes are dropped.
decodes decode-bmp32 "$(printf '3 1 3\n102030 ff8040 ffffff')" "$w/alpha.bmp"
# --depth takes the generic read directly: straight RGBA when not all opaque.
decodes decode-depth32 "$(printf '3 1 4\n102030ff ff804080 ffffff00')" --depth 32 "$w/alpha.bmp"
decodes decode-depth32-opaque "$(printf '2 1 3\n102030 405060')" --depth=32 "$w/opaque32.bmp"
decodes decode-gif "$two_pixels" "$w/two.gif"
decodes decode-tga "$two_pixels" "$w/two.tga"
decodes decode-pcx "$two_pixels" "$w/two.pcx"
decodes decode-png "$two_pixels" "$w/two.png"
decodes decode-tiff "$two_pixels" "$w/two.tif"
decodes decode-psd-rgb "$(printf '2 1 3\nff0000 102030')" "$w/layers.psd"
decodes decode-psd-cmyk "$(printf '2 1 3\nff0000 081018')" "$w/inks.psd"
# A camera's JPEG is turned the right way up; the library's raw read is not.
[ "$("$cli" decode "$w/turned.jpg" "$w/turned.png" && "$pics" dump "$w/turned.png" | head -1)" = "8 16 3" ] \
    || fail "decode-exif: the picture is not turned"
[ "$("$cli" decode --depth 24 "$w/turned.jpg" "$w/raw.png" && "$pics" dump "$w/raw.png" | head -1)" = "16 8 3" ] \
    || fail "decode-exif-raw: the raw read turned the picture"
decodes decode-tla-24 "$(printf '2 2 3\nff0000 00ff00\n0000ff 102030')" --any-extension --depth 24 "$w/tiles.tla"
decodes decode-tla-32 "$(printf '2 2 4\nff0000ff 00ff0080\n0000ff00 102030ff')" \
    --any-extension --depth 32 "$w/tiles.tla"
# The Photo CD road takes the highest resolution the file holds: 3. Luma
# 100 with neutral chroma is grey 143.
"$cli" decode "$w/photo.pcd" "$w/photo.png" || fail "decode-pcd: exit status $?"
[ "$("$pics" dump "$w/photo.png" | head -2 | cut -d' ' -f1)" = "$(printf '768\n8f8f8f')" ] \
    || fail "decode-pcd: size or pixel"

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
refused decode-psd-cut 3 "$w/cut.psd"
refused decode-tla-no-rows 6 --any-extension --depth 24 "$w/short.tla"
refused decode-tla-extension 2 --depth 24 "$w/tiles.tla"
refused decode-pcd-overview 64 "$w/album.pcd"
[ ! -e "$w/never.png" ] || fail "a failed decode left an output file"
expect_error decode-unwritable 1 "^tilora-cli: cannot write $w/no/such/folder.png: " \
    decode "$w/rgb.bmp" "$w/no/such/folder.png"

# Usage.
expect_error decode-one-file 2 "expected an input and an output file" decode "$w/rgb.bmp"
expect_error decode-bad-depth 2 "bad --depth value '16'" decode --depth 16 "$w/rgb.bmp" "$w/never.png"
expect_error decode-unknown-option 2 "unknown option '--colour'" decode --colour "$w/rgb.bmp" "$w/never.png"
"$cli" decode --help | grep -q -- "--depth 24|32" || fail "decode --help lists no --depth"

finish decode
