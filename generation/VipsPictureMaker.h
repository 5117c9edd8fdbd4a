// The pixels of pictures made for the web, on libvips: it reads a picture's header before its
// pixels, shrinks JPEGs while decoding them, turns pictures upright by their EXIF orientation,
// converts them into sRGB and writes WebP, JPEG and PNG without their metadata.
#pragma once

#include "generation/WebPictures.h"

#include <cstdint>

namespace scribvane {

class VipsPictureMaker final : public PictureMaker {
public:
    // A picture claiming more pixels than this is refused from its header: a photo of a
    // 100-megapixel camera still passes, a decompression bomb does not.
    static constexpr std::uint64_t kPixelLimit = 100'000'000;

    // Starts libvips on first use (once per process).
    VipsPictureMaker();

    WebPicture Make(std::string_view bytes, const WebPictureOrder& order) const override;
};

} // namespace scribvane
