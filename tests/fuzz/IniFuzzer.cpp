// The INI reader and the branding choices over any bytes: values never exceed the length cap,
// the chosen banner is one that exists, and the two links shown are different entries.
#include "branding/BrandingChoice.h"
#include "branding/BrandingSettings.h"
#include "utils/IniFile.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const auto seed = provider.ConsumeIntegral<std::uint32_t>();
    const scribvane::IniFile ini(provider.ConsumeRemainingBytesAsString());
    for (const char* key : {"AppName", "BannerPath1", "Link1URL", "IconPath", "Version"}) {
        for (const char* section : {"Settings", "APPLICATION"}) {
            if (ini.Read(section, key).size() > scribvane::IniFile::kMaxValueLength) {
                std::abort();
            }
        }
    }

    const auto settings = scribvane::BrandingSettings::FromIni(ini);
    std::uint32_t state = seed;
    const auto values = scribvane::ChooseBranding(settings, [&state](std::size_t count) {
        state = state * 1664525u + 1013904223u;
        return static_cast<std::size_t>(state >> 8) % count;
    });
    const auto banners = settings.banners.size();
    if ((banners == 0) != (values.bannerPosition == 0) || values.bannerPosition > banners) {
        std::abort();
    }
    const auto links = settings.links.size();
    // Link targets are never empty, so an empty target means no link was shown there.
    if ((links >= 1) == values.link1Url.empty() || (links >= 2) == values.link2Url.empty()) {
        std::abort();
    }
    (void)scribvane::BrandedCaption(settings.appName, "Scribvane");
    return 0;
}
