// Branding choices; see BrandingChoice.h.
#include "branding/BrandingChoice.h"

#include "branding/BrandingSettings.h"
#include "utils/ProgramConstants.h"

#include <chrono>
#include <random>
#include <vector>

namespace scribvane {
namespace {

// Keeps a faulty source from indexing out of range.
std::size_t Pick(const RandomIndex& random, std::size_t count) {
    return random(count) % count;
}

} // namespace

std::size_t ClockSeededIndex(std::size_t count) {
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::mt19937_64 generator(static_cast<std::uint64_t>(now));
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(generator);
}

BrandingValues ChooseBranding(const BrandingSettings& settings, const RandomIndex& random) {
    BrandingValues values;
    values.affiliateId = settings.affiliateId;
    values.iconPath = settings.iconPath;
    if (!settings.banners.empty()) {
        const std::size_t index = Pick(random, settings.banners.size());
        values.bannerUrl = settings.banners[index].clickTarget;
        values.bannerPath = settings.banners[index].path;
        values.bannerPosition = index + 1;
    }
    std::vector<LinkEntry> links = settings.links;
    if (!links.empty()) {
        const std::size_t first = Pick(random, links.size());
        values.link1Url = links[first].target;
        values.link1Name = links[first].caption;
        // Removing the first pick guarantees the two links shown differ.
        links.erase(links.begin() + static_cast<std::ptrdiff_t>(first));
    }
    if (!links.empty()) {
        const std::size_t second = Pick(random, links.size());
        values.link2Url = links[second].target;
        values.link2Name = links[second].caption;
    }
    return values;
}

std::string BrandedCaption(std::string_view appName, std::string_view currentCaption) {
    std::string caption(appName.empty() ? currentCaption : appName);
    caption += " v";
    caption += VersionText;
    return caption;
}

} // namespace scribvane
