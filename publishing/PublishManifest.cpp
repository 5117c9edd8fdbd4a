// The manifest and the upload plan; see PublishManifest.h.
#include "publishing/PublishManifest.h"

#include "publishing/PublishTransport.h"

namespace scribvane {
namespace {

constexpr std::string_view kFirstLine = "scribvane-publish 1";

bool IsDigest(std::string_view text) {
    return text.size() == 64 &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

} // namespace

Manifest ParseManifest(std::string_view text) {
    Manifest manifest;
    std::size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            if (line != kFirstLine) {
                return {};
            }
            first = false;
            continue;
        }
        if (line.size() < 66 || line[64] != ' ' || !IsDigest(line.substr(0, 64))) {
            return {};
        }
        const std::string name(line.substr(65));
        if (!IsSafeRemoteName(name) || name == kManifestName) {
            return {};
        }
        manifest[name] = std::string(line.substr(0, 64));
    }
    return manifest;
}

std::string FormatManifest(const Manifest& manifest) {
    std::string text(kFirstLine);
    text += '\n';
    for (const auto& [name, digest] : manifest) {
        text += digest;
        text += ' ';
        text += name;
        text += '\n';
    }
    return text;
}

UploadPlan MakeUploadPlan(const Manifest& files, const std::string& page,
                          const Manifest& published) {
    UploadPlan plan;
    plan.next = files;
    bool pageChanged = false;
    for (const auto& [name, digest] : files) {
        const auto before = published.find(name);
        if (before != published.end() && before->second == digest) {
            ++plan.unchanged;
        } else if (name == page) {
            pageChanged = true;
        } else {
            plan.send.push_back(name);
        }
    }
    // The page goes last: until it is in place, visitors see the old page with its old
    // pictures, which are never removed.
    if (pageChanged) {
        plan.send.push_back(page);
    }
    return plan;
}

} // namespace scribvane
