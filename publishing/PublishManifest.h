// The manifest ".scribvane-publish" kept in the remote folder: the SHA-256 of every file that
// was published there, so a re-publish sends only what changed. And the upload plan made from
// it: pictures first, the page last, then the manifest.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

inline constexpr std::string_view kManifestName = ".scribvane-publish";

using Manifest = std::map<std::string, std::string>; // file name -> lower-case hex SHA-256

// Reads a manifest. Anything that is not exactly a manifest (garbage, a damaged or hostile
// file, names that would leave the folder) counts as nothing published: everything is sent.
Manifest ParseManifest(std::string_view text);
std::string FormatManifest(const Manifest& manifest);

struct UploadPlan {
    std::vector<std::string> send; // in order: pictures (by name), then the page
    std::size_t unchanged = 0;
    Manifest next; // what the remote folder holds once the plan ran
};

// `files` are the letter's files with their digests, `page` the name of the page among them.
UploadPlan MakeUploadPlan(const Manifest& files, const std::string& page,
                          const Manifest& published);

} // namespace scribvane
