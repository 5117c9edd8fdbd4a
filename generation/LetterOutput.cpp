// Writing the letter; see LetterOutput.h.
#include "generation/LetterOutput.h"

#include "generation/LetterGenerator.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

namespace scribvane {

void WriteLetter(std::string_view outputFileName, std::string_view page) {
    AtomicFileWriter file(PathFromText(outputFileName));
    LineEndSink lines(file);
    lines.Put(page);
    lines.Finish();
    file.Commit(Durability::Replaced);
}

void WriteMergedLetter(std::string_view outputFileName, std::string_view templateText,
                       const LetterValues& values) {
    AtomicFileWriter file(PathFromText(outputFileName));
    LineEndSink lines(file);
    MergeLetterInto(templateText, values, lines);
    lines.Finish();
    file.Commit(Durability::Replaced);
}

} // namespace scribvane
