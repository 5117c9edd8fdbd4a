// The width and height of a picture, read from the first bytes of its file (PNG, JPEG, GIF,
// WebP) without decoding it, so the letter can reserve the picture's room before it loads.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

namespace scribvane {

struct PictureSize {
    unsigned width = 0;
    unsigned height = 0;
    bool operator==(const PictureSize&) const = default;
};

// The size the header of `bytes` states; nothing for another format, a header cut short or a
// size of zero.
std::optional<PictureSize> ReadPictureSize(std::string_view bytes);

// The same for a file, reading no more than its first `limit` bytes (a JPEG's size can stand
// after long metadata); nothing when it cannot be read.
std::optional<PictureSize> PictureSizeOfFile(const std::filesystem::path& file,
                                             std::size_t limit = std::size_t{1} << 20);

// The size of a picture carried in a data: address (base64 or percent-encoded): a PNG, JPEG,
// GIF or WebP by its header, an SVG by the width and height (else the viewBox) of its root
// element. Nothing for any other address.
std::optional<PictureSize> PictureSizeOfDataAddress(std::string_view address);

} // namespace scribvane
