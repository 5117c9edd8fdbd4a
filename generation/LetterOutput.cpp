// Writing the letter; see LetterOutput.h.
#include "generation/LetterOutput.h"

#include "utils/FileIo.h"
#include "utils/TextHelpers.h"

#include <filesystem>

namespace scribvane {

void WriteLetter(std::string_view outputFileName, std::string_view page) {
    // A merged page normally has CR LF line ends already; writing it as it is spares a copy of
    // the whole letter.
    const auto path = PathFromText(outputFileName);
    if (HasNormalLines(page)) {
        WriteFileAtomically(path, page);
    } else {
        WriteFileAtomically(path, NormalizeLines(page));
    }
}

} // namespace scribvane
