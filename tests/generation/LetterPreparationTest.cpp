// Preparing a letter: which template it gets, and which files go beside its page in each
// picture placement. Every way out prepares its letter here, so these choices are made once.
#include "generation/LetterPreparation.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace scribvane {
namespace {

using testing::TempDir;

TEST(PrepareLetter, ChoosesTheNamedTemplateElseTheStoredOneWhileItIsThereElseTheFirst) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Templates");
    dir.Write("Templates/Alpha.tem", "alpha %%PAGETITLE%%");
    dir.Write("Templates/Beta.tem", "beta %%PAGETITLE%%");
    const struct {
        std::optional<std::string> named;
        std::string stored;
        std::string chosen;
        std::string page; // empty: no template
    } cases[] = {
        {std::nullopt, "", "Alpha", "alpha T\r\n"},
        {std::nullopt, "beta", "beta", "beta T\r\n"},
        {std::nullopt, "Gone", "Alpha", "alpha T\r\n"},
        {std::string("Beta"), "Alpha", "Beta", "beta T\r\n"},
        {std::string("Gone"), "Alpha", "Gone", ""},
        {std::string(), "Alpha", "", ""},
    };
    for (const auto& c : cases) {
        LetterRequest request;
        request.configuration.Set(Tag::PageTitle, std::string("T"));
        request.configuration.SetOptional(OptionalTag::Template, c.stored);
        request.templateFolder = dir / "Templates";
        request.templateName = c.named;
        const PreparedLetter letter = PrepareLetter(std::move(request));
        EXPECT_EQ(letter.values.templateName, c.chosen) << c.stored;
        EXPECT_EQ(letter.HasTemplate(), !c.page.empty()) << c.chosen;
        EXPECT_EQ(letter.Page(), c.page) << c.chosen;
    }
}

TEST(PrepareLetter, ListsTheCopiesOnlyWhenPicturesGoBesideThePageAndCopiesNothingItself) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Templates");
    std::filesystem::create_directories(dir / "site");
    dir.Write("Templates/Plain.tem", "%%HEADERPICTURE%%%%ECOVERPICTURE%%%%FOOTERPICTURE%%");
    const std::string picture = dir.Write("logo.gif", "GIF89a").string();
    const struct {
        PicturePlacement placement;
        std::size_t files;
        std::string page;
    } cases[] = {
        {PicturePlacement::CopyBeside, 1,
         "<img border=0 src=logo.gif><br><br><img border=0 src=logo.gif>"
         "<img border=0 src=http://x.test/f.gif><br><br>\r\n"},
        {PicturePlacement::Embed, 0,
         "<img border=0 src=\"data:image/gif;base64,R0lGODlh\"><br><br>"
         "<img border=0 src=\"data:image/gif;base64,R0lGODlh\">"
         "<img border=0 src=http://x.test/f.gif><br><br>\r\n"},
    };
    for (const auto& c : cases) {
        LetterRequest request;
        request.configuration.Set(Tag::HeaderPicture, picture);
        request.configuration.Set(Tag::CoverPicture, picture); // one picture, one copy
        request.configuration.Set(Tag::FooterPicture, std::string("http://x.test/f.gif"));
        request.templateFolder = dir / "Templates";
        request.outputFileName = (dir / "site" / "index.html").string();
        request.placement = c.placement;
        const PreparedLetter letter = PrepareLetter(std::move(request));
        ASSERT_EQ(letter.files.size(), c.files);
        if (c.files != 0) {
            EXPECT_EQ(letter.files[0].name, "logo.gif");
            EXPECT_EQ(letter.files[0].source, std::filesystem::path(picture));
        }
        EXPECT_EQ(letter.Page(), c.page);
        EXPECT_TRUE(std::filesystem::is_empty(dir / "site"));
    }
}

} // namespace
} // namespace scribvane
