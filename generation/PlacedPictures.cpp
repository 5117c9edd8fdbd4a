// Placing a letter's pictures; see PlacedPictures.h.
#include "generation/PlacedPictures.h"

#include "generation/LetterValues.h"
#include "utils/FileIo.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace scribvane {
namespace {

PlacedPicture Place(const std::string& field, const LetterValues& values, bool sizes,
                    std::vector<LetterFile>& files) {
    PlacedPicture placed;
    if (field.empty()) {
        return placed;
    }
    if (!IsLocalPicture(field)) {
        placed.kind = PictureSource::Address;
        placed.source = field;
        if (sizes) {
            placed.size = PictureSizeOfDataAddress(field);
        }
        return placed;
    }
    if (sizes) {
        placed.size = PictureSizeOfFile(PathFromText(field));
    }
    switch (values.placement) {
    case PicturePlacement::ShowInPlace:
        placed.kind = PictureSource::InPlace;
        placed.source = FileAddressOf(field);
        return placed;
    case PicturePlacement::Embed:
        if (auto address = DataAddressOf(field)) {
            placed.kind = PictureSource::Embedded;
            placed.source = std::move(*address);
            return placed;
        }
        break;
    case PicturePlacement::CopyBeside: {
        LetterFile copy{FileNamePart(field), PathFromText(field), {}, false};
        // The same picture in two fields is copied once.
        if (std::none_of(files.begin(), files.end(), [&](const LetterFile& file) {
                return file.name == copy.name && file.source == copy.source;
            })) {
            files.push_back(std::move(copy));
        }
        break;
    }
    }
    // A picture that could not be read for embedding keeps the name its copy would have.
    placed.kind = PictureSource::Copy;
    placed.source = FileNamePart(field);
    return placed;
}

} // namespace

std::array<const std::string*, 3> PictureFieldsOf(const LetterValues& values) {
    return {&values.headerPicture, &values.coverPicture, &values.footerPicture};
}

LetterPictures PlaceLetterPictures(const LetterValues& values, bool sizes) {
    LetterPictures pictures;
    const auto fields = PictureFieldsOf(values);
    static_assert(fields.size() == std::tuple_size_v<decltype(pictures.slots)>);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        pictures.slots[i] = Place(*fields[i], values, sizes, pictures.files);
    }
    return pictures;
}

} // namespace scribvane
