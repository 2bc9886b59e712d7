#!/usr/bin/env bash
# tilora-cli info: the format by content, the size when the program can read
# the file, refused formats and files, and the tool's list of commands.
source "$(dirname "$0")/common.bash" "$@"

expect info-bmp "$(printf 'format BMP code 1\nwidth 3 height 2')" info "$w/rgb.bmp"
expect info-content-decides "$(printf 'format BMP code 1\nwidth 3 height 2')" info "$w/rgb-named.png"
expect info-jpeg "$(printf 'format JPEG code 3\nwidth 8 height 8')" info "$w/grey.jpg"
[ "$("$cli" info "$w/wireless.bmp" 2>/dev/null)" = "format WBMP code 13" ] || fail "info-wbmp: format line"
expect_error info-wbmp 1 "$(cannot_read wireless.bmp 'WBMP files are not supported' 17)" info "$w/wireless.bmp"
[ "$("$cli" info "$w/words.jpg" 2>/dev/null)" = "format unknown code 0" ] || fail "info-unknown: format line"
expect_error info-unknown 1 "$(cannot_read words.jpg 'unrecognised picture format' 2)" info "$w/words.jpg"
expect_error info-missing 1 "$(cannot_read missing.bmp '.+' 2)" info "$w/missing.bmp"
[ -z "$("$cli" info "$w/missing.bmp" 2>/dev/null)" ] || fail "info-missing: printed a format"
expect_error info-extension 1 "$(cannot_read rgb.txt 'file name extension not accepted' 2)" info "$w/rgb.txt"

# Usage.
expect_error info-no-file 2 "expected one file" info
for command in info decode resize plan; do
    "$cli" --help | grep -q "^  $command " || fail "--help does not list $command"
done

finish info
