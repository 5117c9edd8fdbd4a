// Picture header reader; see PictureSize.h.
#include "generation/PictureSize.h"

#include <fstream>
#include <string>

namespace scribvane {
namespace {

unsigned Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

unsigned BigEndian16(std::string_view bytes, std::size_t at) {
    return Byte(bytes, at) << 8 | Byte(bytes, at + 1);
}

unsigned BigEndian32(std::string_view bytes, std::size_t at) {
    return BigEndian16(bytes, at) << 16 | BigEndian16(bytes, at + 2);
}

unsigned LittleEndian16(std::string_view bytes, std::size_t at) {
    return Byte(bytes, at) | Byte(bytes, at + 1) << 8;
}

unsigned LittleEndian24(std::string_view bytes, std::size_t at) {
    return LittleEndian16(bytes, at) | Byte(bytes, at + 2) << 16;
}

std::optional<PictureSize> Sized(unsigned width, unsigned height) {
    if (width == 0 || height == 0) {
        return std::nullopt;
    }
    return PictureSize{width, height};
}

// The size stands in the frame header (SOF0 to SOF15 but DHT, JPG and DAC); the segments
// before it are skipped by their lengths.
std::optional<PictureSize> JpegSize(std::string_view bytes) {
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (Byte(bytes, at) != 0xFF) {
            return std::nullopt;
        }
        const unsigned marker = Byte(bytes, at + 1);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2; // markers without a length
            continue;
        }
        const unsigned length = BigEndian16(bytes, at + 2);
        if (length < 2) {
            return std::nullopt;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > bytes.size()) {
                return std::nullopt;
            }
            return Sized(BigEndian16(bytes, at + 7), BigEndian16(bytes, at + 5));
        }
        if (marker == 0xDA || marker == 0xD9) {
            return std::nullopt; // the picture data begins without a frame header
        }
        at += 2 + length;
    }
    return std::nullopt;
}

std::optional<PictureSize> WebpSize(std::string_view bytes) {
    if (bytes.size() < 30) {
        return std::nullopt;
    }
    const std::string_view chunk = bytes.substr(12, 4);
    if (chunk == "VP8 " && bytes.substr(23, 3) == "\x9D\x01\x2A") {
        return Sized(LittleEndian16(bytes, 26) & 0x3FFF, LittleEndian16(bytes, 28) & 0x3FFF);
    }
    if (chunk == "VP8L" && Byte(bytes, 20) == 0x2F) {
        const unsigned bits =
            Byte(bytes, 21) | Byte(bytes, 22) << 8 | Byte(bytes, 23) << 16 | Byte(bytes, 24) << 24;
        return Sized((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
    }
    if (chunk == "VP8X") {
        return Sized(LittleEndian24(bytes, 24) + 1, LittleEndian24(bytes, 27) + 1);
    }
    return std::nullopt;
}

} // namespace

std::optional<PictureSize> ReadPictureSize(std::string_view bytes) {
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) {
        if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR") {
            return std::nullopt;
        }
        return Sized(BigEndian32(bytes, 16), BigEndian32(bytes, 20));
    }
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) {
        if (bytes.size() < 10) {
            return std::nullopt;
        }
        return Sized(LittleEndian16(bytes, 6), LittleEndian16(bytes, 8));
    }
    if (bytes.starts_with("\xFF\xD8")) {
        return JpegSize(bytes);
    }
    if (bytes.size() >= 12 && bytes.starts_with("RIFF") && bytes.substr(8, 4) == "WEBP") {
        return WebpSize(bytes);
    }
    return std::nullopt;
}

std::optional<PictureSize> PictureSizeOfFile(const std::filesystem::path& file, std::size_t limit) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return ReadPictureSize(bytes);
}

} // namespace scribvane
