// The template catalogue: which files are listed, in which order, under which names, and how
// a name finds its file again.
#include "generation/TemplateCatalogue.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <vector>

namespace scribvane {
namespace {

using testing::TempDir;
using Names = std::vector<std::string>;

struct NameCase {
    std::string fileName;
    std::string name;
};

std::ostream& operator<<(std::ostream& out, const NameCase& c) {
    return out << c.fileName;
}

class TemplateNameRule : public ::testing::TestWithParam<NameCase> {};

TEST_P(TemplateNameRule, RemovesEveryExactExtensionAndRaisesOnlyAToZ) {
    EXPECT_EQ(TemplateNameOf(GetParam().fileName), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TemplateNameRule,
    ::testing::Values(NameCase{"sales.tem", "Sales"}, NameCase{"Classic.tem", "Classic"},
                      NameCase{"my.template.tem", "Myplate"}, NameCase{"Sales.TEM", "Sales.TEM"},
                      NameCase{"Sales.Tem", "Sales.Tem"}, NameCase{".tem", ""},
                      NameCase{"\xE9migr\xE9.tem", "\xE9migr\xE9"},
                      NameCase{"1st offer.tem", "1st offer"}, NameCase{"zebra", "Zebra"},
                      NameCase{"a.tem.tem", "A"}, NameCase{"x.te.temm", "X.tem"}));

class TemplateCatalogueTest : public ::testing::Test {
protected:
    void Create(const Names& fileNames) {
        for (const auto& name : fileNames) {
            dir.Write(name, "<html>%%PAGETITLE%%</html>");
        }
    }
    TempDir dir;
};

TEST_F(TemplateCatalogueTest, ListsTemFilesInFoldedOrderWithRawTieBreak) {
    Create({"sales.tem", "Classic.tem", "b.TEM", "B.tem", "a.tem", "notes.txt", "tem", "Zed.tEm",
            ".hidden.tem", ".tem", "\xE9migr\xE9.tem", "_x.tem", "Y.tem.bak"});
    std::filesystem::create_directory(dir / "folder.tem");

    // Folded, '_' (0x5F) sorts before 'a' and 0xE9 after 'z'; "B.tem" and "b.TEM" fold
    // alike and fall back to their raw bytes.
    EXPECT_EQ(ListTemplateFiles(dir.path()),
              (Names{"_x.tem", "a.tem", "B.tem", "b.TEM", "Classic.tem", "sales.tem", "Zed.tEm",
                     "\xE9migr\xE9.tem"}));
}

TEST_F(TemplateCatalogueTest, NamesFollowTheListing) {
    Create({"sales.tem", "Classic.tem", "my.template.tem", "Sales.TEM"});
    EXPECT_EQ(TemplateCatalogue(dir.path()), (Names{"Classic", "Myplate", "Sales.TEM", "Sales"}));
}

TEST_F(TemplateCatalogueTest, MissingFolderOrFileInsteadOfFolderGivesNothing) {
    EXPECT_TRUE(TemplateCatalogue(dir / "missing").empty());
    Create({"plain.tem"});
    EXPECT_TRUE(TemplateCatalogue(dir / "plain.tem").empty());
}

TEST_F(TemplateCatalogueTest, LinkToARegularFileIsListedDanglingLinkIsNot) {
    Create({"target.txt"});
    std::filesystem::create_symlink(dir / "target.txt", dir / "linked.tem");
    std::filesystem::create_symlink(dir / "gone.txt", dir / "dangling.tem");
    EXPECT_EQ(ListTemplateFiles(dir.path()), (Names{"linked.tem"}));
}

struct LookupCase {
    Names files;
    std::string name;
    std::string found; // empty: nothing found
};

std::ostream& operator<<(std::ostream& out, const LookupCase& c) {
    return out << c.name;
}

class TemplateLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(TemplateLookup, MatchesIgnoringAsciiCaseFirstInCatalogueOrder) {
    TempDir dir;
    for (const auto& file : GetParam().files) {
        dir.Write(file, "x");
    }
    const auto found = FindTemplateFile(dir.path(), GetParam().name);
    if (GetParam().found.empty()) {
        EXPECT_FALSE(found.has_value()) << *found;
    } else {
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(*found, dir / GetParam().found);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TemplateLookup,
    ::testing::Values(LookupCase{{"sales.tem"}, "Sales", "sales.tem"},
                      LookupCase{{"SALES.TEM"}, "sales", "SALES.TEM"},
                      LookupCase{{"sales.tem", "Sales.tem", "SALES.tem"}, "Sales", "SALES.tem"},
                      LookupCase{{"my.template.tem"}, "Myplate", ""},
                      LookupCase{{"Sales.TEM"}, "Sales.TEM", ""},
                      LookupCase{{"\xE9migr\xE9.tem"}, "\xC9migr\xE9", ""},
                      LookupCase{{"\xE9migr\xE9.tem"}, "\xE9MIGR\xE9", "\xE9migr\xE9.tem"},
                      LookupCase{{".tem"}, "", ".tem"}, LookupCase{{"a.tem"}, "../a", ""},
                      LookupCase{{}, "Classic", ""}));

TEST(PreviewLookup, FindsTheJpgOfATemplateNameIgnoringCase) {
    TempDir dir;
    dir.Write("classic.JPG", "jpeg");
    ASSERT_TRUE(FindPreviewFile(dir.path(), "Classic").has_value());
    EXPECT_EQ(*FindPreviewFile(dir.path(), "Classic"), dir / "classic.JPG");
    EXPECT_FALSE(FindPreviewFile(dir.path(), "Sales").has_value());
}

} // namespace
} // namespace scribvane

namespace scribvane {
namespace {

TEST(ChosenTemplate, StoredNameWhenTheFolderHoldsItElseTheFirst) {
    TempDir dir;
    dir.Write("Alpha.tem", "a");
    dir.Write("beta.tem", "b");
    const std::vector<std::string> catalogue = TemplateCatalogue(dir.path());
    struct Case {
        std::vector<std::string> catalogue;
        std::string stored, chosen;
    };
    const Case cases[] = {
        {catalogue, "", "Alpha"},
        {catalogue, "BETA", "BETA"},
        {catalogue, "Gone", "Alpha"},
        {{}, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChosenTemplate(c.catalogue, dir.path(), c.stored), c.chosen) << c.stored;
    }
}

} // namespace
} // namespace scribvane
