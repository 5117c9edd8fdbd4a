// The picture placement of a letter: a picture field becomes an image tag, and a picture that
// lies on the local disk is copied beside the output file so the page can name it bare.
#pragma once

#include <string>
#include <string_view>

namespace scribvane {

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

// Copies a local picture to the output folder under its own file name, replacing an older
// copy. Failures are passed over: the page still names the file. A picture that already is
// the destination is left alone, and the copy goes through a temporary file so a failure
// never empties an existing picture.
void CopyPicture(std::string_view picture, std::string_view outputFileName);

// The image tag for a picture field; copies a local picture as it goes. An empty field gives
// the empty text and copies nothing.
std::string PlacePicture(const PictureRow& row, std::string_view picture,
                         std::string_view outputFileName);

} // namespace scribvane
