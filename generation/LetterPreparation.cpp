// Preparing a letter; see LetterPreparation.h.
#include "generation/LetterPreparation.h"

#include "generation/LetterGenerator.h"
#include "generation/MergeSteps.h"
#include "generation/PolicyPages.h"
#include "generation/SellingBlocks.h"
#include "generation/SignupForm.h"
#include "generation/TemplateCatalogue.h"
#include "generation/VisitorTracking.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/TextCoding.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

#include <algorithm>
#include <fstream>
#include <utility>

namespace scribvane {

const std::string& TemplateTextCache::Text(const std::filesystem::path& file) {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(file, error);
    if (!held_ || error || file != file_ || modified != modified_) {
        held_ = false;
        ++reads_;
        text_ = ReadTemplateText(file);
        file_ = file;
        modified_ = modified;
        held_ = !error;
    }
    return text_;
}

namespace {

// Each finding says which of the three pictures it is about.
constexpr std::array<std::string_view, 3> kPictureNames = {
    "The header picture", "The cover picture", "The footer picture"};
// A page heavier than this for a phone loads slowly on a mobile network.
constexpr std::uintmax_t kPhonePageLimit = 500000;
// An animation heavier than this is worth a word: it goes out as it is.
constexpr std::uintmax_t kHeavyAnimation = 300000;

std::string LeadingBytes(const std::filesystem::path& file) {
    std::string bytes(16, '\0');
    std::ifstream in(file, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

// The slot whose picture link previews show, when it is one of the letter's own files: the
// first of the cover and the header with an address a preview can follow.
std::optional<PictureRole> SharedRole(const LetterPictures& pictures) {
    for (const PictureRole role : {PictureRole::Cover, PictureRole::Header}) {
        const PlacedPicture& picture = pictures.Of(role);
        if (picture.kind == PictureSource::Address && IsWebAddress(picture.source)) {
            return std::nullopt;
        }
        if (picture.IsLocal()) {
            return role;
        }
    }
    return std::nullopt;
}

LetterFile FileOf(const WebPictureFile& file) {
    return LetterFile{file.name, file.source, file.source.empty() ? file.bytes : std::string(),
                      true};
}

const WebPictureFile* FileOfWidth(const WebPicture& picture, unsigned width) {
    for (const auto& file : picture.webp) {
        if (file.width == width) {
            return &file;
        }
    }
    return picture.webp.empty() ? nullptr : &picture.webp.back();
}

// Names the made picture in the page, and lists its files beside the page.
void UseMadePicture(const WebPicture& made, unsigned slotWidth, PlacedPicture& placed,
                    std::vector<LetterFile>& files, PictureReport& report) {
    report.size = made.size;
    report.kind = made.kind;
    placed.size = made.size;
    std::vector<unsigned> widths;
    for (const auto& file : made.webp) {
        widths.push_back(file.width);
    }
    const WebPictureFile* phone = FileOfWidth(made, PhoneWidth(widths, slotWidth));
    report.phoneBytes = phone->Size();
    report.wideBytes = made.webp.back().Size();
    if (placed.kind == PictureSource::Embedded) {
        // One picture inside the page: the one a phone would load, sharp on a wide screen.
        placed.source = "data:image/webp;base64," + EncodeBase64(phone->Bytes());
        return;
    }
    const std::string slot = std::to_string(slotWidth) + "px";
    placed.sizes = "(max-width: " + slot + ") 100vw, " + slot;
    placed.webSources.clear();
    for (const auto& file : made.webp) {
        placed.webSources += (placed.webSources.empty() ? "" : ", ") + file.name + " " +
                             std::to_string(file.width) + "w";
        files.push_back(FileOf(file));
    }
    const WebPictureFile& fallback = made.fallback ? *made.fallback : *phone;
    if (made.fallback) {
        files.push_back(FileOf(fallback));
    }
    placed.source = fallback.name;
    if (made.share) {
        placed.shareSource = made.share->name;
        files.push_back(FileOf(*made.share));
    }
}

// Makes the local pictures of an html5 letter for the web, from the cache where it can.
void MakePicturesForWeb(PreparedLetter& letter, const LetterRequest& request, bool originals) {
    const LetterValues& values = letter.values;
    const bool html5 = letter.writer->Dialect() == BlockDialect::Html5;
    const bool asTaken = originals || values.placement == PicturePlacement::ShowInPlace;
    const PictureSlotWidths slotWidths = SlotWidthsOfTemplate(letter.templateText);
    const std::optional<PictureRole> shared =
        IsWebAddress(values.publicAddress) && values.placement == PicturePlacement::CopyBeside
            ? SharedRole(letter.pictures)
            : std::nullopt;
    const auto fields = PictureFieldsOf(values);
    std::vector<std::filesystem::path> madeOriginals;
    std::vector<LetterFile> made;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        PlacedPicture& placed = letter.pictures.slots[i];
        PictureReport& report = letter.pictureReports[i];
        if (!placed.IsLocal()) {
            continue;
        }
        const auto role = static_cast<PictureRole>(i);
        const std::filesystem::path original = PathFromText(*fields[i]);
        std::error_code error;
        report.originalBytes = std::filesystem::file_size(original, error);
        report.outcome = PictureOutcome::AsIs;
        report.size = placed.size;
        report.phoneBytes = report.wideBytes = report.originalBytes;
        if (!html5 || asTaken) {
            if (BrowsersCannotShow(LeadingBytes(original))) {
                letter.pictureFindings.push_back(
                    {Severity::Warning, kPictureTags[i],
                     std::string(kPictureNames[i]) +
                         " is of a kind that most browsers cannot show (such as HEIC or "
                         "TIFF), and it goes out as it is.",
                     "Save it as JPEG or PNG, or choose a design that makes pictures for the "
                     "web."});
            }
            continue;
        }
        const WebPictureOrder order{role, slotWidths.Of(role), shared == role};
        std::optional<WebPicture> picture;
        std::string key;
        try {
            if (request.pictureCache != nullptr) {
                key = request.pictureCache->KeyOf(original, order);
                picture = request.pictureCache->Find(key);
                if (auto refusal = request.pictureCache->RefusalOf(key)) {
                    throw PictureError(*refusal);
                }
            }
            if (!picture && request.pictureMaker != nullptr) {
                picture = request.pictureMaker->Make(ReadFileBytes(original), order);
                if (request.pictureCache != nullptr) {
                    picture = request.pictureCache->Store(key, std::move(*picture));
                }
            }
        } catch (const PictureError& failure) {
            report.outcome = PictureOutcome::Unreadable;
            report.reason = failure.what();
            if (request.pictureCache != nullptr && !key.empty()) {
                request.pictureCache->Refused(key, report.reason);
            }
            letter.pictureFindings.push_back(
                {Severity::Warning, kPictureTags[i],
                 std::string(kPictureNames[i]) + " cannot be made for the web: " + report.reason,
                 "Choose another picture, or save this one again as JPEG or PNG."});
            continue;
        } catch (const FileError&) {
            // The check already says that the file cannot be read.
            report.outcome = PictureOutcome::Unreadable;
            continue;
        }
        if (!picture) {
            report.outcome = PictureOutcome::Pending;
            report.phoneBytes = report.wideBytes = 0; // not known until it is made
            continue;
        }
        report.kind = picture->kind;
        if (picture->keptAsIs) {
            report.size = picture->size;
            placed.size = picture->size;
            if (picture->kind == "Animation" && report.originalBytes > kHeavyAnimation) {
                letter.pictureFindings.push_back(
                    {Severity::Tip, kPictureTags[i],
                     std::string(kPictureNames[i]) + " is an animation of " +
                         ByteCountText(report.originalBytes) +
                         "; it goes out as it is, frames and all.",
                     "A short video or a still picture loads faster on a phone."});
            }
            continue;
        }
        report.outcome = PictureOutcome::Made;
        UseMadePicture(*picture, order.slotWidth, placed, made, report);
        madeOriginals.push_back(original);
    }
    if (madeOriginals.empty()) {
        return;
    }
    // The originals of made pictures stay home, unless another field sends one as it is.
    std::vector<std::filesystem::path> sentAsIs;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (letter.pictureReports[i].outcome != PictureOutcome::Made &&
            letter.pictures.slots[i].kind == PictureSource::Copy) {
            sentAsIs.push_back(PathFromText(*fields[i]));
        }
    }
    const auto among = [](const std::vector<std::filesystem::path>& paths,
                          const std::filesystem::path& path) {
        return std::find(paths.begin(), paths.end(), path) != paths.end();
    };
    std::vector<LetterFile> files;
    for (auto& file : letter.files) {
        if (!among(madeOriginals, file.source) || among(sentAsIs, file.source)) {
            files.push_back(std::move(file));
        }
    }
    for (auto& file : made) {
        if (std::none_of(files.begin(), files.end(),
                         [&](const LetterFile& kept) { return kept.name == file.name; })) {
            files.push_back(std::move(file));
        }
    }
    letter.files = std::move(files);
}

// The privacy policy and terms a letter that names its seller links to: the user's own files
// where they can be read, else the shipped texts, in the page's encoding.
void AddPolicyPages(PreparedLetter& letter) {
    const LetterValues& values = letter.values;
    // What the letter collects, which the privacy policy lists.
    std::vector<DataUse> uses = TrackingDataUses(values);
    if (auto signup = SignupDataUse(values)) {
        uses.push_back(std::move(*signup));
    }
    for (const auto& [kind, own, field, what] :
         {std::tuple{PolicyKind::Privacy, &values.privacyPage, OptionalTag::PrivacyPage,
                     "privacy policy"},
          {PolicyKind::Terms, &values.termsPage, OptionalTag::TermsPage, "terms"}}) {
        LetterFile file;
        file.name = std::string(PolicyFileName(kind));
        if (!TrimBlanks(*own).empty()) {
            const std::filesystem::path path = PathFromText(std::string(TrimBlanks(*own)));
            std::error_code error;
            std::ifstream readable(path, std::ios::binary);
            if (std::filesystem::is_regular_file(path, error) && readable.good()) {
                file.source = path;
                letter.files.push_back(std::move(file));
                continue;
            }
            letter.policyFindings.push_back(
                {Severity::Warning, field,
                 "The " + std::string(what) + " file " + std::string(TrimBlanks(*own)) +
                     " cannot be read; the letter links the shipped text instead.",
                 "Choose a file that exists, or empty the field."});
        }
        std::string page = ShippedPolicyPage(kind, values, letter.templateText, uses);
        if (letter.encoding == PageEncoding::Utf8) {
            std::string converted;
            StringSink sink(converted);
            Utf8Sink utf8(sink);
            utf8.Put(page);
            page = std::move(converted);
        }
        file.bytes = std::move(page);
        letter.files.push_back(std::move(file));
    }
}

// Counts what it is given.
class CountingSink final : public TextSink {
public:
    void Put(std::string_view text) override { count += text.size(); }
    std::uintmax_t count = 0;
};

} // namespace

PreparedLetter PrepareLetter(LetterRequest request) {
    std::string name;
    if (request.templateName) {
        name = std::move(*request.templateName);
    } else {
        name = ChosenTemplate(TemplateCatalogue(request.templateFolder), request.templateFolder,
                              request.configuration.Optional(OptionalTag::Template));
    }
    // The user may send pictures as they were taken.
    const bool originals = request.configuration.Optional(OptionalTag::OriginalPictures) == "-1";
    PreparedLetter letter;
    letter.values =
        LetterValuesFromConfiguration(std::move(request.configuration), request.templateFolder,
                                      std::move(name), std::move(request.outputFileName));
    letter.values.placement = request.placement;
    letter.values.publicAddress = std::move(request.publicAddress);

    const LetterValues& values = letter.values;
    letter.templateFile = values.templateName.empty()
                              ? std::nullopt
                              : FindTemplateFile(values.templateFolder, values.templateName);
    if (!letter.templateFile) {
        return letter; // no page, so nothing goes beside it
    }
    letter.templateText = request.templates != nullptr
                              ? request.templates->Text(*letter.templateFile)
                              : ReadTemplateText(*letter.templateFile);
    letter.writer = &WriterForTemplate(letter.templateText);
    letter.encoding = PageEncodingOf(letter.templateText);
    letter.pictures = PlaceLetterPictures(values, letter.writer->Markup().sizesPictures);
    letter.files = letter.pictures.files;
    MakePicturesForWeb(letter, request, originals);
    if (letter.writer->Dialect() == BlockDialect::Html5 && HasSellerDetails(values)) {
        AddPolicyPages(letter);
    }
    return letter;
}

std::string PreparedLetter::Page() const {
    return HasTemplate() ? MergePage(templateText, {values, pictures, *writer}) : std::string();
}

void PreparedLetter::WritePage(TextSink& out) const {
    if (HasTemplate()) {
        MergePageInto(templateText, {values, pictures, *writer}, out);
    }
}

std::vector<Finding> PreparedLetter::Check(bool checkOutput) const {
    CheckInput input;
    if (HasTemplate()) {
        input.templateText = templateText;
    }
    input.checkOutput = checkOutput;
    input.pictureFindings = pictureFindings;
    input.pictureFindings.insert(input.pictureFindings.end(), policyFindings.begin(),
                                 policyFindings.end());
    // What a phone loads: the page and the pictures beside it that its slots name.
    if (HasTemplate() && values.placement != PicturePlacement::ShowInPlace) {
        CountingSink page;
        WritePage(page);
        std::uintmax_t weight = page.count;
        std::optional<std::size_t> heaviest;
        for (std::size_t i = 0; i < pictureReports.size(); ++i) {
            const PictureReport& report = pictureReports[i];
            if (report.outcome == PictureOutcome::None ||
                pictures.slots[i].kind != PictureSource::Copy) {
                continue;
            }
            weight += report.phoneBytes;
            if (!heaviest || report.phoneBytes > pictureReports[*heaviest].phoneBytes) {
                heaviest = i;
            }
        }
        if (weight > kPhonePageLimit) {
            input.pictureFindings.push_back(
                {Severity::Warning,
                 heaviest ? LetterField(kPictureTags[*heaviest]) : LetterField(Tag::PageTitle),
                 "The page weighs " + ByteCountText(weight) +
                     " for a phone; above 500 KB it loads slowly on a mobile network.",
                 heaviest ? "Use a smaller picture, or let the pictures be made for the web."
                          : "Shorten the letter's lists or passages."});
        }
    }
    return CheckLetter(values, input);
}

bool PreparedLetter::PicturesPending() const {
    return std::any_of(pictureReports.begin(), pictureReports.end(),
                       [](const PictureReport& r) { return r.outcome == PictureOutcome::Pending; });
}

} // namespace scribvane
