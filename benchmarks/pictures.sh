#!/usr/bin/env bash
# Picture benchmarks with hyperfine (whole processes, never a timed test):
#   1. one 12-megapixel phone photo made for the web (four WebP widths and a JPEG fallback)
#      by scribvane-generate-pictures, cache cold, against vipsthumbnail making the same files;
#   2. a letter with three such photos made again with the cache warm, against the same letter
#      with no pictures;
#   3. peak memory of making the three-photo letter with the cache cold.
#
#   benchmarks/pictures.sh [BUILD_DIR]        (needs hyperfine and /usr/bin/time)
set -euo pipefail
project="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(cd "${1:-$project/build}" && pwd)/bin"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

read -r photo heic < <("$project/tests/web/make-camera-photos.sh" "$work/photos")
sample="$project/Templates/sample-config.dat"
config() { # FILE HEADER COVER FOOTER
    sed -e "s|<%%HeaderPicture%%>[^<]*<%%/HeaderPicture%%>|<%%HeaderPicture%%>$2<%%/HeaderPicture%%>|" \
        -e "s|<%%CoverPicture%%>[^<]*<%%/CoverPicture%%>|<%%CoverPicture%%>$3<%%/CoverPicture%%>|" \
        -e "s|<%%FooterPicture%%>[^<]*<%%/FooterPicture%%>|<%%FooterPicture%%>$4<%%/FooterPicture%%>|" \
        "$sample" >"$1"
}
config "$work/one.dat" "$photo" "" ""
config "$work/three.dat" "$photo" "$heic" "$photo"
config "$work/none.dat" "" "" ""
mkdir -p "$work/out" "$work/thumbs"
letter=(--templates "$project/Templates" --template Classic --output "$work/out/index.html")

echo "== One phone photo: Scribvane against vipsthumbnail making the same files"
# Classic's header slot is 800 CSS pixels: WebP at 480, 960, 1440 and 1600, a JPEG at 960.
thumbs=""
for width in 480 960 1440 1600; do
    thumbs+="vipsthumbnail $photo --size ${width}x -o $work/thumbs/h$width.webp[Q=75,effort=4,strip]; "
done
thumbs+="vipsthumbnail $photo --size 960x -o $work/thumbs/h960.jpg[Q=80,optimize_coding,interlace,strip]"
hyperfine --warmup 2 --runs 10 --prepare "rm -rf $work/cache" \
    "XDG_CACHE_HOME=$work/cache $bin/scribvane-generate-pictures --config $work/one.dat ${letter[*]}" \
    "sh -c '$thumbs'"

echo "== Three photos, cache warm, against no pictures"
XDG_CACHE_HOME="$work/cache" "$bin/scribvane-generate" --config "$work/three.dat" "${letter[@]}" >/dev/null
hyperfine -N --warmup 5 --runs 30 \
    "env XDG_CACHE_HOME=$work/cache $bin/scribvane-generate --config $work/three.dat ${letter[*]}" \
    "env XDG_CACHE_HOME=$work/cache $bin/scribvane-generate --config $work/none.dat ${letter[*]}"

echo "== Peak memory, three photos, cache cold"
rm -rf "$work/cache"
XDG_CACHE_HOME="$work/cache" /usr/bin/time -f "maximum resident set size: %M KB, %e s" \
    "$bin/scribvane-generate" --config "$work/three.dat" "${letter[@]}" >/dev/null
