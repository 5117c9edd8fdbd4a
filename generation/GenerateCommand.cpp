// scribvane-generate; see GenerateCommand.h.
#include "generation/GenerateCommand.h"

#include "generation/LetterCheck.h"
#include "generation/LetterOutput.h"
#include "generation/LetterPreparation.h"
#include "generation/TemplateCatalogue.h"
#include "persistence/LetterConfiguration.h"
#include "utils/Errors.h"
#include "utils/FileIo.h"
#include "utils/Win1252.h"

#include <exception>
#include <optional>
#include <ostream>

namespace scribvane {
namespace {

constexpr std::string_view kUsage =
    "Usage: scribvane-generate [--config FILE] [--templates DIR] [--template NAME] --output "
    "FILE\n";

constexpr std::string_view kHelp =
    "Writes the sales letter of a saved configuration, as the wizard does after Load\n"
    "Configuration and \"Save generated code\".\n"
    "\n"
    "  --config FILE     the saved configuration (default: config.dat beside the program)\n"
    "  --templates DIR   the template folder (default: Templates beside the program)\n"
    "  --template NAME   the template to use, NAME.tem in any letter case\n"
    "                    (default: the first template of the folder)\n"
    "  --output FILE     the HTML file to write; local pictures are copied beside it\n"
    "  --original-pictures\n"
    "                    send local pictures as they were taken, not made for the web\n"
    "  --help            show this text\n";

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct Options {
    std::optional<std::string> config;
    std::optional<std::string> templates;
    std::optional<std::string> templateName;
    std::string output; // empty when not given: reported like an empty output name
    bool outputGiven = false;
    bool help = false;
    bool check = false;
    bool embedPictures = false;
    bool originalPictures = false;
};

// Fills `options` or returns the usage error's first line.
std::optional<std::string> Parse(const std::vector<std::string>& arguments, Options& options) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help") {
            options.help = true;
            continue;
        }
        if (option == "--check") {
            options.check = true;
            continue;
        }
        if (option == "--embed-pictures") {
            options.embedPictures = true;
            continue;
        }
        if (option == "--original-pictures") {
            options.originalPictures = true;
            continue;
        }
        std::string* target = nullptr;
        if (option == "--config") {
            target = &options.config.emplace();
        } else if (option == "--templates") {
            target = &options.templates.emplace();
        } else if (option == "--template") {
            target = &options.templateName.emplace();
        } else if (option == "--output") {
            target = &options.output;
            options.outputGiven = true;
        } else {
            return "unknown argument '" + option + "'";
        }
        if (i + 1 == arguments.size()) {
            return "option '" + option + "' needs a value";
        }
        *target = arguments[++i];
    }
    return std::nullopt;
}

std::string Quoted(const std::filesystem::path& path) {
    std::error_code ignored;
    const auto absolute = std::filesystem::absolute(path, ignored);
    return "\"" + (absolute.empty() ? path : absolute).string() + "\"";
}

// The terminal speaks UTF-8; the letter's texts and the core's messages are Windows-1252.
std::string ForTerminal(std::string_view text) {
    return AnsiToShownUtf8(text);
}

// Prints the findings and writes nothing; the output name is checked only when given.
int Check(const PreparedLetter& letter, bool outputGiven, std::ostream& out, std::ostream& err) {
    const auto findings = letter.Check(outputGiven);
    for (const auto& finding : findings) {
        out << SeverityName(finding.severity) << ": " << finding.field.Name() << ": "
            << ForTerminal(finding.sentence) << '\n';
    }
    if (!HasError(findings)) {
        return 0;
    }
    err << "The letter check found an error; nothing was written.\n";
    return kFailed;
}

int Generate(const Options& options, const std::filesystem::path& programFolder,
             const PictureMaker* pictures, std::ostream& out, std::ostream& err) {
    LetterRequest request;
    request.templateFolder =
        options.templates ? std::filesystem::path(*options.templates) : programFolder / "Templates";
    const std::filesystem::path configFile =
        options.config ? std::filesystem::path(*options.config) : programFolder / "config.dat";
    const std::filesystem::path templates = request.templateFolder;

    const bool noTemplates = TemplateCatalogue(templates).empty();
    request.configuration = ReadMappedConfigurationFile(configFile);
    request.templateName = options.templateName;
    // The output name joins the letter's Windows-1252 texts, as the window's edit gives it;
    // the core turns it back into a file name.
    request.outputFileName = Utf8ToAnsi(options.output);
    request.placement = SavedPlacement(options.embedPictures);
    if (options.originalPictures) {
        request.configuration.SetOptional(OptionalTag::OriginalPictures, "-1");
    }
    PictureCache cache(PictureCache::DefaultFolder());
    request.pictureCache = &cache;
    request.pictureMaker = pictures;

    if (options.check) {
        const PreparedLetter letter = PrepareLetter(std::move(request));
        if (pictures == nullptr && letter.PicturesPending()) {
            return kNeedsPictureMaker;
        }
        return Check(letter, options.outputGiven, out, err);
    }
    if (options.output.empty()) {
        err << "Please select a location where you want to save your output file.\n";
        return kFailed;
    }
    if (!options.templateName && noTemplates) {
        err << "No template found in " << Quoted(templates) << "; nothing was written.\n";
        return kFailed;
    }
    const PreparedLetter letter = PrepareLetter(std::move(request));
    if (pictures == nullptr && letter.PicturesPending()) {
        return kNeedsPictureMaker;
    }
    if (!letter.HasTemplate()) {
        err << "No template \"" << letter.values.templateName << ".tem\" in " << Quoted(templates)
            << "; nothing was written.\n";
        return kFailed;
    }
    // The template's lines each end in a CR LF that no step removes, so only an empty
    // template gives an empty page.
    if (letter.templateText.empty()) {
        // As in the wizard, the pictures still go beside the letter that was not written.
        WriteLetterFiles(letter.files, letter.values.outputFileName);
        err << "The template \"" << letter.values.templateName
            << "\" gives an empty page; nothing was written.\n";
        return kFailed;
    }
    WritePreparedLetter(letter);
    out << "You have successfully saved your file as:" << ForTerminal(letter.values.outputFileName)
        << '\n';
    return 0;
}

} // namespace

int RunGenerateCommand(const std::vector<std::string>& arguments,
                       const std::filesystem::path& programFolder, std::ostream& out,
                       std::ostream& err, const PictureMaker* pictures) {
    Options options;
    if (const auto problem = Parse(arguments, options)) {
        err << "scribvane-generate: " << *problem << '\n' << kUsage;
        return kUsageError;
    }
    if (options.help) {
        out << kUsage << '\n' << kHelp;
        return 0;
    }
    try {
        return Generate(options, programFolder, pictures, out, err);
    } catch (const std::exception& failure) {
        // Error carries the user's text; anything else still ends the run with its message.
        err << ForTerminal(failure.what()) << '\n';
        return kFailed;
    }
}

} // namespace scribvane
