// Branding file names; see BrandingFiles.h.
#include "branding/BrandingFiles.h"

#include "utils/FileIo.h"
#include "utils/TextHelpers.h"

namespace scribvane {
std::string BrandingFileNamePart(std::string_view path) {
    std::string name = FileNamePart(path);
    const auto last = name.find_last_of("\\:");
    return last == std::string::npos ? name : name.substr(last + 1);
}

std::string StoredBannerFileName(std::size_t position) {
    return "dbimg" + std::to_string(position) + ".dat";
}

bool IsAnimatedBanner(std::string_view picturePath) {
    return LowerAscii(picturePath).find(".gif") != std::string::npos;
}

std::string PictureFormatOf(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string() : LowerAscii(fileName.substr(dot + 1));
}

} // namespace scribvane
