// Pictures made for the web: what each kind of picture a marketer has becomes, that nothing of
// its metadata survives, that the same picture gives the same bytes, and that a letter names
// what was made and sends nothing of the original.
#include "generation/LetterPreparation.h"
#include "generation/VipsPictureMaker.h"
#include "publishing/PublishAddress.h"
#include "publishing/Publisher.h"
#include "tests/support/TempDir.h"
#include "utils/FileIo.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <vips/vips.h>

namespace scribvane {
namespace {

using testing::TempDir;

// A photo-like picture (noise, so the encoders have work) of `bands` bands, saved by suffix.
std::string MakePicture(int width, int height, int bands, const char* suffix,
                        const std::function<VipsImage*(VipsImage*)>& change = {}) {
    const VipsPictureMaker start; // starts libvips
    VipsImage* noise = nullptr;
    EXPECT_EQ(vips_gaussnoise(&noise, width, height, "mean", 128.0, "sigma", 40.0, nullptr), 0);
    VipsImage* grey = nullptr;
    vips_cast_uchar(noise, &grey, nullptr);
    g_object_unref(noise);
    VipsImage* copies[4] = {grey, grey, grey, grey};
    VipsImage* image = nullptr;
    if (bands == 1) {
        image = grey;
    } else {
        vips_bandjoin(copies, &image, bands, nullptr);
        g_object_unref(grey);
        VipsImage* typed = nullptr;
        vips_copy(image, &typed, "interpretation", VIPS_INTERPRETATION_sRGB, nullptr);
        g_object_unref(image);
        image = typed;
    }
    if (change) {
        VipsImage* changed = change(image);
        g_object_unref(image);
        image = changed;
    }
    void* buffer = nullptr;
    std::size_t length = 0;
    EXPECT_EQ(vips_image_write_to_buffer(image, suffix, &buffer, &length, nullptr), 0)
        << suffix << ": " << vips_error_buffer();
    vips_error_clear();
    g_object_unref(image);
    std::string bytes(static_cast<const char*>(buffer), length);
    g_free(buffer);
    return bytes;
}

VipsImage* Oriented(VipsImage* image, int orientation) {
    VipsImage* copy = nullptr;
    vips_copy(image, &copy, nullptr);
    vips_image_set_int(copy, "orientation", orientation);
    return copy;
}

// Adds a phone's position, maker and owner to a JPEG, as a phone's camera does.
std::string WithPhoneMetadata(const std::string& jpeg) {
    TempDir dir;
    const auto file = dir.Write("photo.jpg", jpeg);
    const std::string command = "exiftool -q -overwrite_original -GPSLatitude=52.52 "
                                "-GPSLatitudeRef=N -GPSLongitude=13.40 -GPSLongitudeRef=E "
                                "-Make=PhoneMaker -Model=PhoneModel -Artist=OwnerName '" +
                                file.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << "exiftool is installed by scripts/setup.sh";
    return ReadFileBytes(file);
}

// Whether a made file carries anything beyond its pixels.
void ExpectNoMetadata(const std::string& bytes, const std::string& name) {
    for (const char* leak : {"PhoneMaker", "PhoneModel", "OwnerName", "Exif", "http://ns.adobe"}) {
        EXPECT_EQ(bytes.find(leak), std::string::npos) << name << " still holds " << leak;
    }
    VipsImage* image = vips_image_new_from_buffer(bytes.data(), bytes.size(), "", nullptr);
    ASSERT_NE(image, nullptr) << name;
    for (const char* field : {"exif-data", "xmp-data", "iptc-data", "icc-profile-data"}) {
        EXPECT_EQ(vips_image_get_typeof(image, field), 0u) << name << " keeps " << field;
    }
    g_object_unref(image);
}

std::string BigEndian(std::uint32_t value) {
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes += static_cast<char>((value >> shift) & 0xff);
    }
    return bytes;
}

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xffffffff;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320 & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

// A well-formed PNG header claiming the size, and no pixels at all.
std::string PngOfSize(std::uint32_t width, std::uint32_t height) {
    const std::string header =
        "IHDR" + BigEndian(width) + BigEndian(height) + std::string("\x08\x02\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + BigEndian(13) + header + BigEndian(Crc32(header)) +
           BigEndian(0) + "IEND" + BigEndian(Crc32("IEND"));
}

// Two frames of one pixel, black then white, looping: the smallest animation there is.
const std::string kTwoFrameGif(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff"
    "\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    "\x21\xf9\x04\x00\x0a\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00"
    "\x21\xf9\x04\x00\x0a\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x4c\x01\x00"
    "\x3b",
    85);

TEST(WebPictures, EveryKindOfPictureComesOutUprightInItsWidthsWithoutMetadata) {
    const VipsPictureMaker maker;
    const std::string phone = WithPhoneMetadata(
        MakePicture(1600, 1200, 3, ".jpg", [](auto* i) { return Oriented(i, 6); }));
    const struct {
        const char* name;
        std::string bytes;
        PictureRole role;
        unsigned slot;
        PictureSize upright;
        std::vector<unsigned> widths; // empty: kept as it is
        const char* fallback;
    } cases[] = {
        {"phone photo stored turned",
         phone,
         PictureRole::Header,
         800,
         {1200, 1600},
         {480, 960, 1200},
         ".jpg"},
        {"cover photo",
         MakePicture(1600, 1200, 3, ".jpg"),
         PictureRole::Cover,
         400,
         {1600, 1200},
         {480, 800},
         ".jpg"},
        {"small logo, never upscaled",
         MakePicture(300, 100, 3, ".png"),
         PictureRole::Header,
         800,
         {300, 100},
         {300},
         ".jpg"},
        {"transparent PNG",
         MakePicture(640, 480, 4, ".png"),
         PictureRole::Footer,
         800,
         {640, 480},
         {480, 640},
         ".png"},
        {"16-bit PNG",
         MakePicture(640, 480, 3, ".png",
                     [](auto* i) {
                         VipsImage* wide = nullptr;
                         vips_colourspace(i, &wide, VIPS_INTERPRETATION_RGB16, nullptr);
                         return wide;
                     }),
         PictureRole::Header,
         800,
         {640, 480},
         {480, 640},
         ".jpg"},
        {"grey TIFF",
         MakePicture(500, 400, 1, ".tif"),
         PictureRole::Header,
         800,
         {500, 400},
         {480, 500},
         ".jpg"},
        {"WebP",
         MakePicture(700, 500, 3, ".webp"),
         PictureRole::Header,
         800,
         {700, 500},
         {480, 700},
         ".jpg"},
        {"still GIF",
         MakePicture(520, 300, 3, ".gif"),
         PictureRole::Header,
         800,
         {520, 300},
         {480, 520},
         ".jpg"},
        {"CMYK JPEG",
         MakePicture(600, 400, 3, ".jpg",
                     [](auto* i) {
                         VipsImage* cmyk = nullptr;
                         vips_colourspace(i, &cmyk, VIPS_INTERPRETATION_CMYK, nullptr);
                         return cmyk;
                     }),
         PictureRole::Header,
         800,
         {600, 400},
         {480, 600},
         ".jpg"},
        {"animated GIF", kTwoFrameGif, PictureRole::Header, 800, {1, 1}, {}, nullptr},
        {"SVG drawing",
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"120\" height=\"80\"><rect "
         "width=\"120\" height=\"80\"/></svg>",
         PictureRole::Header,
         800,
         {120, 80},
         {},
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.empty());
        const WebPicture made = maker.Make(c.bytes, {c.role, c.slot, true});
        EXPECT_EQ(made.size, c.upright);
        EXPECT_EQ(made.keptAsIs, c.widths.empty());
        std::vector<unsigned> widths;
        for (const auto& file : made.webp) {
            widths.push_back(file.width);
            EXPECT_TRUE(
                file.name.starts_with(std::string(c.role == PictureRole::Cover    ? "cover-"
                                                  : c.role == PictureRole::Header ? "header-"
                                                                                  : "footer-") +
                                      std::to_string(file.width) + "-"))
                << file.name;
            EXPECT_TRUE(file.name.ends_with(".webp")) << file.name;
            ExpectNoMetadata(file.bytes, file.name);
            // Upright: a file's height follows the upright picture's proportions.
            VipsImage* image =
                vips_image_new_from_buffer(file.bytes.data(), file.bytes.size(), "", nullptr);
            ASSERT_NE(image, nullptr);
            EXPECT_NEAR(image->Ysize, file.width * c.upright.height / double(c.upright.width), 1.0)
                << file.name;
            g_object_unref(image);
        }
        EXPECT_EQ(widths, c.widths);
        ASSERT_EQ(made.fallback.has_value(), c.fallback != nullptr);
        if (c.fallback != nullptr) {
            EXPECT_TRUE(made.fallback->name.ends_with(c.fallback)) << made.fallback->name;
            ExpectNoMetadata(made.fallback->bytes, made.fallback->name);
            ASSERT_TRUE(made.share.has_value());
            EXPECT_EQ(made.share->width, std::min(1200u, c.upright.width));
            EXPECT_TRUE(made.share->name.ends_with(".jpg"));
        }
    }
}

TEST(WebPictures, PhonePicturesInTheirOwnFormatsAreConverted) {
    const VipsPictureMaker maker;
    for (const char* suffix : {".heic", ".avif"}) {
        SCOPED_TRACE(suffix);
        void* buffer = nullptr;
        std::size_t length = 0;
        VipsImage* image = nullptr;
        vips_gaussnoise(&image, 640, 480, "mean", 128.0, nullptr);
        VipsImage* rgb = nullptr;
        VipsImage* bands[3] = {image, image, image};
        vips_bandjoin(bands, &rgb, 3, nullptr);
        VipsImage* uchar = nullptr;
        vips_cast_uchar(rgb, &uchar, nullptr);
        const int compression = std::string(suffix) == ".heic" ? VIPS_FOREIGN_HEIF_COMPRESSION_HEVC
                                                               : VIPS_FOREIGN_HEIF_COMPRESSION_AV1;
        const int saved =
            vips_heifsave_buffer(uchar, &buffer, &length, "compression", compression, nullptr);
        g_object_unref(uchar);
        g_object_unref(rgb);
        g_object_unref(image);
        if (saved != 0) {
            vips_error_clear();
            GTEST_SKIP() << "this libheif has no " << suffix << " encoder to make the sample";
        }
        const std::string bytes(static_cast<const char*>(buffer), length);
        g_free(buffer);
        const WebPicture made = maker.Make(bytes, {PictureRole::Header, 800, false});
        EXPECT_EQ(made.size, (PictureSize{640, 480}));
        ASSERT_EQ(made.webp.size(), 2u);
        EXPECT_EQ(made.kind, "Photo");
    }
}

TEST(WebPictures, BadPicturesAreRefusedWithAReasonBeforeTheirPixelsAreRead) {
    const VipsPictureMaker maker;
    const std::string jpeg = MakePicture(800, 600, 3, ".jpg");
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"truncated JPEG", jpeg.substr(0, jpeg.size() / 2), "cannot be read"},
        {"decompression bomb", PngOfSize(100000, 100000), "100000 by 100000 pixels"},
        {"not a picture", "Dear friend, this is a letter.", "not a picture"},
        {"empty file", "", "not a picture"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            maker.Make(c.bytes, {PictureRole::Header, 800, false});
            ADD_FAILURE() << "made a picture";
        } catch (const PictureError& failure) {
            EXPECT_NE(std::string(failure.what()).find(c.reason), std::string::npos)
                << failure.what();
        }
    }
}

