// Names of the branding files beside the program, and the rules that turn the paths named in
// the branding file into the files actually read from the program folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace scribvane {

inline constexpr std::string_view kBrandingFileName = "dbconfig.dat";
inline constexpr std::string_view kSkinFileName = "dbskin.dat";
inline constexpr std::string_view kBrandingSection = "Settings";

// The file-name part of a path from the branding file. Branding files are usually written on
// Windows, so besides this platform's separators a backslash or drive colon also ends the
// folder part: "D:\art\brand.ico" names "brand.ico" here too.
std::string BrandingFileNamePart(std::string_view path);

// "dbimg" K ".dat": where the banner at 1-based position K among the existing banners lies.
std::string StoredBannerFileName(std::size_t position);

// A ".gif" anywhere in the lower-cased picture path means the animated picture shows it.
bool IsAnimatedBanner(std::string_view picturePath);

// The picture format named by a file name's extension, lower-cased and without the dot
// ("jpg", "gif"); empty when the name has no extension.
std::string PictureFormatOf(std::string_view fileName);

} // namespace scribvane
