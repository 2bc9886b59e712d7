#!/usr/bin/env bash
# tilora-cli plan: whole outputs for known layouts, page order, the simulated
# printer, a picture file for the picture's size, and the exit statuses of
# bad usage and refused layouts.
source "$(dirname "$0")/common.bash" "$@"

# expect_output NAME ARGS... : runs plan and compares stdout with stdin.
expect_output() {
    local name=$1
    shift
    local expected actual status
    expected=$(cat)
    actual=$("$cli" plan "$@")
    status=$?
    [ "$status" -eq 0 ] || fail "$name: exit status $status"
    if [ "$actual" != "$expected" ]; then
        fail "$name: output differs"
        diff <(echo "$expected") <(echo "$actual") >&2
    fi
}

# expect_status NAME STATUS ARGS... : exit status and a one-line message.
expect_status() {
    local name=$1 want=$2
    shift 2
    expect_error "$name" "$want" . plan "$@"
}

expect_output worked-example --image 4000x3000 --width 40cm --height 30cm \
    --tile 18500x27200 --device-tile 4370x6425 --preview 600x440 <<'OUT'
tile 18500 27200
print_rect 0 0 4370 6425
page_margin 500 500 2000 2000
paper 21000 29700
poster 40000 30000
npages 3 2
resolution 254.0 254.0
page 0 0 image 0 0 1075 1500 device 1830 2881 4370 6425
page 0 1 image 0 1500 1075 3000 device 1830 0 4370 3543
page 1 0 image 1075 0 2925 1500 device 0 2881 4370 6425
page 1 1 image 1075 1500 2925 3000 device 0 0 4370 3543
page 2 0 image 2925 0 4000 1500 device 0 2881 2539 6425
page 2 1 image 2925 1500 4000 3000 device 0 0 2539 3543
preview cell 136 200 origin 96 10 picture 153 99 447 320
OUT

# Landscape jobs print across each row.
order=$("$cli" plan --image 4000x3000 --width 40cm --height 30cm --tile 18500x27200 \
    --device-tile 4370x6425 --landscape | awk '$1 == "page" { printf "%s,%s ", $2, $3 }')
[ "$order" = "0,0 1,0 2,0 0,1 1,1 2,1 " ] || fail "landscape order: $order"

# A4 at 600 dpi with strips of 5, 3, 5 and 8 mm, worked by hand:
# sheet 4960 x 7015 px, offsets 118 and 70, printable 4724 x 6757 px, which is
# 19998 x 28604 smm; strips 499, 296, 499, 795 smm leave margin beyond them of
# 1, 204, 1501, 1205 smm; print_rect = (1*600/2540, 204*600/2540,
# 4724 - 1501*600/2540, 6757 - 1205*600/2540). The poster, 64000 x 85333 on
# 4 x 4 tiles, lies at x0 = 4992, y0 = 11723 and ends in the picture of page
# (0, 0) at (13504*3000/64000, 15472*4000/85333). Seamless sheets place its
# 15118 x 20157 device pixels (64000 and 85333 smm at 600 dpi) centred on the
# 4 x 4 tiles of 4370 x 6425: page (0, 0) starts on the sheet at
# ((17480 - 15118)/2, (25700 - 20157)/2 + 48).
expect_output simulated-a4 --image 3000x4000 --width 64cm --unprintable 5,3,5,8 <<'OUT'
tile 18496 27195
print_rect 0 48 4370 6473
page_margin 500 500 2000 2000
paper 20996 29695
poster 64000 85333
npages 4 4
resolution 119.1 119.1
resolution_warning low largest 50800 67733
page 0 0 image 0 0 633 725 device 1181 2819 4370 6473
page 0 1 image 0 725 633 2000 device 1181 48 4370 6473
page 0 2 image 0 2000 633 3274 device 1181 48 4370 6473
page 0 3 image 0 3274 633 4000 device 1181 48 4370 3701
page 1 0 image 633 0 1500 725 device 0 2819 4370 6473
page 1 1 image 633 725 1500 2000 device 0 48 4370 6473
page 1 2 image 633 2000 1500 3274 device 0 48 4370 6473
page 1 3 image 633 3274 1500 4000 device 0 48 4370 3701
page 2 0 image 1500 0 2367 725 device 0 2819 4370 6473
page 2 1 image 1500 725 2367 2000 device 0 48 4370 6473
page 2 2 image 1500 2000 2367 3274 device 0 48 4370 6473
page 2 3 image 1500 3274 2367 4000 device 0 48 4370 3701
page 3 0 image 2367 0 3000 725 device 0 2819 3189 6473
page 3 1 image 2367 725 3000 2000 device 0 48 3189 6473
page 3 2 image 2367 2000 3000 3274 device 0 48 3189 6473
page 3 3 image 2367 3274 3000 4000 device 0 48 3189 3701
OUT
# Each part resampled on its own keeps the tile's own scale instead.
"$cli" plan --image 3000x4000 --width 64cm --unprintable 5,3,5,8 --no-seamless | grep -q \
    '^page 0 0 image 0 0 633 725 device 1179 2817 4370 6473$' || fail "--no-seamless: the plain pieces"

