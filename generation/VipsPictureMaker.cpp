// Making pictures for the web on libvips; see VipsPictureMaker.h.
#include "generation/VipsPictureMaker.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vips/vips.h>

namespace scribvane {
namespace {

// Quality settings of the recipe; changing one changes the bytes, so WebPictures' recipe
// number must change with it.
constexpr int kWebpQuality = 75;
constexpr int kJpegQuality = 80;
constexpr int kWebpEffort = 4;
constexpr unsigned kShareWidth = 1200;

struct Unref {
    void operator()(VipsImage* image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, Unref>;

// The first line of what libvips last said, cleared for the next picture.
std::string VipsMessage() {
    std::string message = vips_error_buffer();
    vips_error_clear();
    if (const auto end = message.find('\n'); end != std::string::npos) {
        message.resize(end);
    }
    // Messages read "loader: what happened"; the user needs what happened.
    if (const auto colon = message.find(": "); colon != std::string::npos) {
        message.erase(0, colon + 2);
    }
    return message;
}

[[noreturn]] void Refuse(const std::string& reason) {
    vips_error_clear();
    throw PictureError(reason);
}

void Check(int status, const char* what) {
    if (status != 0) {
        Refuse(std::string(what) + ": " + VipsMessage() + ".");
    }
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    }
    return value;
}

void PutLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
    }
}

// A WebP without its EXIF, XMP and colour profile chunks. The WebP writer of some libvips
// releases adds a fresh EXIF block even when told to strip, so the chunks are taken out here.
std::string WithoutMetadataChunks(const std::string& webp) {
    if (webp.size() < 12 || webp.compare(0, 4, "RIFF") != 0 || webp.compare(8, 4, "WEBP") != 0) {
        return webp;
    }
    std::string out = webp.substr(0, 12);
    std::size_t at = 12;
    while (at + 8 <= webp.size()) {
        const std::string_view type(webp.data() + at, 4);
        const std::size_t size = LittleEndian(webp, at + 4);
        const std::size_t padded = size + (size & 1);
        if (at + 8 + padded > webp.size()) {
            return webp; // not a file this function understands: left as written
        }
        if (type != "EXIF" && type != "XMP " && type != "ICCP") {
            const std::size_t start = out.size();
            out.append(webp, at, 8 + padded);
            if (type == "VP8X" && size >= 1) {
                out[start + 8] = static_cast<char>(out[start + 8] & ~0x2c); // ICC, EXIF, XMP
            }
        }
        at += 8 + padded;
    }
    PutLittleEndian(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}

std::string Saved(VipsImage* image, std::string_view format) {
    void* buffer = nullptr;
    std::size_t length = 0;
    int status = 0;
    if (format == "webp") {
        status = vips_webpsave_buffer(image, &buffer, &length, "Q", kWebpQuality, "effort",
                                      kWebpEffort, "strip", TRUE, nullptr);
    } else if (format == "jpg") {
        status = vips_jpegsave_buffer(image, &buffer, &length, "Q", kJpegQuality, "optimize_coding",
                                      TRUE, "interlace", TRUE, "strip", TRUE, nullptr);
    } else {
        status =
            vips_pngsave_buffer(image, &buffer, &length, "compression", 9, "strip", TRUE, nullptr);
    }
    Check(status, "The picture could not be written");
    std::string bytes(static_cast<const char*>(buffer), length);
    g_free(buffer);
    return format == "webp" ? WithoutMetadataChunks(bytes) : bytes;
}

// `image` at `width`, upright and in 8-bit sRGB, ready for any saver.
Image Scaled(VipsImage* image, unsigned width) {
    VipsImage* out = nullptr;
    if (static_cast<unsigned>(image->Xsize) == width) {
        g_object_ref(image);
        out = image;
    } else {
        Check(vips_thumbnail_image(image, &out, static_cast<int>(width), "height", VIPS_MAX_COORD,
                                   "size", VIPS_SIZE_DOWN, nullptr),
              "The picture could not be resized");
    }
    return Image(out);
}

Image Flattened(VipsImage* image) {
    if (!vips_image_hasalpha(image)) {
        g_object_ref(image);
        return Image(image);
    }
    VipsImage* out = nullptr;
    VipsArrayDouble* white = vips_array_double_newv(3, 255.0, 255.0, 255.0);
    const int status = vips_flatten(image, &out, "background", white, nullptr);
    vips_area_unref(VIPS_AREA(white));
    Check(status, "The picture could not be flattened");
    return Image(out);
}

// The original decoded once at `width` (shrunk while decoding where the format allows), upright,
// in 8-bit sRGB, held in memory so each smaller width is made from it cheaply.
Image Decoded(std::string_view bytes, unsigned width) {
    VipsImage* thumbnail = nullptr;
    // A picture cut short is refused rather than shown with a grey band.
    Check(vips_thumbnail_buffer(const_cast<char*>(bytes.data()), bytes.size(), &thumbnail,
                                static_cast<int>(width), "height", VIPS_MAX_COORD, "size",
                                VIPS_SIZE_DOWN, "option_string", "fail_on=truncated", nullptr),
          "The picture cannot be read");
    Image image(thumbnail);
    if (image->Type != VIPS_INTERPRETATION_sRGB || image->BandFmt != VIPS_FORMAT_UCHAR) {
        VipsImage* srgb = nullptr;
        Check(vips_colourspace(image.get(), &srgb, VIPS_INTERPRETATION_sRGB, nullptr),
              "The picture's colours could not be converted");
        image.reset(srgb);
        if (image->BandFmt != VIPS_FORMAT_UCHAR) {
            VipsImage* cast = nullptr;
            Check(vips_cast_uchar(image.get(), &cast, nullptr),
                  "The picture's colours could not be converted");
            image.reset(cast);
        }
    }
    VipsImage* memory = vips_image_copy_memory(image.get());
    if (memory == nullptr) {
        Refuse("The picture cannot be read: " + VipsMessage() + ".");
    }
    image.reset(memory);
    // GIF and some PNG readers give every picture an alpha band; an opaque one is dropped, so
    // the picture gets a JPEG fallback and a smaller WebP.
    if (vips_image_hasalpha(image.get())) {
        VipsImage* alpha = nullptr;
        double least = 0;
        Check(vips_extract_band(image.get(), &alpha, image->Bands - 1, nullptr),
              "The picture cannot be read");
        const Image band(alpha);
        Check(vips_min(band.get(), &least, nullptr), "The picture cannot be read");
        if (least >= 255) {
            VipsImage* opaque = nullptr;
            Check(vips_extract_band(image.get(), &opaque, 0, "n", image->Bands - 1, nullptr),
                  "The picture cannot be read");
            image.reset(opaque);
        }
    }
    // Not every saver honours "strip" for every block, so nothing but the pixels' own
    // description is left for them to write: no position, camera, owner or thumbnail, and no
    // profile once the pixels are sRGB.
    char** fields = vips_image_get_fields(image.get());
    for (char** field = fields; *field != nullptr; ++field) {
        const std::string_view name = *field;
        if (name.starts_with("exif-") || name.starts_with("xmp-") || name.starts_with("iptc-") ||
            name.starts_with("icc-") || name.starts_with("photoshop-") ||
            name.starts_with("heif-") || name == "orientation" || name == "gif-comment" ||
            name.starts_with("png-comment")) {
            vips_image_remove(image.get(), *field);
        }
    }
    g_strfreev(fields);
    return image;
}

void StartVips() {
    static std::once_flag started;
    std::call_once(started, [] {
        if (VIPS_INIT("scribvane") != 0) {
            throw PictureError("The picture library could not be started.");
        }
        // Every picture is made once; the operation cache would only hold memory.
        vips_cache_set_max(0);
        vips_leak_set(FALSE);
    });
}

} // namespace

VipsPictureMaker::VipsPictureMaker() {
    StartVips();
}

WebPicture VipsPictureMaker::Make(std::string_view bytes, const WebPictureOrder& order) const {
    const char* loader = vips_foreign_find_load_buffer(bytes.data(), bytes.size());
    if (loader == nullptr) {
        Refuse("The file is not a picture, or of a kind this program cannot read.");
    }
    // "VipsForeignLoadNsgifBuffer", "VipsForeignLoadJpegBuffer", ...: the reader tells the kind.
    std::string kind = loader;
    std::transform(kind.begin(), kind.end(), kind.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // Refused from the size its header claims, before the picture library reads a byte more:
    // some readers give up on a bomb's header with no word of why.
    if (const auto claimed = ReadPictureSize(bytes);
        claimed && std::uint64_t{claimed->width} * claimed->height > kPixelLimit) {
        Refuse("The picture claims to be " + std::to_string(claimed->width) + " by " +
               std::to_string(claimed->height) +
               " pixels, more than any photo; it is not read, to keep the program safe.");
    }
    // Only the header is read here: the pixels wait until an image is asked for them.
    Image header(vips_image_new_from_buffer(bytes.data(), bytes.size(), "", nullptr));
    if (!header) {
        Refuse("The picture cannot be read: " + VipsMessage() + ".");
    }
    const std::uint64_t storedWidth = static_cast<unsigned>(header->Xsize);
    const std::uint64_t storedHeight = static_cast<unsigned>(header->Ysize);
    if (storedWidth * storedHeight > kPixelLimit) {
        Refuse("The picture claims to be " + std::to_string(storedWidth) + " by " +
               std::to_string(storedHeight) +
               " pixels, more than any photo; it is not read, to keep the program safe.");
    }
    const bool turned = vips_image_get_orientation_swap(header.get()) != FALSE;
    WebPicture picture;
    picture.size = {static_cast<unsigned>(turned ? storedHeight : storedWidth),
                    static_cast<unsigned>(turned ? storedWidth : storedHeight)};

    const bool animated =
        vips_image_get_n_pages(header.get()) > 1 &&
        (kind.find("gif") != std::string::npos || kind.find("webp") != std::string::npos);
    if (kind.find("svg") != std::string::npos || animated) {
        // Drawings scale by themselves, and an animation would lose its frames.
        picture.keptAsIs = true;
        picture.kind = animated ? "Animation" : "Drawing";
        return picture;
    }
    const bool photo =
        kind.find("jpeg") != std::string::npos || kind.find("heif") != std::string::npos;
    picture.kind = photo ? "Photo" : "Picture";

    const std::vector<unsigned> widths = WebWidths(order.slotWidth, picture.size.width);
    const Image largest = Decoded(bytes, widths.back());
    const bool alpha = vips_image_hasalpha(largest.get()) != FALSE;
    // The fallback is the width nearest the slot's own: sharp enough anywhere, never heavy.
    unsigned middle = widths.front();
    for (const unsigned width : widths) {
        if (std::abs(static_cast<int>(width) - static_cast<int>(order.slotWidth)) <
            std::abs(static_cast<int>(middle) - static_cast<int>(order.slotWidth))) {
            middle = width;
        }
    }
    for (const unsigned width : widths) {
        const Image scaled = Scaled(largest.get(), width);
        std::string webp = Saved(scaled.get(), "webp");
        const unsigned made = static_cast<unsigned>(scaled->Xsize);
        picture.webp.push_back(
            {made, WebPictureName(order.role, made, webp, "webp"), std::move(webp), {}});
        if (width == middle) {
            const std::string_view format = alpha ? "png" : "jpg";
            std::string fallback = Saved(scaled.get(), format);
            picture.fallback = WebPictureFile{
                made, WebPictureName(order.role, made, fallback, format), std::move(fallback), {}};
        }
    }
    if (order.share) {
        const unsigned width = std::min(kShareWidth, picture.size.width);
        const Image source =
            width <= widths.back() ? Scaled(largest.get(), width) : Decoded(bytes, width);
        const Image flat = Flattened(source.get());
        std::string jpeg = Saved(flat.get(), "jpg");
        const unsigned made = static_cast<unsigned>(flat->Xsize);
        picture.share = WebPictureFile{
            made, WebPictureName(order.role, made, jpeg, "jpg"), std::move(jpeg), {}};
    }
    return picture;
}

} // namespace scribvane
