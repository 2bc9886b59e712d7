#!/usr/bin/env bash
# tilora-cli pages --pdf: one PDF page of the paper's exact size per selected
# sheet, which renders as the PNG sheet does (exactly when lossless, closely
# as JPEG), written in the same run as the PNG files; refused usage.
source "$(dirname "$0")/common.bash" "$@"

# The sheet of pages.sh: 600 x 500 pixels at 254 dpi. An 8 cm poster is a
# 2 x 2 grid; one page skipped leaves three.
sheet=(--paper 60x50mm --dpi 254 --unprintable 2,3,2,3 --margins 5,5,5,5)
"$cli" pages "$w/gradient.bmp" --width 8cm "${sheet[@]}" --skip 1,1 --marks --out "$w/png" --pdf "$w/s.pdf" \
    >/dev/null || fail "pdf: exit status"
[ "$(pdfinfo "$w/s.pdf" | awk '/^Pages:/ {print $2}')" = 3 ] || fail "pdf: not three pages"
# 600 x 500 pixels at 254 dpi are 170.079 x 141.732 points, on every page.
sizes=$(pdfinfo -f 1 -l 3 "$w/s.pdf" | awk '/^Page +[0-9]+ size:/ {print $4, $6}' | sort -u)
[ "$sizes" = "170.079 141.732" ] || fail "pdf: page sizes '$sizes'"
# Printing order: down the first column, then the second.
pdftocairo -png -r 254 "$w/s.pdf" "$w/page"
page=1
for sheet_png in page-0-0 page-0-1 page-1-0; do
    [ "$("$pics" dump "$w/page-$page.png")" = "$("$pics" dump "$w/png/$sheet_png.png")" ] \
        || fail "pdf: page $page does not render as $sheet_png.png"
    page=$((page + 1))
done

# JPEG pictures: smaller, and within a small error of the sheet.
"$cli" pages "$w/gradient.bmp" --width 8cm "${sheet[@]}" --marks --pdf "$w/j.pdf" --jpeg-quality 90 >/dev/null \
    || fail "jpeg pdf: exit status"
pdfimages -list "$w/j.pdf" | awk 'NR > 2 {print $9}' | grep -qvx jpeg && fail "jpeg pdf: a picture is not JPEG"
pdfimages -list "$w/s.pdf" | awk 'NR > 2 {print $9}' | grep -qx jpeg && fail "lossless pdf: a picture is JPEG"
pdftocairo -png -r 254 -f 1 -l 1 "$w/j.pdf" "$w/jpeg"
error=$(compare -metric RMSE "$w/jpeg-1.png" "$w/png/page-0-0.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
awk -v e="$error" 'BEGIN { exit !(e < 0.02) }' || fail "jpeg pdf: error $error against the sheet"

expect_error quality-alone 2 "--jpeg-quality goes with --pdf" pages "$w/gradient.bmp" --width 4cm \
    --out "$w/x" --jpeg-quality 80
expect_error quality-range 2 "bad --jpeg-quality value" pages "$w/gradient.bmp" --width 4cm \
    --pdf "$w/x.pdf" --jpeg-quality 101
expect_error unwritable 1 "^tilora-cli: cannot write $w/none/x.pdf: " pages "$w/gradient.bmp" --width 4cm \
    --pdf "$w/none/x.pdf"
finish pdf
