#!/usr/bin/env bash
# Writes two photos as a phone's camera takes them, for the web gate's camera variant: 4032 by
# 3024 pixels, a JPEG stored turned (EXIF orientation 6) and a HEIC (a JPEG where this libheif
# cannot write HEIC), both carrying a GPS position and the camera's maker and model. They are
# made here, never stored in the repository.
#
#   tests/web/make-camera-photos.sh FOLDER     prints the two files' paths
set -euo pipefail
out="$1"
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Soft shapes in three colours, fine texture that survives shrinking (as leaves, fabric or
# hair do) and a little sensor noise: compresses about as a photo does.
for band in r:0.6:0.3:37:23 g:0.35:0.8:29:41 b:0.9:0.55:43:31; do
    IFS=: read -r name h v fh fv <<<"$band"
    vips sines "$tmp/$name-shape.v" 4032 3024 --hfreq "$h" --vfreq "$v"
    vips sines "$tmp/$name-fine.v" 4032 3024 --hfreq "$fh" --vfreq "$fv"
    vips linear "$tmp/$name-fine.v" "$tmp/$name-texture.v" 0.3 0
    vips gaussnoise "$tmp/$name-noise.v" 4032 3024 --mean 0 --sigma 0.02
    vips sum "$tmp/$name-shape.v $tmp/$name-texture.v $tmp/$name-noise.v" "$tmp/$name-sum.v"
    vips linear "$tmp/$name-sum.v" "$tmp/$name.v" 75 128 --uchar
done
vips bandjoin "$tmp/r.v $tmp/g.v $tmp/b.v" "$tmp/rgb.v"
vips copy "$tmp/rgb.v" "$tmp/photo.v" --interpretation srgb

vips jpegsave "$tmp/photo.v" "$out/turned-photo.jpg" --Q 92
metadata=(-q -overwrite_original -GPSLatitude=52.52 -GPSLatitudeRef=N -GPSLongitude=13.40
    -GPSLongitudeRef=E -Make=PhoneMaker -Model=PhoneModel)
exiftool "${metadata[@]}" -Orientation#=6 "$out/turned-photo.jpg"

second="$out/iphone-photo.heic"
if ! vips heifsave "$tmp/photo.v" "$second" --compression hevc --Q 60 2>/dev/null; then
    second="$out/iphone-photo.jpg"
    vips jpegsave "$tmp/photo.v" "$second" --Q 92
fi
exiftool "${metadata[@]}" "$second" 2>/dev/null || true
echo "$out/turned-photo.jpg $second"
