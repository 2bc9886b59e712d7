#!/usr/bin/env bash
# Renders the README's pictures of the poster craft with tilora-cli pages:
# the assembly sheet and one labelled sheet of the start-up picture as a
# 3 x 2 poster on A4 with a 10 mm glue band, one sheet left out, scaled down
# into docs/.
#   scripts/make-craft-pictures.sh [TILORA_CLI]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/release/native/tools/cli/tilora-cli}
[ -x "$cli" ] || { echo "make-craft-pictures: no tilora-cli at $cli (give its path)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cli" pages "$root/resources/startup.jpg" --sheets-wide 3 --paper A4 --dpi 150 --overlap 10 \
    --labels --trim-marks --assembly-sheet --skip 2,1 --out "$work" >"$work/plan.txt"
convert "$work/assembly.png" -resize 420x -strip -colors 128 "$root/docs/assembly-sheet.png"
# Sheet B2 whole, and under it the paper above its picture at full size:
# the name, "glue under B1" and the trim marks.
read -r left top right < <(awk '$1 == "page" && $2 == 1 && $3 == 1 { print $10, $11, $12 }' "$work/plan.txt")
convert "$work/page-1-1.png" -resize 360x "$work/whole.png"
convert "$work/page-1-1.png" -crop "360x$((top + 40))+$(((left + right) / 2 - 180))+0" +repage "$work/top.png"
convert "$work/whole.png" -size 1x12 xc:white "$work/top.png" -background white -append -strip \
    -colors 48 "$root/docs/labelled-sheet.png"
echo "make-craft-pictures: wrote docs/assembly-sheet.png and docs/labelled-sheet.png"
