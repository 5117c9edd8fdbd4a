// Preparing a letter for every way out: "Save generated code", the preview, the gallery's
// thumbnails, the check, publishing from the window and from the command line, and
// scribvane-generate all start here. From a configuration, a template choice, an output name
// and a picture placement it gives what each of them needs: the letter's values, its template
// and writer, where its pictures went, the files that belong beside the page, and the page.
// Nothing else chooses a template, makes letter values or decides where pictures go.
#pragma once

#include "generation/BlockWriter.h"
#include "generation/LetterCheck.h"
#include "generation/LetterFiles.h"
#include "generation/LetterValues.h"
#include "generation/PageEncoding.h"
#include "generation/PlacedPictures.h"
#include "generation/WebPictures.h"
#include "persistence/LetterConfiguration.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace scribvane {

class TextSink;

// Template texts read before, kept while their file's name and modification time stay, so a
// letter prepared again after every change does not read its template again.
class TemplateTextCache {
public:
    // The text of `file`; throws FileError when it cannot be read.
    const std::string& Text(const std::filesystem::path& file);
    // How often a file was read.
    int Reads() const { return reads_; }

private:
    std::filesystem::path file_;
    std::filesystem::file_time_type modified_{};
    std::string text_;
    bool held_ = false;
    int reads_ = 0;
};

struct LetterRequest {
    LetterConfiguration configuration;
    std::filesystem::path templateFolder;
    // The template to use; without one, the configuration's stored choice while the folder
    // holds it, else the first of the catalogue.
    std::optional<std::string> templateName;
    std::string outputFileName; // Windows-1252; also names the folder pictures go into
    PicturePlacement placement = PicturePlacement::CopyBeside;
    // Where visitors find the published letter's folder (only publishing knows it).
    std::string publicAddress;
    TemplateTextCache* templates = nullptr; // optional
    // Pictures made for the web (html5 templates only): the cache is looked in first, and the
    // maker makes what it lacks. Without a maker a picture the cache lacks is left pending (it
    // goes as it is); without a cache every picture is made afresh.
    PictureCache* pictureCache = nullptr;
    const PictureMaker* pictureMaker = nullptr;
};

struct PreparedLetter {
    LetterValues values; // values.templateName is the template chosen
    // The template's file and text; no file when the folder has no such template.
    std::optional<std::filesystem::path> templateFile;
    std::string templateText;
    const BlockWriter* writer = &LegacyWriter();
    PageEncoding encoding = PageEncoding::Windows1252;
    LetterPictures pictures;
    // Everything written beside the page, in the order it is written: the pictures' copies
    // first.
    std::vector<LetterFile> files;
    // What became of each picture field, in PictureRole order, and what the check should say
    // about it.
    std::array<PictureReport, 3> pictureReports;
    std::vector<Finding> pictureFindings;
    // What writing the policy pages found (a file of the user's that cannot be read).
    std::vector<Finding> policyFindings;

    bool HasTemplate() const { return templateFile.has_value(); }
    // The merged page (Windows-1252); empty without a template.
    std::string Page() const;
    // The same handed to `out` in pieces, never held whole.
    void WritePage(TextSink& out) const;
    // The check of this letter. `checkOutput`: whether the output name is looked at (the
    // command checks it only when given).
    std::vector<Finding> Check(bool checkOutput = true) const;
    // Whether a picture still waits for a maker.
    bool PicturesPending() const;
};

// Throws FileError when the chosen template exists but cannot be read.
PreparedLetter PrepareLetter(LetterRequest request);

} // namespace scribvane
