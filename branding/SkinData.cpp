// Inflating the skin; see SkinData.h.
#include "branding/SkinData.h"

#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/Win1252.h"

#include <array>
#include <climits>
#include <system_error>
#include <zlib.h>

namespace scribvane {
namespace {

bool IsValidUtf8(std::string_view text) {
    constexpr std::string_view kEncodedReplacement = "\xEF\xBF\xBD";
    while (!text.empty()) {
        const std::string_view before = text;
        // The decoder answers U+FFFD for bad input; only the encoded U+FFFD itself is genuine.
        if (DecodeUtf8(text) == U'\uFFFD' && !before.starts_with(kEncodedReplacement)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> InflateSkin(std::string_view compressed, std::size_t maxSize) {
    if (compressed.empty() || compressed.size() > UINT_MAX) {
        return std::nullopt;
    }
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        return std::nullopt;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());

    std::string out;
    std::array<char, std::size_t{64} * 1024> chunk{};
    int status = Z_OK;
    // Truncated input ends the loop with Z_BUF_ERROR, corrupt input with Z_DATA_ERROR.
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
        stream.avail_out = static_cast<uInt>(chunk.size());
        status = inflate(&stream, Z_NO_FLUSH);
        const std::size_t produced = chunk.size() - stream.avail_out;
        if (out.size() + produced > maxSize) {
            status = Z_MEM_ERROR;
            break;
        }
        out.append(chunk.data(), produced);
    }
    const bool complete = status == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    if (!complete || !IsValidUtf8(out)) {
        return std::nullopt;
    }
    if (out.starts_with("\xEF\xBB\xBF")) {
        out.erase(0, 3);
    }
    return out;
}

std::optional<std::string> ReadSkinFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    // Even uncompressed blocks add only a few bytes per 64 KB, so a file well beyond the cap
    // cannot hold an acceptable skin; it is not read at all.
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxSkinSize + kMaxSkinSize / 64) {
        return std::nullopt;
    }
    try {
        return InflateSkin(ReadFileBytes(path));
    } catch (const FileError&) {
        return std::nullopt;
    }
}

} // namespace scribvane
