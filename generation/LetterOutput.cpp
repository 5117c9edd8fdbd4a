// Writing the letter; see LetterOutput.h.
#include "generation/LetterOutput.h"

#include "generation/LetterGenerator.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

namespace scribvane {

namespace {

// The letter file, with every line ending in CR LF, from what `write` hands on.
template <typename Write>
void WriteLetterFile(std::string_view outputFileName, Write write) {
    AtomicFileWriter file(PathFromText(outputFileName));
    LineEndSink lines(file);
    write(lines);
    lines.Finish();
    file.Commit(Durability::Replaced);
}

} // namespace

void WriteLetter(std::string_view outputFileName, std::string_view page) {
    WriteLetterFile(outputFileName, [&](TextSink& out) { out.Put(page); });
}

void WriteMergedLetter(std::string_view outputFileName, std::string_view templateText,
                       const LetterValues& values) {
    WriteLetterFile(outputFileName,
                    [&](TextSink& out) { MergeLetterInto(templateText, values, out); });
}

} // namespace scribvane
