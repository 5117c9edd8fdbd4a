// scribvane-generate --publish: the letter of a saved configuration generated and published to
// a target from publish.dat or to an address, without a window.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace scribvane {

using EnvironmentFunction = std::function<std::optional<std::string>(const std::string&)>;

// Runs the publish. Prints "Published N files (M unchanged) to ADDRESS" on `out` and returns 0,
// or one line on `err` and 1 (2 for a usage error). Secrets come from SCRIBVANE_PUBLISH_PASSWORD
// and, for S3, SCRIBVANE_PUBLISH_KEY_ID, read through `environment`.
int RunPublishCommand(const std::vector<std::string>& arguments,
                      const std::filesystem::path& programFolder, std::ostream& out,
                      std::ostream& err, const EnvironmentFunction& environment);

} // namespace scribvane
