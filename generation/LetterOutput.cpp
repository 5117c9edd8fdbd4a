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
void WriteLetterFile(std::string_view outputFileName, PageEncoding encoding, Write write) {
    AtomicFileWriter file(PathFromText(outputFileName));
    // Line breaks, NUL and the conversion only concern ASCII bytes or only bytes above it, so
    // the order of the two stages does not change a byte.
    Utf8Sink utf8(file);
    LineEndSink lines(encoding == PageEncoding::Utf8 ? static_cast<TextSink&>(utf8) : file);
    write(lines);
    lines.Finish();
    file.Commit(Durability::Replaced);
}

} // namespace

void WriteLetter(std::string_view outputFileName, std::string_view page, PageEncoding encoding) {
    WriteLetterFile(outputFileName, encoding, [&](TextSink& out) { out.Put(page); });
}

void WriteMergedLetter(std::string_view outputFileName, std::string_view templateText,
                       const LetterValues& values) {
    WriteLetterFile(outputFileName, PageEncodingOf(templateText),
                    [&](TextSink& out) { MergeLetterInto(templateText, values, out); });
}

} // namespace scribvane
