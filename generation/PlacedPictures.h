// Where each picture of a letter ends up, decided once before the merge: what the page names
// for it and which files go beside the page. The merge only formats what is decided here, so
// making a page never copies anything, and saving, publishing and embedding take the same
// files.
#pragma once

#include "generation/LetterFiles.h"
#include "generation/LetterPictures.h"
#include "generation/PictureSize.h"
#include "persistence/ConfigTags.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace scribvane {

struct LetterValues;

// The three picture fields of a letter.
enum class PictureRole { Header, Cover, Footer };

// Each role's field in the configuration, and its text in a letter's values.
inline constexpr std::array<Tag, 3> kPictureTags = {Tag::HeaderPicture, Tag::CoverPicture,
                                                    Tag::FooterPicture};
std::array<const std::string*, 3> PictureFieldsOf(const LetterValues& values);

// What a picture tag names.
enum class PictureSource {
    None,     // the field is empty: no tag at all
    Address,  // the field as typed: a web address, or anything that names no file here
    Copy,     // the bare file name of the copy beside the page
    InPlace,  // the file where it lies, as a file: address
    Embedded, // the picture's bytes, as a data: address
};

struct PlacedPicture {
    PictureSource kind = PictureSource::None;
    std::string source; // empty for None
    // The picture's width and height, when asked for and they can be read.
    std::optional<PictureSize> size;
    // Set for a picture made for the web: its WebP widths as a srcset ("header-480-ab12cd.webp
    // 480w, ..."), the widths its slot is shown at, and the JPEG that link previews take;
    // `source` then names the fallback for browsers without WebP.
    std::string webSources;
    std::string sizes;
    std::string shareSource;

    bool IsLocal() const { return kind != PictureSource::None && kind != PictureSource::Address; }
};

struct LetterPictures {
    std::array<PlacedPicture, 3> slots; // in PictureRole order
    // The copies that go beside the page, in the order of the fields.
    std::vector<LetterFile> files;

    const PlacedPicture& Of(PictureRole role) const {
        return slots[static_cast<std::size_t>(role)];
    }
};

// The pictures of `values` in their placement. `sizes`: read each picture's size (from its
// header, never decoding it). Reads the pictures to embed; copies nothing.
LetterPictures PlaceLetterPictures(const LetterValues& values, bool sizes);

// The placement a written letter's pictures get: inside the page, or copied beside it.
constexpr PicturePlacement SavedPlacement(bool embedPictures) {
    return embedPictures ? PicturePlacement::Embed : PicturePlacement::CopyBeside;
}

} // namespace scribvane
