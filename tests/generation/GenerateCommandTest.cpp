// End-to-end runs of the built scribvane-generate: each case lays out its own program folder
// (a copy of the binary, config.dat, Templates/) and checks streams, status and files.
#include "persistence/ConfigFormat.h"
#include "persistence/LetterConfiguration.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace scribvane {
namespace {

using testing::TempDir;

constexpr std::string_view kSuccess = "You have successfully saved your file as:";
constexpr std::string_view kNoLocation =
    "Please select a location where you want to save your output file.\n";

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the program in `folder` with that folder as working directory.
Outcome RunProgram(const TempDir& dir, const std::vector<std::string>& arguments) {
    const auto exe = dir / "scribvane-generate";
    const auto outFile = dir / ".stdout";
    const auto errFile = dir / ".stderr";
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::chdir(dir.path().c_str()) != 0) {
            ::_exit(127);
        }
        std::vector<char*> argv{const_cast<char*>(exe.c_str())};
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    Outcome outcome;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        outcome.status = WEXITSTATUS(status);
    }
    outcome.out = TempDir::Read(outFile);
    outcome.err = TempDir::Read(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return outcome;
}

// Configuration texts at the wizard's initial values, to be changed per case.
ConfigTexts InitialTexts() {
    return LetterConfiguration().ToTexts();
}

