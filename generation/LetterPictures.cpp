// Picture tags and copies; see LetterPictures.h.
#include "generation/LetterPictures.h"

#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/Log.h"

#include <filesystem>
#include <unistd.h>

namespace scribvane {

bool IsLocalPicture(std::string_view picture) {
    std::error_code error;
    return !picture.empty() && std::filesystem::is_regular_file(PathFromText(picture), error);
}

void CopyPicture(std::string_view picture, std::string_view outputFileName) {
    const std::filesystem::path source = PathFromText(picture);
    const std::filesystem::path destination =
        PathFromText(FolderPart(outputFileName) + FileNamePart(picture));
    std::error_code error;
    if (std::filesystem::equivalent(source, destination, error)) {
        return; // copying a file onto itself would empty it
    }
    // A write-protected copy stays as it is, as a plain copy would leave it; the rename below
    // would otherwise replace it regardless of its protection.
    if (std::filesystem::exists(destination, error) && ::access(destination.c_str(), W_OK) != 0) {
        return;
    }
    try {
        WriteFileAtomically(destination, ReadFileBytes(source));
    } catch (const Error& failure) {
        // A failed copy changes nothing else: the tag still names the file.
        LogNote(LogTopic::Generation,
                "The picture \"" + std::string(picture) + "\" was not copied: " + failure.what());
    }
}

std::string PlacePicture(const PictureRow& row, std::string_view picture,
                         std::string_view outputFileName) {
    if (picture.empty()) {
        return {};
    }
    if (IsLocalPicture(picture)) {
        CopyPicture(picture, outputFileName);
        return "<img border=0 src=" + FileNamePart(picture) + std::string(row.localTagEnd);
    }
    return "<img border=0 src=" + std::string(picture) + std::string(row.addressTagEnd);
}

} // namespace scribvane
