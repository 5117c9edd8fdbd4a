// The branding settings read from dbconfig.dat: product name, affiliate identifier, the
// banners and links that exist, and the icon. Text is kept as the file's single-byte bytes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace scribvane {

class IniFile;

// A banner exists when its path is set; its click target may be empty.
struct BannerEntry {
    std::string path;
    std::string clickTarget;
};

// A link exists when its target is set; its caption may be empty.
struct LinkEntry {
    std::string target;
    std::string caption;
};

class BrandingSettings {
public:
    static constexpr int kBannerKeys = 3;
    static constexpr int kLinkKeys = 4;

    // Reads section "Settings". A click target or caption counts only beside its path or target.
    static BrandingSettings FromIni(const IniFile& ini);

    // Nothing when the program folder holds no branding file: the program runs unbranded.
    static std::optional<BrandingSettings> Load(const std::filesystem::path& programFolder);

    std::string appName;
    std::string affiliateId;
    std::string iconPath;
    // In key order; position i holds the banner stored as "dbimg" (i + 1) ".dat".
    std::vector<BannerEntry> banners;
    std::vector<LinkEntry> links;
};

} // namespace scribvane
