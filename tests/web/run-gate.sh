#!/usr/bin/env bash
# The web gate: every template in Templates/ that asks for the html5 dialect, merged with the
# sample configuration and its variants, must give letters that the Nu HTML Checker finds no
# error in and that Lighthouse scores 100 for accessibility, best practices and SEO and at
# least 95 for performance, on mobile and on desktop.
#
#   tests/web/run-gate.sh [BUILD_DIR]          (default build; needs scripts/setup.sh first)
#
# To keep the gate within minutes with many templates, the sample letter is audited on mobile
# and desktop and the variants on mobile only (the desktop run of a variant exercises nothing
# the mobile run and the desktop sample do not). Set SCRIBVANE_GATE_FULL=1 to audit every
# letter both ways. Results land in BUILD_DIR/web-gate/.
#
# To measure other templates the same way (for example the marker-free ones, as a baseline):
#   SCRIBVANE_GATE_TEMPLATES=DIR SCRIBVANE_GATE_ANY_TEMPLATE=1 tests/web/run-gate.sh
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
project="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$project/build}" && pwd)"
generate="$build/bin/scribvane-generate"
work="$build/web-gate"
vnu="$here/node_modules/vnu-jar/build/dist/vnu.jar"
templateDir="$(cd "${SCRIBVANE_GATE_TEMPLATES:-$project/Templates}" && pwd)"

[ -x "$generate" ] || { echo "web gate: $generate is missing; build first" >&2; exit 1; }
[ -f "$vnu" ] && [ -d "$here/node_modules/lighthouse" ] ||
    { echo "web gate: run scripts/setup.sh first (npm packages in tests/web)" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work/configs" "$work/letters"
read -r -a variants < <(node "$here/make-variants.mjs" "$project/Templates/sample-config.dat" \
    "$work/configs" "$project/Templates/Classic.jpg")
# The pictures a marketer really has: two phone photos, one stored turned, one a HEIC.
read -r photo1 photo2 < <("$here/make-camera-photos.sh" "$work/camera")
{
    sed -e "s|<%%HeaderPicture%%>[^<]*<%%/HeaderPicture%%>|<%%HeaderPicture%%>$photo1<%%/HeaderPicture%%>|" \
        -e "s|<%%CoverPicture%%>[^<]*<%%/CoverPicture%%>|<%%CoverPicture%%>$photo2<%%/CoverPicture%%>|" \
        "$project/Templates/sample-config.dat"
} >"$work/configs/camera.dat"
variants+=(camera)
# Pictures made for the web are kept in a cache of the gate's own.
export XDG_CACHE_HOME="$work/cache"

templates=()
for file in "$templateDir"/*.tem; do
    if [ "${SCRIBVANE_GATE_ANY_TEMPLATE:-0}" = 1 ] ||
        grep -q '<meta name="generator" content="Scribvane html5"' "$file"; then
        templates+=("$(basename "$file" .tem)")
    fi
done
[ ${#templates[@]} -gt 0 ] || { echo "web gate: no html5 template in $templateDir" >&2; exit 1; }
echo "== Web gate: ${templates[*]} x ${variants[*]}"

pages=()
for name in "${templates[@]}"; do
    for variant in "${variants[@]}"; do
        mkdir -p "$work/letters/$name/$variant"
        "$generate" --config "$work/configs/$variant.dat" --templates "$templateDir" \
            --template "$name" --output "$work/letters/$name/$variant/index.html" >/dev/null
        if [ "$variant" = sample ] || [ "${SCRIBVANE_GATE_FULL:-0}" = 1 ]; then
            pages+=("$name/$variant/index.html:both")
        else
            pages+=("$name/$variant/index.html:mobile")
        fi
    done
done

echo "== No camera data in any letter's files"
if exiftool -q -q -if '$GPSLatitude or $Make or $Model' -p '$FileName' -r "$work/letters" \
    2>/dev/null | grep -q .; then
    echo "FAIL: a letter's file keeps the camera's position or maker:"
    exiftool -q -q -if '$GPSLatitude or $Make or $Model' -p '$Directory/$FileName' -r \
        "$work/letters" 2>/dev/null | sed "s|$work/letters/||"
    status_camera=1
else
    echo "ok   no GPS position, maker or model in $(find "$work/letters" -type f | wc -l) files"
    status_camera=0
fi

echo "== Nu HTML Checker (errors only)"
status=$status_camera
if ! java -jar "$vnu" --errors-only --format gnu --stdout --skip-non-html "$work/letters" \
    >"$work/vnu.txt" 2>&1; then
    status=1
fi
for name in "${templates[@]}"; do
    for variant in "${variants[@]}"; do
        # The letter and the pages beside it (privacy.html, terms.html).
        count=$(grep -c "/letters/$name/$variant/" "$work/vnu.txt" || true)
        echo "$([ "$count" = 0 ] && echo 'ok  ' || echo 'FAIL') $name/$variant: $count errors"
    done
done
if [ $status -ne 0 ]; then
    sed -n "1,40{s|$work/letters/||;p}" "$work/vnu.txt"
fi

echo "== The honest deadline (the page's clock moved) and the sign-up form posted without script"
for name in "${templates[@]}"; do
    letter="$work/letters/$name/rules/index.html"
    grep -q 'class="offer-deadline"' "$letter" || continue # a template without the block
    echo "-- $name/rules"
    if ! node "$here/deadline-check.mjs" "$letter"; then
        status=1
    fi
    if ! node "$here/signup-check.mjs" "$letter"; then
        status=1
    fi
done

echo "== The consent notice and the headline test, from a first visit to a change of mind"
for name in "${templates[@]}"; do
    letter="$work/letters/$name/learning/index.html"
    grep -q 'id="consent"' "$letter" || continue # a template without the notice
    echo "-- $name/learning"
    if ! node "$here/consent-check.mjs" "$letter" "$work/consent-$name-390.png"; then
        status=1
    fi
done

echo "== Lighthouse 12 on Chromium (a11y, best practices, SEO 100; performance >= 95)"
if ! node "$here/lighthouse-run.mjs" "$work/letters" "$work/lighthouse.json" "${pages[@]}"; then
    status=1
fi
exit $status
