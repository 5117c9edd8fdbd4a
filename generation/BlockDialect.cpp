// The dialect of a template; see BlockDialect.h.
#include "generation/BlockDialect.h"

#include "utils/TextHelpers.h"

#include <algorithm>

namespace scribvane {

BlockDialect DialectOf(std::string_view templateText) {
    const std::size_t marker = templateText.find(kHtml5Marker.substr(0, kHtml5Marker.size() - 1));
    if (marker == std::string_view::npos) {
        return BlockDialect::Specified;
    }
    // Only the head counts: a letter that shows the line as an example in its body asks for
    // nothing.
    constexpr std::string_view kBody = "<body";
    const auto body = std::search(templateText.begin(), templateText.end(), kBody.begin(),
                                  kBody.end(), [](char a, char b) { return LowerAscii(a) == b; });
    const auto bodyAt = static_cast<std::size_t>(body - templateText.begin());
    return marker < bodyAt ? BlockDialect::Html5 : BlockDialect::Specified;
}

} // namespace scribvane
