// The skin file dbskin.dat: a zlib stream of a UTF-8 style sheet. Anything else is ignored so
// the built-in look stays.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

// Inflated skins larger than this are refused, so a tiny hostile file cannot exhaust memory.
inline constexpr std::size_t kMaxSkinSize = std::size_t{16} * 1024 * 1024;

// The style sheet (UTF-8, a leading byte order mark dropped), or nothing when the data is not
// one complete zlib stream, inflates beyond maxSize or is not valid UTF-8.
std::optional<std::string> InflateSkin(std::string_view compressed,
                                       std::size_t maxSize = kMaxSkinSize);

// Reads and inflates a skin file; nothing when it is missing, unreadable or not a skin.
std::optional<std::string> ReadSkinFile(const std::filesystem::path& path);

} // namespace scribvane