struct Letter {
    TempDir dir;
    std::filesystem::path photo;
    LetterRequest Request(const std::string& templateName) const {
        LetterRequest request;
        request.templateFolder = SCRIBVANE_TEMPLATES_DIR;
        request.templateName = templateName;
        request.configuration.Set(Tag::PageTitle, std::string("Photos"));
        request.configuration.Set(Tag::HeaderPicture, photo.string());
        request.configuration.Set(Tag::CoverPicture, photo.string());
        request.outputFileName = (dir / "site" / "index.html").string();
        request.publicAddress = "https://example.test/offer/";
        return request;
    }
};

TEST(WebPictures, ALetterNamesWhatWasMadeTheSameBytesEveryTimeAndTheCacheSparesTheWork) {
    Letter letter;
    letter.photo = letter.dir.Write(
        "holiday photo.jpg", WithPhoneMetadata(MakePicture(
                                 2000, 1500, 3, ".jpg", [](auto* i) { return Oriented(i, 6); })));
    const VipsPictureMaker maker;
    PictureCache first(letter.dir / "first");
    PictureCache second(letter.dir / "second");

    LetterRequest request = letter.Request("Classic");
    request.pictureCache = &first;
    request.pictureMaker = &maker;
    const PreparedLetter made = PrepareLetter(request);
    ASSERT_EQ(made.pictureReports[0].outcome, PictureOutcome::Made);
    EXPECT_EQ(made.pictureReports[0].size, (PictureSize{1500, 2000}));
    const std::string page = made.Page();
    EXPECT_NE(page.find("<picture><source type=\"image/webp\" srcset=\"header-480-"),
              std::string::npos);
    EXPECT_NE(page.find("sizes=\"(max-width: 800px) 100vw, 800px\""), std::string::npos);
    EXPECT_NE(page.find("width=\"1500\" height=\"2000\""), std::string::npos);
    EXPECT_NE(
        page.find("<meta property=\"og:image\" content=\"https://example.test/offer/cover-1200-"),
        std::string::npos);
    EXPECT_EQ(page.find("holiday"), std::string::npos) << "the original is named nowhere";
    for (const LetterFile& file : made.files) {
        EXPECT_EQ(file.name.find("holiday"), std::string::npos) << file.name;
    }

    // Another cache, made afresh: the same names and bytes.
    request.pictureCache = &second;
    const PreparedLetter again = PrepareLetter(request);
    EXPECT_EQ(again.Page(), page);
    ASSERT_EQ(again.files.size(), made.files.size());
    for (std::size_t i = 0; i < made.files.size(); ++i) {
        EXPECT_EQ(again.files[i].name, made.files[i].name);
        EXPECT_EQ(ReadFileBytes(again.files[i].source), ReadFileBytes(made.files[i].source));
    }

    // With the cache warm no maker is needed; without one nothing is pending yet made.
    request.pictureMaker = nullptr;
    EXPECT_FALSE(PrepareLetter(request).PicturesPending());
    EXPECT_EQ(PrepareLetter(request).Page(), page);
    // A later run takes the digests this one kept, by name, size and time, without reading
    // the photo: a file changed behind its stamp keeps its key.
    const WebPictureOrder order{PictureRole::Header, 800, false};
    const std::string key = first.KeyOf(letter.photo, order);
    const auto stamp = std::filesystem::last_write_time(letter.photo);
    std::string bytes = ReadFileBytes(letter.photo);
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 1);
    TempDir::WriteFile(letter.photo, bytes);
    std::filesystem::last_write_time(letter.photo, stamp);
    EXPECT_EQ(PictureCache(letter.dir / "first").KeyOf(letter.photo, order), key);
    EXPECT_NE(PictureCache(letter.dir / "other").KeyOf(letter.photo, order), key);
    PictureCache empty(letter.dir / "empty");
    request.pictureCache = &empty;
    EXPECT_TRUE(PrepareLetter(request).PicturesPending());

    // Published twice to a folder: the second time sends nothing.
    std::string problem;
    const auto folder = ParsePublishAddress("file://" + (letter.dir / "web").string(), problem);
    ASSERT_TRUE(folder) << problem;
    const PublishResult sent = PublishLetter(made, *folder, {});
    EXPECT_EQ(sent.sent, made.files.size() + 1);
    const PublishResult resent = PublishLetter(again, *folder, {});
    EXPECT_EQ(resent.sent, 0u);
}

