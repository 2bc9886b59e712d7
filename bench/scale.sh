#!/usr/bin/env bash
# The scale figures of tilora-cli on large photos, from a Release build:
#   bash bench/scale.sh [NATIVE_BUILD_DIR]   (default build/release/native)
# - time of `pages` for the 18-sheet poster (a 6000 x 4000 JPEG, 100 cm wide
#   on A4, 6 x 3 sheets) at 300 and 600 dpi, as PNG files and as one PDF;
# - peak resident memory of the picture loader alone (`info` loads the
#   picture exactly as the program does) and of `pages` at 300 dpi, for an
#   18000 x 12000 JPEG (648 MB at 24 bits).
# The photos are written by tilora-bench-picture with the tests' JPEG writer.
set -euo pipefail
build=${1:-build/release/native}
cli=$build/tools/cli/tilora-cli
picture=$build/bench/tilora-bench-picture
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$picture" 6000 4000 "$work/photo.jpg"
poster=(pages "$work/photo.jpg" --width 100cm --paper A4)
for dpi in 300 600; do
    hyperfine --runs 3 --style basic --command-name "pages ${dpi} dpi, 18 PNG files" \
        "$cli ${poster[*]} --dpi $dpi --out $work/png$dpi"
    hyperfine --runs 1 --style basic --command-name "pages ${dpi} dpi, one PDF" \
        "$cli ${poster[*]} --dpi $dpi --pdf $work/poster$dpi.pdf"
done

"$picture" 18000 12000 "$work/large.jpg"
rss() { /usr/bin/time -f "%M" "$@" 2>&1 >/dev/null | tail -1; }
echo "18000 x 12000 JPEG, peak resident memory (kB):"
echo "  loader (info):         $(rss "$cli" info "$work/large.jpg")"
echo "  pages 300 dpi, PNG:    $(rss "$cli" pages "$work/large.jpg" --width 100cm --paper A4 --dpi 300 --out "$work/large")"
