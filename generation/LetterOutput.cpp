// Writing the letter; see LetterOutput.h.
#include "generation/LetterOutput.h"

#include "generation/LetterPictures.h"
#include "generation/LetterPreparation.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

#include <optional>

namespace scribvane {

namespace {

// The letter file, with every line ending in CR LF, from what `write` hands on; `before` runs
// once the file is open.
template <typename Before, typename Write>
void WriteLetterFile(std::string_view outputFileName, PageEncoding encoding, Before before,
                     Write write) {
    AtomicFileWriter file(PathFromText(outputFileName));
    before();
    // Line breaks, NUL and the conversion only concern ASCII bytes or only bytes above it, so
    // the order of the two stages does not change a byte.
    Utf8Sink utf8(file);
    LineEndSink lines(encoding == PageEncoding::Utf8 ? static_cast<TextSink&>(utf8) : file);
    write(lines);
    lines.Finish();
    file.Commit(Durability::Replaced);
}

std::optional<std::uintmax_t> SizeOnDisk(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? std::nullopt : std::optional(size);
}

std::optional<std::uintmax_t> SizeOf(const LetterFile& file) {
    return file.source.empty() ? std::optional<std::uintmax_t>(file.bytes.size())
                               : SizeOnDisk(file.source);
}

} // namespace

void WriteLetter(std::string_view outputFileName, std::string_view page, PageEncoding encoding) {
    WriteLetterFile(
        outputFileName, encoding, [] {}, [&](TextSink& out) { out.Put(page); });
}

void WriteLetterFiles(const std::vector<LetterFile>& files, std::string_view outputFileName) {
    const std::string folder = FolderPart(outputFileName);
    for (const LetterFile& file : files) {
        const std::filesystem::path destination = PathFromText(folder + file.name);
        // Written before: a file named by its content with that name and size holds it.
        if (const auto there = SizeOnDisk(destination);
            file.namedByContent && there && there == SizeOf(file)) {
            continue;
        }
        if (!file.source.empty()) {
            CopyPicture(file.source, destination);
        } else {
            WriteFileAtomically(destination, file.bytes, {}, Durability::Replaced);
        }
    }
}

void WritePreparedLetter(const PreparedLetter& letter) {
    if (!letter.HasTemplate()) {
        return;
    }
    const std::string& output = letter.values.outputFileName;
    WriteLetterFile(
        output, letter.encoding, [&] { WriteLetterFiles(letter.files, output); },
        [&](TextSink& out) { letter.WritePage(out); });
}

} // namespace scribvane