TEST(WebPictures, TheUsersChoiceOldTemplatesAndAnUnwritableCacheKeepTheLetter) {
    Letter letter;
    letter.photo = letter.dir.Write("photo.jpg", MakePicture(1200, 900, 3, ".jpg"));
    const VipsPictureMaker maker;
    const auto unwritable = letter.dir / "cache-is-a-file";
    letter.dir.Write("cache-is-a-file", "x");
    PictureCache cache(unwritable);
    const struct {
        const char* name;
        std::string templateName;
        bool originals;
        PictureOutcome outcome;
    } cases[] = {
        {"html5 template, unwritable cache", "Modern", false, PictureOutcome::Made},
        {"html5 template, pictures as they are", "Modern", true, PictureOutcome::AsIs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LetterRequest request = letter.Request(c.templateName);
        request.pictureCache = &cache;
        request.pictureMaker = &maker;
        if (c.originals) {
            request.configuration.SetOptional(OptionalTag::OriginalPictures, "-1");
        }
        const PreparedLetter prepared = PrepareLetter(request);
        EXPECT_EQ(prepared.pictureReports[0].outcome, c.outcome);
        const bool copiesOriginal =
            std::any_of(prepared.files.begin(), prepared.files.end(),
                        [](const LetterFile& file) { return file.name == "photo.jpg"; });
        EXPECT_EQ(copiesOriginal, c.outcome == PictureOutcome::AsIs);
        for (const LetterFile& file : prepared.files) {
            EXPECT_TRUE(file.name == "photo.jpg" || !file.bytes.empty()) << file.name;
        }
    }
}

TEST(WebPictures, APictureThatCannotBeMadeIsSaidWithItsReasonAndNotTriedAgain) {
    Letter letter;
    letter.photo = letter.dir.Write("photo.jpg", "Dear friend, this is not a picture.");
    const VipsPictureMaker maker;
    PictureCache cache(letter.dir / "cache");
    LetterRequest request = letter.Request("Modern");
    request.pictureCache = &cache;
    request.pictureMaker = &maker;
    const PreparedLetter made = PrepareLetter(request);
    EXPECT_EQ(made.pictureReports[0].outcome, PictureOutcome::Unreadable);
    const auto findings = made.Check();
    EXPECT_TRUE(std::any_of(findings.begin(), findings.end(), [](const Finding& finding) {
        return finding.field == LetterField(Tag::HeaderPicture) &&
               finding.sentence.find("cannot be made for the web: The file is not a picture") !=
                   std::string::npos;
    }));
    EXPECT_NE(made.Page().find("photo.jpg"), std::string::npos) << "the rest of the letter is made";
    request.pictureMaker = nullptr;
    EXPECT_EQ(PrepareLetter(request).pictureReports[0].outcome, PictureOutcome::Unreadable)
        << "remembered, so the window does not wait for it again";
}

TEST(WebPictures, TheCheckSaysWhatBrowsersCannotShowAndHowHeavyThePageIs) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Templates");
    dir.Write("Templates/Plain.tem", "<html>%%HEADERPICTURE%%</html>");
    LetterRequest request;
    request.templateFolder = dir / "Templates";
    request.templateName = "Plain";
    request.outputFileName = (dir / "index.html").string();
    const auto heic = dir.Write("phone.heic", std::string("\0\0\0\x18"
                                                          "ftypheic",
                                                          12) +
                                                  std::string(600 * 1000, 'x'));
    request.configuration.Set(Tag::HeaderPicture, heic.string());
    const auto findings = PrepareLetter(request).Check();
    const auto said = [&](const char* words) {
        return std::any_of(findings.begin(), findings.end(), [&](const Finding& finding) {
            return finding.sentence.find(words) != std::string::npos &&
                   finding.field == LetterField(Tag::HeaderPicture);
        });
    };
    EXPECT_TRUE(said("most browsers cannot show"));
    EXPECT_TRUE(said("The page weighs 600 KB for a phone"));
}

TEST(WebPictures, WidthsRunFromPhonesToSharpWideScreensAndTemplatesDeclareTheirSlots) {
    EXPECT_EQ(WebWidths(960, 4032), (std::vector<unsigned>{480, 960, 1440, 1920}));
    EXPECT_EQ(WebWidths(400, 4032), (std::vector<unsigned>{480, 800}));
    EXPECT_EQ(WebWidths(960, 1000), (std::vector<unsigned>{480, 960, 1000}));
    EXPECT_EQ(WebWidths(960, 200), (std::vector<unsigned>{200}));
    EXPECT_EQ(PhoneWidth({480, 960, 1440, 1920}, 960), 960u);
    const PictureSlotWidths declared = SlotWidthsOfTemplate(
        "<head><!-- Picture widths: header 800, cover=424, footer 99999 --></head>");
    EXPECT_EQ(declared.header, 800u);
    EXPECT_EQ(declared.cover, 424u);
    EXPECT_EQ(declared.footer, 960u) << "an absurd width keeps the default";
    EXPECT_EQ(SlotWidthsOfTemplate("<head></head>").cover, 480u);
}

} // namespace
} // namespace scribvane