void WriteConfig(const TempDir& dir, const ConfigTexts& texts,
                 std::string_view name = "config.dat") {
    dir.Write(name, WriteConfiguration(texts));
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct CommandCase {
    std::string name;
    std::function<void(const TempDir&)> setUp;
    std::vector<std::string> arguments;
    int status;
    std::string out; // exact
    std::string err; // prefix, after "@" is replaced by the program folder
    std::function<void(const TempDir&)> check;
};

std::ostream& operator<<(std::ostream& out, const CommandCase& c) {
    return out << c.name;
}

class GenerateCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(GenerateCommand, Runs) {
    const auto& c = GetParam();
    TempDir dir;
    std::filesystem::copy_file(std::filesystem::path(SCRIBVANE_BIN_DIR) / "scribvane-generate",
                               dir / "scribvane-generate");
    std::filesystem::create_directories(dir / "Templates");
    std::filesystem::create_directories(dir / "site");
    c.setUp(dir);

    const Outcome outcome = RunProgram(dir, c.arguments);

    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    EXPECT_EQ(outcome.out, c.out);
    std::string err = c.err;
    if (const auto at = err.find('@'); at != std::string::npos) {
        err.replace(at, 1, dir.path().string());
    }
    EXPECT_EQ(outcome.err.substr(0, err.size()), err) << outcome.err;
    EXPECT_EQ(c.status == 0, outcome.err.empty()) << outcome.err;
    if (c.check) {
        c.check(dir);
    }
}

// The template of most cases and its page for the initial configuration with a title.
constexpr std::string_view kTemplate = "<title>%%PAGETITLE%%</title>\n%%HEADERPICTURE%%\n";

void Standard(const TempDir& dir) {
    auto texts = InitialTexts();
    texts[Index(Tag::PageTitle)] = "Hello";
    WriteConfig(dir, texts);
    dir.Write("Templates/Classic.tem", kTemplate);
}

void NothingWritten(const TempDir& dir) {
    EXPECT_TRUE(std::filesystem::is_empty(dir / "site")) << FilesIn(dir / "site").front();
}

// A configuration whose FSize does not read, with a local header picture that must not be
// copied because the run stops before the merge.
void BadSize(const TempDir& dir) {
    auto texts = InitialTexts();
    texts[Index(Tag::FSize)] = "abc";
    texts[Index(Tag::HeaderPicture)] = (dir / "logo.gif").string();
    dir.Write("logo.gif", "GIF");
    WriteConfig(dir, texts);
    dir.Write("Templates/Classic.tem", kTemplate);
}

const std::vector<CommandCase> kCommandCases = {
    {"DefaultsBesideTheProgram",
     Standard,
     {"--output", "site/index.html"},
     0,
     std::string(kSuccess) + "site/index.html\n",
     "",
     [](const TempDir& dir) {
         EXPECT_EQ(TempDir::Read(dir / "site" / "index.html"), "<title>Hello</title>\r\n\r\n");
     }},
    {"ConfiguredValuesGoThroughTheirTypes",
     [](const TempDir& dir) {
         auto texts = InitialTexts();
         texts[Index(Tag::MainBgColor)] = "#abcdef";
         texts[Index(Tag::FColor)] = "#FF00";
         texts[Index(Tag::FSize)] = "0x1A";
         texts[Index(Tag::FName)] = "";
         texts[Index(Tag::TName)] = "Verdana";
         texts[Index(Tag::FBold)] = "true";
         texts[Index(Tag::Features)] = "^Fast^Very$$fast^\r\n";
         texts[Index(Tag::prfEditor11)] = "&nbsp;";
         texts[Index(Tag::prfEditor10)] = "<p>Bye</p>";
         texts[Index(Tag::PaypalCode)] = "<form>\r\n</form>";
         WriteConfig(dir, texts, "my.dat");
         std::filesystem::create_directory(dir / "tpl");
         dir.Write("tpl/letter.tem",
                   "%%MAINBGCOLOR%%|%%CLOSING%%|%%PS%%|%%PAYPALCODE%%\n%%FEATURES%%\n");
     },
     {"--config", "my.dat", "--templates", "tpl", "--output", "out.html"},
     0,
     std::string(kSuccess) + "out.html\n",
     "",
     [](const TempDir& dir) {
         EXPECT_EQ(TempDir::Read(dir / "out.html"),
                   "#ABCDEF|<p>Bye</p>||<form>\r\n</form>\r\n"
                   "<center><table border=0 cellpadding=0 cellspacing=0 style=\"border-collapse: "
                   "collapse\" bordercolor=#111111 width=\"90%\" bgcolor=\"#FFFFD9\"><tr><td "
                   "width=90%><ul><li><p><font face=\"Arial\" style=\"font-size: 26px; "
                   "font-style: normal; font-weight: bold; text-decoration:  normal;\" "
                   "color=\"#FF0000\">Fast - Very<br>fast</font></p></li></ul></td></tr></table>"
                   "</center>\r\n");
     }},
    {"FirstTemplateOfTheCatalogue",
     [](const TempDir& dir) {
         WriteConfig(dir, InitialTexts());
         dir.Write("Templates/b.tem", "b");
         dir.Write("Templates/A.tem", "a");
         dir.Write("Templates/.early.tem", "hidden");
     },
     {"--output", "site/x.html"},
     0,
     std::string(kSuccess) + "site/x.html\n",
     "",
     [](const TempDir& dir) { EXPECT_EQ(TempDir::Read(dir / "site" / "x.html"), "a\r\n"); }},
    {"TemplateChosenByNameIgnoringCase",
     [](const TempDir& dir) {
         WriteConfig(dir, InitialTexts());
         dir.Write("Templates/a.tem", "a");
         dir.Write("Templates/sales.tem", "sales");
     },
     {"--template", "SALES", "--output", "site/x.html"},
     0,
     std::string(kSuccess) + "site/x.html\n",
     "",
     [](const TempDir& dir) { EXPECT_EQ(TempDir::Read(dir / "site" / "x.html"), "sales\r\n"); }},
    {"LocalPictureIsCopiedBesideTheOutput",
     [](const TempDir& dir) {
         auto texts = InitialTexts();
         texts[Index(Tag::HeaderPicture)] = (dir / "logo.gif").string();
         dir.Write("logo.gif", "GIF");
         WriteConfig(dir, texts);
         dir.Write("Templates/Classic.tem", kTemplate);
     },
     {"--output", "site/index.html"},
     0,
     std::string(kSuccess) + "site/index.html\n",
     "",
     [](const TempDir& dir) {
         EXPECT_EQ(TempDir::Read(dir / "site" / "logo.gif"), "GIF");
         EXPECT_EQ(TempDir::Read(dir / "site" / "index.html"),
                   "<title></title>\r\n<img border=0 src=logo.gif><br><br>\r\n");
     }},
    {"ExistingOutputIsReplaced",
     [](const TempDir& dir) {
         Standard(dir);
         dir.Write("site/index.html", "an older and much longer letter");
     },
     {"--output", "site/index.html"},
     0,
     std::string(kSuccess) + "site/index.html\n",
     "",
     [](const TempDir& dir) {
         EXPECT_EQ(TempDir::Read(dir / "site" / "index.html"), "<title>Hello</title>\r\n\r\n");
     }},
    {"AccentedOutputNameNamesTheSameFileOnDisk",
     Standard,
     {"--output", "site/caf\xC3\xA9.html"},
     0,
     std::string(kSuccess) + "site/caf\xC3\xA9.html\n",
     "",
     [](const TempDir& dir) {
         EXPECT_EQ(FilesIn(dir / "site"), std::vector<std::string>{"caf\xC3\xA9.html"});
     }},
    {"Help",
     [](const TempDir&) {},
     {"--help"},
     0,
     "Usage: scribvane-generate [--config FILE] [--templates DIR] [--template NAME] --output "
     "FILE\n\nWrites the sales letter of a saved configuration, as the wizard does after Load\n"
     "Configuration and \"Save generated code\".\n\n"
     "  --config FILE     the saved configuration (default: config.dat beside the program)\n"
     "  --templates DIR   the template folder (default: Templates beside the program)\n"
     "  --template NAME   the template to use, NAME.tem in any letter case\n"
     "                    (default: the first template of the folder)\n"
     "  --output FILE     the HTML file to write; local pictures are copied beside it\n"
     "  --original-pictures\n"
     "                    send local pictures as they were taken, not made for the web\n"
     "  --help            show this text\n",
     "",
     nullptr},

    // Errors.
    {"MissingConfig",
     [](const TempDir& dir) { dir.Write("Templates/Classic.tem", kTemplate); },
     {"--output", "site/index.html"},
     1,
     "",
     "Cannot open file \"@/config.dat\". No such file or directory\n",
     NothingWritten},
    {"BadSizeStopsBeforeAnyCopy",
     BadSize,
     {"--output", "site/index.html"},
     1,
     "",
     "'abc' is not a valid integer value\n",
     NothingWritten},
    {"BadConfigIsReportedBeforeTheEmptyOutputName",
     BadSize,
     {"--output", ""},
     1,
     "",
     "'abc' is not a valid integer value\n",
     NothingWritten},
    {"MissingSizeTag",
     [](const TempDir& dir) {
         dir.Write("config.dat", "<%%PageTitle%%>x<%%/PageTitle%%>\r\n");
         dir.Write("Templates/Classic.tem", kTemplate);
     },
     {"--output", "site/index.html"},
     1,
     "",
     "'' is not a valid integer value\n",
     NothingWritten},
    {"EmptyOutputName",
     Standard,
     {"--output", ""},
     1,
     "",
     std::string(kNoLocation),
     NothingWritten},
    {"NoOutputOption", Standard, {}, 1, "", std::string(kNoLocation), NothingWritten},
    {"NoTemplateInTheFolder",
     [](const TempDir& dir) {
         auto texts = InitialTexts();
         texts[Index(Tag::HeaderPicture)] = (dir / "logo.gif").string();
         dir.Write("logo.gif", "GIF");
         WriteConfig(dir, texts);
         dir.Write("Templates/Sales.TEM", "not found as Sales.TEM.tem");
     },
     {"--output", "site/index.html"},
     1,
     "",
     "No template \"Sales.TEM.tem\" in \"@/Templates\"; nothing was written.\n",
     NothingWritten},
    {"EmptyTemplateFolder",
     [](const TempDir& dir) { WriteConfig(dir, InitialTexts()); },
     {"--output", "site/index.html"},
     1,
     "",
     "No template found in \"@/Templates\"; nothing was written.\n",
     NothingWritten},
    {"UnknownTemplateName",
     Standard,
     {"--template", "Modern", "--output", "site/index.html"},
     1,
     "",
     "No template \"Modern.tem\" in \"@/Templates\"; nothing was written.\n",
     NothingWritten},
    {"EmptyTemplateWritesNothingButCopiesPictures",
     [](const TempDir& dir) {
         auto texts = InitialTexts();
         texts[Index(Tag::CoverPicture)] = (dir / "cover.jpg").string();
         dir.Write("cover.jpg", "JPEG");
         WriteConfig(dir, texts);
         dir.Write("Templates/Classic.tem", "");
     },
     {"--output", "site/index.html"},
     1,
     "",
     "The template \"Classic\" gives an empty page; nothing was written.\n",
     [](const TempDir& dir) {
         EXPECT_EQ(FilesIn(dir / "site"), std::vector<std::string>{"cover.jpg"});
     }},
    {"OutputFolderMissing",
     Standard,
     {"--output", "nowhere/index.html"},
     1,
     "",
     "Cannot create file \"@/nowhere/index.html\". No such file or directory\n",
     [](const TempDir& dir) { EXPECT_FALSE(std::filesystem::exists(dir / "nowhere")); }},
    {"OutputIsAFolder",
     Standard,
     {"--output", "site"},
     1,
     "",
     "Cannot create file \"@/site\". ",
     NothingWritten},

    // The letter check and the one-file letter.
    {"CheckPrintsTheFindingsAndWritesNothing",
     [](const TempDir& dir) {
         Standard(dir);
         dir.Write("logo.gif", "GIF");
     },
     {"--check", "--output", "site/index.txt"},
     1,
     "error: DirectLink: The letter has no way to order.\n"
     "warning: prfEditor1: The letter has no headline.\n"
     "warning: Output: The output file name does not end in .html or .htm.\n"
     "tip: Testimonials: The letter has no testimonials.\n",
     "The letter check found an error; nothing was written.\n",
     NothingWritten},
    {"CheckWithoutErrorsSucceedsAndLeavesTheOutputUnchecked",
     [](const TempDir& dir) {
         auto texts = InitialTexts();
         texts[Index(Tag::PageTitle)] = "Hello";
         texts[Index(Tag::DirectLink)] = "https://shop.example/order";
         texts[Index(Tag::prfEditor1)] = "<b>Grow more</b>";
         WriteConfig(dir, texts);
         dir.Write("Templates/Classic.tem", kTemplate);
     },
     {"--check"},
     0,
     "tip: Testimonials: The letter has no testimonials.\n",
     "",
     NothingWritten},
    {"EmbeddedPicturesAreNotCopied",
     [](const TempDir& dir) {
         auto texts = InitialTexts();
         texts[Index(Tag::HeaderPicture)] = (dir / "logo.gif").string();
         dir.Write("logo.gif", "GIF");
         WriteConfig(dir, texts);
         dir.Write("Templates/Classic.tem", kTemplate);
     },
     {"--embed-pictures", "--output", "site/index.html"},
     0,
     std::string(kSuccess) + "site/index.html\n",
     "",
     [](const TempDir& dir) {
         EXPECT_EQ(FilesIn(dir / "site"), std::vector<std::string>{"index.html"});
         EXPECT_EQ(
             TempDir::Read(dir / "site" / "index.html"),
             "<title></title>\r\n<img border=0 src=\"data:image/gif;base64,R0lG\"><br><br>\r\n");
     }},

    // Usage errors.
    {"UnknownOption",
     Standard,
     {"--bogus", "--output", "site/index.html"},
     2,
     "",
     "scribvane-generate: unknown argument '--bogus'\nUsage: scribvane-generate ",
     NothingWritten},
    {"PositionalArgument",
     Standard,
     {"site/index.html"},
     2,
     "",
     "scribvane-generate: unknown argument 'site/index.html'\nUsage: ",
     NothingWritten},
    {"MissingOptionValue",
     Standard,
     {"--output"},
     2,
     "",
     "scribvane-generate: option '--output' needs a value\nUsage: ",
     NothingWritten},
};

INSTANTIATE_TEST_SUITE_P(Cases, GenerateCommand, ::testing::ValuesIn(kCommandCases),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace scribvane
