// The picture placement of a letter: a picture field becomes an image tag, and a picture that
// lies on the local disk is copied beside the output file so the page can name it bare, shown
// where it lies, or carried inside the page.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

// Where a local picture ends up. Web addresses stay as typed in every placement, and the page
// text differs between placements only inside the picture tags.
enum class PicturePlacement {
    CopyBeside,  // the letter as written today: copied beside the output, named bare
    ShowInPlace, // the preview: named where it lies as a file: address, nothing touched
    Embed,       // a one-file letter: carried as a quoted data: address, nothing copied
};

// The three picture rows differ only in what follows the tag.
struct PictureRow {
    std::string_view placeholder;
    std::string_view localTagEnd;   // after the bare file name of a copied local picture
    std::string_view addressTagEnd; // after a picture given as an address
};

inline constexpr PictureRow kHeaderPictureRow{"%%HEADERPICTURE%%", "><br><br>", "><br><br>"};
inline constexpr PictureRow kCoverPictureRow{"%%ECOVERPICTURE%%", ">", ">"};
inline constexpr PictureRow kFooterPictureRow{"%%FOOTERPICTURE%%", ">", "><br><br>"};

// Whether the field names an existing regular file (links followed); anything else, folders
// and devices included, is an address.
bool IsLocalPicture(std::string_view picture);

// Copies a picture to `destination`, replacing an older copy. Failures are passed over (and
// logged): the page still names the file. A picture that already is the destination is left
// alone, and the copy goes through a temporary file so a failure never empties an existing
// picture.
void CopyPicture(const std::filesystem::path& source, const std::filesystem::path& destination);

// A local picture as a data: address with its MIME type, base64; nothing when it cannot be
// read (which is logged).
std::optional<std::string> DataAddressOf(std::string_view picture);

// The MIME type a picture is embedded with: from its leading bytes, else from its extension.
std::string_view PictureMimeType(std::string_view fileName, std::string_view bytes);

// A local picture as a file: address, its bytes percent-encoded so the unquoted tag holds it.
std::string FileAddressOf(std::string_view picture);

} // namespace scribvane
