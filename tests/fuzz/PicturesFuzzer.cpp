// The picture maker over any bytes under a picture's name: a made picture whose every file
// decodes at the width it claims, or a refusal with a reason; never a crash, a hang or an
// unbounded allocation. The picture library's own limits are set as for untrusted files.
#include "generation/VipsPictureMaker.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vips/vips.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const scribvane::VipsPictureMaker maker;
    static const bool limited = [] {
        // One thread keeps a finding reproducible; the readers flagged untrusted (those that
        // go through general-purpose libraries) are not what a letter's pictures use.
        vips_concurrency_set(1);
        vips_block_untrusted_set(TRUE);
        return true;
    }();
    (void)limited;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const auto picture = maker.Make(bytes, {scribvane::PictureRole::Cover, 240, true});
        for (const auto& file : picture.webp) {
            VipsImage* image =
                vips_image_new_from_buffer(file.bytes.data(), file.bytes.size(), "", nullptr);
            if (image == nullptr || static_cast<unsigned>(image->Xsize) != file.width) {
                std::abort();
            }
            g_object_unref(image);
        }
        if (!picture.keptAsIs && (picture.webp.empty() || !picture.fallback)) {
            std::abort();
        }
    } catch (const scribvane::PictureError& refused) {
        if (std::string_view(refused.what()).empty()) {
            std::abort();
        }
    }
    vips_error_clear();
    return 0;
}
