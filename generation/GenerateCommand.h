// The headless generator: the letter of a saved configuration, written exactly as the wizard
// writes it after Load Configuration and "Save generated code".
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace scribvane {

// Runs scribvane-generate with its arguments (without the program name). Defaults are looked
// up in `programFolder`. The success line goes to `out`, every error to `err`. Returns 0 on
// success, 1 when the letter could not be made or written, 2 for a usage error.
int RunGenerateCommand(const std::vector<std::string>& arguments,
                       const std::filesystem::path& programFolder, std::ostream& out,
                       std::ostream& err);

} // namespace scribvane
