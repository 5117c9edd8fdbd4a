// Picture placement: tags for local pictures and addresses, and the copies beside the output.
#include "generation/LetterPictures.h"

#include "generation/LetterGenerator.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

using testing::TempDir;

// The tag a template of the specified blocks gets for one picture field, copying a local
// picture beside `output` as the merge does.
std::string PlacePicture(const PictureRow& row, const std::string& picture,
                         const std::string& output) {
    LetterValues values;
    values.outputFileName = output;
    std::string* field = &row == &kHeaderPictureRow  ? &values.headerPicture
                         : &row == &kCoverPictureRow ? &values.coverPicture
                                                     : &values.footerPicture;
    *field = picture;
    return MergeLetter(std::string(row.placeholder), values);
}

class LetterPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir / "pics");
        std::filesystem::create_directories(dir / "site");
        output = (dir / "site" / "index.html").string();
    }
    TempDir dir;
    std::string output;
};

struct TagCase {
    const PictureRow* row;
    bool local;
    std::string tagEnd;
};

class PictureTags : public LetterPicturesTest, public ::testing::WithParamInterface<TagCase> {};

TEST_P(PictureTags, LocalPictureIsCopiedAndNamedBareAddressIsUsedWhole) {
    const auto& c = GetParam();
    const std::string picture =
        c.local ? dir.Write("pics/logo one.gif", "GIF89a").string() : "http://img.test/a b.gif";
    const std::string tag = PlacePicture(*c.row, picture, output);
    if (c.local) {
        EXPECT_EQ(tag, "<img border=0 src=logo one.gif" + c.tagEnd);
        EXPECT_EQ(TempDir::Read(dir / "site" / "logo one.gif"), "GIF89a");
    } else {
        EXPECT_EQ(tag, "<img border=0 src=http://img.test/a b.gif" + c.tagEnd);
        EXPECT_FALSE(std::filesystem::exists(dir / "site" / "a b.gif"));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, PictureTags,
                         ::testing::Values(TagCase{&kHeaderPictureRow, true, "><br><br>"},
                                           TagCase{&kHeaderPictureRow, false, "><br><br>"},
                                           TagCase{&kCoverPictureRow, true, ">"},
                                           TagCase{&kCoverPictureRow, false, ">"},
                                           TagCase{&kFooterPictureRow, true, ">"},
                                           TagCase{&kFooterPictureRow, false, "><br><br>"}));

TEST_F(LetterPicturesTest, AccentedFoldersInWindows1252TextAreFoundOnDisk) {
    // The window hands over Windows-1252 text; the folders on disk are named in UTF-8.
    std::filesystem::create_directories(dir / "pics" / "caf\xC3\xA9");
    std::filesystem::create_directories(dir / "site" / "\xC3\xA9t\xC3\xA9");
    dir.Write("pics/caf\xC3\xA9/logo.gif", "GIF89a");
    const std::string picture = (dir / "pics").string() + "/caf\xE9/logo.gif";
    const std::string accentedOutput = (dir / "site").string() + "/\xE9t\xE9/index.html";
    EXPECT_EQ(PlacePicture(kCoverPictureRow, picture, accentedOutput),
              "<img border=0 src=logo.gif>");
    EXPECT_EQ(TempDir::Read(dir / "site" / "\xC3\xA9t\xC3\xA9" / "logo.gif"), "GIF89a");
}

TEST_F(LetterPicturesTest, FoldersAndNamesBeyondTheCodePageAreFoundThroughTheirReferences) {
    // Typed in the window, "Łódź" and "ź.gif" reach the core as references.
    std::filesystem::create_directories(dir / "pics" / "\xC5\x81\xC3\xB3\x64\xC5\xBA");
    std::filesystem::create_directories(dir / "site" / "\xE2\x9C\x94");
    dir.Write("pics/\xC5\x81\xC3\xB3\x64\xC5\xBA/kwiat.jpg", "JPEG");
    dir.Write("pics/\xC5\x81\xC3\xB3\x64\xC5\xBA/\xC5\xBA.gif", "GIF89a");
    const std::string folder = (dir / "pics").string() + "/&#321;\xF3\x64&#378;/";
    const std::string output = (dir / "site").string() + "/&#10004;/index.html";
    EXPECT_EQ(PlacePicture(kCoverPictureRow, folder + "kwiat.jpg", output),
              "<img border=0 src=kwiat.jpg>");
    EXPECT_EQ(TempDir::Read(dir / "site" / "\xE2\x9C\x94" / "kwiat.jpg"), "JPEG");
    // The page names the copy by its reference, which browsers read as the character.
    EXPECT_EQ(PlacePicture(kCoverPictureRow, folder + "&#378;.gif", output),
              "<img border=0 src=&#378;.gif>");
    EXPECT_EQ(TempDir::Read(dir / "site" / "\xE2\x9C\x94" / "\xC5\xBA.gif"), "GIF89a");
}

TEST_F(LetterPicturesTest, EmptyFieldGivesNothing) {
    EXPECT_EQ(PlacePicture(kHeaderPictureRow, "", output), "");
}

TEST_F(LetterPicturesTest, CopyOverwritesAnOlderCopy) {
    dir.Write("site/logo.gif", "old picture, longer than the new one");
    const auto picture = dir.Write("pics/logo.gif", "new");
    PlacePicture(kHeaderPictureRow, picture.string(), output);
    EXPECT_EQ(TempDir::Read(dir / "site" / "logo.gif"), "new");
}

TEST_F(LetterPicturesTest, MissingPathOrFolderIsUsedAsAnAddressAndNothingIsCopied) {
    for (const std::string& picture :
         {(dir / "pics" / "missing.gif").string(), dir.path().string()}) {
        EXPECT_EQ(PlacePicture(kFooterPictureRow, picture, output),
                  "<img border=0 src=" + picture + "><br><br>");
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir / "site"));
}

TEST_F(LetterPicturesTest, PictureAlreadyBesideTheOutputKeepsItsContent) {
    const auto picture = dir.Write("site/logo.gif", "GIF89a original");
    EXPECT_EQ(PlacePicture(kCoverPictureRow, picture.string(), output),
              "<img border=0 src=logo.gif>");
    EXPECT_EQ(TempDir::Read(picture), "GIF89a original");
    // The same file reached through another spelling of its path.
    const std::string other = (dir / "site" / "." / "logo.gif").string();
    PlacePicture(kCoverPictureRow, other, output);
    EXPECT_EQ(TempDir::Read(picture), "GIF89a original");
}

TEST_F(LetterPicturesTest, FailedCopyStillNamesTheFile) {
    const auto picture = dir.Write("pics/logo.gif", "GIF");
    const std::string nowhere = (dir / "no-such-folder" / "index.html").string();
    EXPECT_EQ(PlacePicture(kHeaderPictureRow, picture.string(), nowhere),
              "<img border=0 src=logo.gif><br><br>");
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

TEST_F(LetterPicturesTest, SameFileNameFromTwoFoldersLastCopyWins) {
    std::filesystem::create_directories(dir / "other");
    const auto header = dir.Write("pics/same.gif", "header");
    const auto cover = dir.Write("other/same.gif", "cover");
    LetterValues values;
    values.outputFileName = output;
    values.headerPicture = header.string();
    values.coverPicture = cover.string();
    EXPECT_EQ(MergeLetter("%%HEADERPICTURE%%%%ECOVERPICTURE%%", values),
              "<img border=0 src=same.gif><br><br><img border=0 src=same.gif>");
    EXPECT_EQ(TempDir::Read(dir / "site" / "same.gif"), "cover");
}

} // namespace
} // namespace scribvane
