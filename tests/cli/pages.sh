#!/usr/bin/env bash
# tilora-cli pages: the files written for a poster's pages, the sheet's size,
# where the picture's part lies on it and that it is the print filter's
# result, the corner marks' dashes, the plan lines and log records printed on
# the way, and refused usage.
source "$(dirname "$0")/common.bash" "$@"

# rows FILE X Y W H : the pixels of a rectangle of a PNG, one line a row.
rows() { "$pics" dump "$@" | tail -n +2; }
# all_of NAME COLOUR FILE X Y W H : every pixel of the rectangle is COLOUR.
all_of() {
    local name=$1 colour=$2
    shift 2
    local other
    other=$(rows "$@" | tr ' ' '\n' | grep -cv "^$colour\$")
    [ "$other" -eq 0 ] || fail "$name: $other pixel(s) of $* are not $colour"
}
pixel() { rows "$1" "$2" "$3" 1 1; }

# A 60 x 50 mm sheet at 254 dpi (10 pixels a millimetre): 600 x 500 pixels,
# the printable area starts 20, 30 pixels from the paper edge, and 5 mm
# margins leave a 50 x 40 mm tile at print_rect (30, 20, 530, 420). A 4 cm
# wide poster of the 40 x 30 picture is one page: 40 x 30 mm centred on the
# tile, device rectangle (80, 70, 480, 370), so (100, 100, 500, 400) on the
# sheet.
sheet=(--paper 60x50mm --dpi 254 --unprintable 2,3,2,3 --margins 5,5,5,5)
"$cli" pages "$w/gradient.bmp" --width 4cm "${sheet[@]}" --out "$w/one" >"$w/one.txt" || fail "one page: exit status"
[ "$(ls "$w/one")" = "page-0-0.png" ] || fail "one page: files $(ls "$w/one" | tr '\n' ' ')"
[ "$("$pics" dump "$w/one/page-0-0.png" 0 0 0 0)" = "600 500 3" ] || fail "one page: sheet size"
"$cli" resize "$w/gradient.bmp" "$w/part.png" --size 400x300 || fail "resize for the reference"
[ "$(rows "$w/one/page-0-0.png" 100 100 400 300)" = "$(rows "$w/part.png")" ] \
    || fail "one page: the part is not the print filter's 400 x 300 result at (100, 100)"
# White paper all around the part.
all_of "paper above" ffffff "$w/one/page-0-0.png" 0 0 600 100
all_of "paper below" ffffff "$w/one/page-0-0.png" 0 400 600 100
all_of "paper left" ffffff "$w/one/page-0-0.png" 0 100 100 300
all_of "paper right" ffffff "$w/one/page-0-0.png" 500 100 100 300
[ "$(cat "$w/one.txt")" = "$("$cli" plan "$w/gradient.bmp" --width 4cm "${sheet[@]}")" ] \
    || fail "one page: the printed lines are not plan's"

# Corner marks at 508 dpi: arms of 100 pixels, dashes of 50 and gaps of 30,
# grey 200, drawn on the part at (200, 200, 1000, 800) of the sheet.
"$cli" pages "$w/gradient.bmp" --width 4cm "${sheet[@]}" --dpi 508 --marks --out "$w/marks" >/dev/null \
    || fail "marks: exit status"
m=$w/marks/page-0-0.png
arm=$(for i in $(seq 0 99); do if [ $((i % 80)) -lt 50 ]; then echo c8c8c8; else echo picture; fi; done)
dashes() { rows "$m" "$@" | tr ' ' '\n' | awk '{ print ($0 == "c8c8c8") ? $0 : "picture" }'; }
[ "$(dashes 200 200 1 100)" = "$arm" ] || fail "marks: top-left corner, down"
[ "$(dashes 200 200 100 1)" = "$arm" ] || fail "marks: top-left corner, across"
[ "$(dashes 200 700 1 100 | tac)" = "$arm" ] || fail "marks: bottom-left corner, up"
[ "$(dashes 900 799 100 1 | tac)" = "$arm" ] || fail "marks: bottom-right corner, leftwards"
[ "$(dashes 999 200 1 100)" = "$arm" ] || fail "marks: top-right corner, down"
[ "$(pixel "$m" 200 300)" != c8c8c8 ] || fail "marks: an arm is longer than 5 mm"
[ "$(pixel "$m" 600 200)" != c8c8c8 ] || fail "marks: a line beyond the corners"
"$cli" pages "$w/gradient.bmp" --width 4cm "${sheet[@]}" --dpi 508 --out "$w/plain" >/dev/null
[ "$(pixel "$w/plain/page-0-0.png" 200 200)" != c8c8c8 ] || fail "marks drawn without --marks"
[ "$(rows "$w/plain/page-0-0.png" 300 300 10 10)" = "$(rows "$m" 300 300 10 10)" ] \
    || fail "marks: the inside of the part changed"

# A 3 x 2 grid with the page in column 1, row 0 left out: five sheets, and
# the lines and log records of the five in printing order.
"$cli" pages "$w/gradient.bmp" --width 12cm --height 8cm "${sheet[@]}" --skip 1,0 --log \
    --out "$w/grid" >"$w/grid.txt" 2>"$w/grid.log" || fail "grid: exit status"
