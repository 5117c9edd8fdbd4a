// Picture header reader; see PictureSize.h.
#include "generation/PictureSize.h"

#include "utils/TextCoding.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>
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

// A length of an SVG root attribute in user units: a number, optionally followed by "px".
std::optional<double> SvgLength(std::string_view value) {
    std::size_t end = 0;
    while (end < value.size() &&
           (std::isdigit(static_cast<unsigned char>(value[end])) != 0 || value[end] == '.')) {
        ++end;
    }
    const std::string_view unit = value.substr(end);
    if (end == 0 || !(unit.empty() || unit == "px")) {
        return std::nullopt; // percentages and other units say nothing about the picture
    }
    try {
        return std::stod(std::string(value.substr(0, end)));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The value of an attribute in the text of one start tag, quoted with either quote.
std::optional<std::string_view> SvgAttribute(std::string_view tag, std::string_view name) {
    for (std::size_t at = tag.find(name); at != std::string_view::npos;
         at = tag.find(name, at + 1)) {
        const bool starts = at > 0 && std::isspace(static_cast<unsigned char>(tag[at - 1])) != 0;
        std::size_t i = at + name.size();
        while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i])) != 0) {
            ++i;
        }
        if (!starts || i >= tag.size() || tag[i] != '=') {
            continue;
        }
        ++i;
        while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i])) != 0) {
            ++i;
        }
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
            const std::size_t close = tag.find(tag[i], i + 1);
            if (close != std::string_view::npos) {
                return tag.substr(i + 1, close - i - 1);
            }
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<PictureSize> SvgSize(std::string_view text) {
    const std::size_t start = text.find("<svg");
    const std::size_t end = start == std::string_view::npos ? start : text.find('>', start);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view tag = text.substr(start, end - start);
    const auto width = SvgAttribute(tag, "width");
    const auto height = SvgAttribute(tag, "height");
    const auto w = width ? SvgLength(*width) : std::nullopt;
    const auto h = height ? SvgLength(*height) : std::nullopt;
    double bw = 0;
    double bh = 0;
    if (w && h) {
        bw = *w;
        bh = *h;
    } else if (width || height) {
        return std::nullopt; // a size in other units, or half a size
    } else if (const auto box = SvgAttribute(tag, "viewBox")) {
        std::string numbers(*box);
        for (char& c : numbers) {
            c = c == ',' ? ' ' : c;
        }
        double x = 0;
        double y = 0;
        if (std::sscanf(numbers.c_str(), "%lf %lf %lf %lf", &x, &y, &bw, &bh) != 4) {
            return std::nullopt;
        }
    }
    if (!(bw >= 0.5 && bh >= 0.5 && bw <= 1e6 && bh <= 1e6)) {
        return std::nullopt;
    }
    return Sized(static_cast<unsigned>(std::lround(bw)), static_cast<unsigned>(std::lround(bh)));
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
    // Most headers stand in the first few kilobytes, a JPEG's after its metadata (64 KB at
    // most per block); only a picture whose size is not there yet is read further.
    std::string bytes;
    for (std::size_t step = std::min(limit, std::size_t{80} << 10); bytes.size() < limit;
         step = limit - bytes.size()) {
        const std::size_t had = bytes.size();
        bytes.resize(had + step);
        in.read(bytes.data() + had, static_cast<std::streamsize>(step));
        bytes.resize(had + static_cast<std::size_t>(in.gcount()));
        // Only a JPEG's size can stand further on; other formats have said it by now.
        const bool jpeg = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xD8';
        if (const auto size = ReadPictureSize(bytes); size || !in || !jpeg) {
            return size;
        }
    }
    return std::nullopt;
}

std::optional<PictureSize> PictureSizeOfDataAddress(std::string_view address) {
    if (address.size() < 5 ||
        (address.substr(0, 5) != "data:" && address.substr(0, 5) != "DATA:")) {
        return std::nullopt;
    }
    const std::size_t comma = address.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view type = address.substr(5, comma - 5);
    const std::string_view data = address.substr(comma + 1);
    constexpr std::size_t kLimit = std::size_t{64} << 10;
    const std::string bytes =
        type.ends_with(";base64") ? DecodeBase64(data, kLimit) : DecodePercentLoosely(data, kLimit);
    if (const auto size = ReadPictureSize(bytes)) {
        return size;
    }
    return type.starts_with("image/svg+xml") ? SvgSize(bytes) : std::nullopt;
}

} // namespace scribvane