# A glue band of 10 mm: 4 tiles of 185 mm cover 4 * 185 - 3 * 10 = 710 mm,
# so a 72 cm poster needs a fifth column; the 885 mm row holds it from
# 82.5 mm on, sheet 1 carries 175 to 360 mm of the row, 10 mm of it again
# the end of sheet 0's part.
band_plan=$("$cli" plan --image 7200x1000 --width 72cm --tile 18500x27200 --device-tile 4370x6425 --overlap 10)
grep -q '^npages 5 1$' <<<"$band_plan" && grep -q '^overlap 1000$' <<<"$band_plan" || fail "band: $band_plan"
grep -q '^page 0 0 image 0 0 1025 1000 device 1949 ' <<<"$band_plan" &&
    grep -q '^page 1 0 image 925 0 2775 1000 device 0 ' <<<"$band_plan" || fail "band: $band_plan"
# By sheets: three sheets across at the band give the widest poster that fits.
grep -q '^poster 53500 7431$' <<<"$("$cli" plan --image 7200x1000 --sheets-wide 3 --overlap 10 \
    --tile 18500x27200 --device-tile 4370x6425)" || fail "three sheets wide"
grep -q '^npages 2 1$' <<<"$("$cli" plan --image 1000x1000 --sheets-wide 3 --sheets-high 1 \
    --tile 18500x27200 --device-tile 4370x6425)" || fail "three wide but one high: the height decides"
expect_status size-and-sheets 2 --image 4000x3000 --width 40cm --sheets-wide 2
expect_status band-beyond-30mm 2 --image 4000x3000 --width 40cm --overlap 31

# A landscape Letter sheet with no strips: the paper's sides swap.
head=$("$cli" plan --image 100x100 --width 10in --paper letter --landscape --dpi 300 --margins 0,0,0,0 | head -4)
[ "$head" = "$(printf 'tile 27940 21590\nprint_rect 0 0 3300 2550\npage_margin 0 0 0 0\npaper 27940 21590')" ] \
    || fail "landscape letter: $head"

# One side given: the other follows the crop, rounded half away from zero.
poster_of() { "$cli" plan "$@" --tile 10000x10000 --device-tile 100x100 | awk '$1 == "poster" { print $2, $3 }'; }
[ "$(poster_of --image 3000x2000 --width 90cm)" = "90000 60000" ] || fail "90cm wide"
[ "$(poster_of --image 3x2 --width 10mm)" = "1000 667" ] || fail "10mm wide"
[ "$(poster_of --image 1x2 --height 10.01mm)" = "501 1001" ] || fail "10.01mm high"
[ "$(poster_of --image 500x500 --height 23in)" = "58420 58420" ] || fail "23in high"
[ "$(poster_of --image 500x500 --width=35in --height=1.5cm)" = "88900 1500" ] || fail "both given"

expect_status no-command-options 2
expect_status no-image 2 --width 40cm
expect_status no-size 2 --image 4000x3000
expect_status bad-image 2 --image 4000x0 --width 40cm
expect_status bad-length 2 --image 4000x3000 --width 40
expect_status bad-dpi 2 --image 4000x3000 --width 40cm --dpi 0
expect_status bad-margins 2 --image 4000x3000 --width 40cm --margins 5,5,20
expect_status bad-paper 2 --image 4000x3000 --width 40cm --paper B7
expect_status missing-value 2 --image 4000x3000 --width
expect_status unknown-option 2 --image 4000x3000 --width 40cm --colour
expect_status tile-alone 2 --image 4000x3000 --width 40cm --tile 18500x27200
expect_status margins-eat-the-sheet 1 --image 4000x3000 --width 40cm --margins 150,5,60,20
expect_status grid-too-large 1 --image 4000x3000 --width 9999cm --height 9999cm \
    --tile 100x100 --device-tile 10x10
expect_status poster-beyond-100m 1 --image 1000x1000 --width 100000cm
expect_status other-side-beyond-100m 1 --image 1x1000 --width 100cm

# A crop band over the 600 x 440 preview's picture (65, 53)-(535, 367) of a
# 3000 x 2000 picture: mapped as the program maps it, the 64 cm width kept.
band=(--image 3000x2000 --width 64cm --tile 18500x27200 --device-tile 4370x6425 --preview 600x440)
head=$("$cli" plan "${band[@]}" --crop-band 165,103,365,303 | grep -E '^(crop|poster|npages) ')
[ "$head" = $'crop 638 318 1914 1592\nposter 64000 63900\nnpages 4 3' ] || fail "crop band: $head"
expect_status crop-band-without-area 1 "${band[@]}" --crop-band 165,103,165,303
expect_status crop-band-without-preview 2 --image 3000x2000 --width 64cm --crop-band 1,1,2,2

"$cli" plan --help | grep -q -- "--device-tile" || fail "plan --help lists no printer options"
"$cli" --help | grep -q "plan" || fail "--help lists no plan command"

# A picture file stands for --image.
plan_args=(--width 30cm --tile 10000x10000 --device-tile 100x100)
[ "$("$cli" plan "$w/rgb.bmp" "${plan_args[@]}")" = "$("$cli" plan --image 3x2 "${plan_args[@]}")" ] \
    || fail "plan with a file differs from --image 3x2"
expect_error plan-unreadable 1 "$(cannot_read words.jpg 'unrecognised picture format' 2)" \
    plan "$w/words.jpg" "${plan_args[@]}"
expect_error plan-both 2 "not both" plan "$w/rgb.bmp" --image 3x2 "${plan_args[@]}"
expect_error plan-two-files 2 "unknown option" plan "$w/rgb.bmp" "$w/rgb.bmp" "${plan_args[@]}"

finish plan