[ "$(ls "$w/grid" | tr '\n' ' ')" = "page-0-0.png page-0-1.png page-1-1.png page-2-0.png page-2-1.png " ] \
    || fail "grid: files $(ls "$w/grid" | tr '\n' ' ')"
for f in "$w"/grid/*.png; do
    [ "$("$pics" dump "$f" 0 0 0 0)" = "600 500 3" ] || fail "grid: size of $f"
done
[ "$(cat "$w/grid.txt")" = "$("$cli" plan "$w/gradient.bmp" --width 12cm --height 8cm "${sheet[@]}" |
    grep -v '^page 1 0 ')" ] || fail "grid: the printed lines are not plan's less the skipped page"
[ "$(head -1 "$w/grid.log")" = "print begin" ] && [ "$(tail -1 "$w/grid.log")" = "print end" ] \
    || fail "grid: the log does not run from print begin to print end"
grep -q '^all_papers: 5$' "$w/grid.log" || fail "grid: all_papers"
[ "$(grep -c '^Page 2 -' "$w/grid.log")" -eq 2 ] || fail "grid: the skipped page's header"
[ "$(grep -c '^page_success: 1$' "$w/grid.log")" -eq 5 ] || fail "grid: page_success lines"

# A crop is the picture the layout sees.
"$cli" pages "$w/gradient.bmp" --crop 20,0,40,30 --height 3cm "${sheet[@]}" --out "$w/crop" >"$w/crop.txt" \
    || fail "crop: exit status"
grep -q '^page 0 0 image 0 0 20 30 ' "$w/crop.txt" || fail "crop: $(grep '^page' "$w/crop.txt")"

# A 3 x 2 picture on 6 x 3 pages: some pages carry less than one picture
# pixel and still get the pixel they lie on.
"$cli" pages "$w/rgb.bmp" --width 100cm --dpi 20 --out "$w/tiny" >/dev/null || fail "tiny picture: exit status"
[ "$(ls "$w/tiny" | wc -l)" -eq 18 ] || fail "tiny picture: $(ls "$w/tiny" | wc -l) pages"

# The craft: the assembly sheet first, then the pages, whose labels and
# trim marks lie in the paper around the part and leave the part as it is.
craft=(--width 12cm --paper 80x70mm --dpi 254 --margins 10,10,10,10 --overlap 5)
"$cli" pages "$w/gradient.bmp" "${craft[@]}" --out "$w/bare" >/dev/null || fail "craft: bare pages"
"$cli" pages "$w/gradient.bmp" "${craft[@]}" --labels --trim-marks --assembly-sheet --log --out "$w/craft" \
    >"$w/craft.txt" 2>"$w/craft.log" || fail "craft: exit status"
[ "$(ls "$w/craft" | head -1)" = assembly.png ] || fail "craft: no assembly sheet"
[ "$(grep -m1 -E '^(Assembly sheet|Page 0) ' "$w/craft.log" | cut -c1-8)" = "Assembly" ] \
    || fail "craft: the assembly sheet is not the first page"
part=$(awk '$1 == "page" && $2 == 1 && $3 == 0 { print $10 - 0, $11 - 0, $12 - $10, $13 - $11 }' "$w/craft.txt")
[ "$(rows "$w/craft/page-1-0.png" $part)" = "$(rows "$w/bare/page-1-0.png" $part)" ] \
    || fail "craft: labels or marks over the picture"
[ "$(rows "$w/craft/page-1-0.png" 0 0 800 100)" != "$(rows "$w/bare/page-1-0.png" 0 0 800 100)" ] \
    || fail "craft: no label above the picture"

expect_error no-out 2 "--out or --pdf is required" pages "$w/gradient.bmp" --width 4cm
expect_error no-size 2 "--width or --height is required" pages "$w/gradient.bmp" --out "$w/x"
expect_error skip-off-grid 2 "--skip 3,0 lies outside the 3 x 2 page grid" pages \
    "$w/gradient.bmp" --width 12cm --height 8cm "${sheet[@]}" --skip 3,0 --out "$w/x"
expect_error bad-skip 2 "bad --skip value" pages "$w/gradient.bmp" --width 4cm --skip 1 --out "$w/x"
expect_error crop-outside 2 "--crop must lie inside the 40 x 30 picture" pages \
    "$w/gradient.bmp" --width 4cm --crop 0,0,41,30 --out "$w/x"
expect_error bad-crop 2 "bad --crop value" pages "$w/gradient.bmp" --width 4cm --crop 5,0,5,30 --out "$w/x"
expect_error unreadable 1 "^tilora-cli: cannot read $w/words.jpg: " pages "$w/words.jpg" --width 4cm --out "$w/x"
expect_error out-is-a-file 1 "^tilora-cli: cannot write $w/rgb.bmp: " pages "$w/gradient.bmp" --width 4cm --out "$w/rgb.bmp"
expect_error refused 1 "layout refused" pages "$w/gradient.bmp" --width 4cm --margins 50,5,50,5 --paper 60x50mm --out "$w/x"
[ ! -e "$w/x" ] || fail "a refused run created its output folder"
"$cli" pages --help | grep -q -- "--skip C,R" || fail "pages --help lists no --skip"
"$cli" --help | grep -q "^  pages " || fail "--help does not list pages"

finish page
