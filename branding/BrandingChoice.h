// The random choices of branding: one banner among those that exist and two different links,
// and the caption rule. Pure functions over the settings; the random source is injected.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace scribvane {

class BrandingSettings;

// Returns an index in [0, count); count is never 0.
using RandomIndex = std::function<std::size_t(std::size_t count)>;

// The production source: a generator freshly seeded from the clock for every pick.
std::size_t ClockSeededIndex(std::size_t count);

// What the window keeps of the branding, and which stored banner file to show. Every member
// has an initialiser so callers may name just some of them.
struct BrandingValues {
    std::string affiliateId{};
    std::string bannerUrl{};
    std::string bannerPath{};
    std::string link1Url{};
    std::string link1Name{};
    std::string link2Url{};
    std::string link2Name{};
    std::string iconPath{};
    // 1-based position of the chosen banner among the existing ones; 0 when there is none.
    std::size_t bannerPosition = 0;
};

// One banner, then link 1, then link 2 from the links left, each pick asking random once.
BrandingValues ChooseBranding(const BrandingSettings& settings, const RandomIndex& random);

// The product name, or the current caption when it is empty, followed by " v" and the version.
std::string BrandedCaption(std::string_view appName, std::string_view currentCaption);

} // namespace scribvane
