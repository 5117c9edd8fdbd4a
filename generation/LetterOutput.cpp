// Writing the letter; see LetterOutput.h.
#include "generation/LetterOutput.h"

#include "utils/FileIo.h"
#include "utils/TextHelpers.h"

#include <filesystem>

namespace scribvane {

void WriteLetter(std::string_view outputFileName, std::string_view page) {
    WriteFileAtomically(PathFromText(outputFileName), NormalizeLines(page));
}

} // namespace scribvane
