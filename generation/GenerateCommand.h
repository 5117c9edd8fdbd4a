// The headless generator: the letter of a saved configuration, written exactly as the wizard
// writes it after Load Configuration and "Save generated code".
#pragma once

#include "generation/WebPictures.h"

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace scribvane {

// Runs scribvane-generate with its arguments (without the program name). Defaults are looked
// up in `programFolder`. The success line goes to `out`, every error to `err`. Returns 0 on
// success, 1 when the letter could not be made or written, 2 for a usage error.
// `pictures` makes the letter's pictures for the web; without one, pictures the cache does not
// hold yet are not made and kNeedsPictureMaker is returned before anything is written or
// printed, so the caller can hand the run to a program that has one.
inline constexpr int kNeedsPictureMaker = 3;
int RunGenerateCommand(const std::vector<std::string>& arguments,
                       const std::filesystem::path& programFolder, std::ostream& out,
                       std::ostream& err, const PictureMaker* pictures = nullptr);

} // namespace scribvane
