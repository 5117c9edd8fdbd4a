// Reading the branding settings; see BrandingSettings.h.
#include "branding/BrandingSettings.h"

#include "branding/BrandingFiles.h"
#include "utils/IniFile.h"

#include <system_error>

namespace scribvane {

BrandingSettings BrandingSettings::FromIni(const IniFile& ini) {
    const auto read = [&ini](const std::string& key) { return ini.Read(kBrandingSection, key); };
    BrandingSettings settings;
    settings.appName = read("AppName");
    settings.affiliateId = read("AfiliateID");
    settings.iconPath = read("IconPath");
    for (int n = 1; n <= kBannerKeys; ++n) {
        std::string path = read("BannerPath" + std::to_string(n));
        if (!path.empty()) {
            settings.banners.push_back({std::move(path), read("BannerURL" + std::to_string(n))});
        }
    }
    for (int n = 1; n <= kLinkKeys; ++n) {
        const std::string prefix = "Link" + std::to_string(n);
        std::string target = read(prefix + "URL");
        if (!target.empty()) {
            settings.links.push_back({std::move(target), read(prefix + "Name")});
        }
    }
    return settings;
}

std::optional<BrandingSettings> BrandingSettings::Load(const std::filesystem::path& programFolder) {
    const auto path = programFolder / kBrandingFileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    return FromIni(IniFile::Load(path));
}

} // namespace scribvane
