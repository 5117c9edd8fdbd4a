// The letter merge: the chosen template with the letter's values put in place of its
// placeholders, in a fixed order of 21 steps.
#pragma once

#include "generation/LetterValues.h"
#include "generation/MergeSteps.h"
#include "generation/PageEncoding.h"

#include <string>
#include <string_view>

namespace scribvane {

class TextSink;

// The template as the merge reads it: its lines joined with CR LF after each, nothing after
// a NUL byte, as Windows-1252 text (see TemplateTextAsAnsi). Throws FileError when the file
// cannot be read.
std::string ReadTemplateText(const std::filesystem::path& path);

// Runs the placeholder steps over a page text, handing it to `out` front to back in pieces,
// never holding the whole page: a letter of megabytes goes straight to its file. Writes
// nothing else: the pictures were placed before.
void MergePageInto(std::string_view page, const MergeInput& input, TextSink& out);
// The same collected into one text.
std::string MergePage(std::string_view page, const MergeInput& input);

// The whole merge of a page text with the values: its pictures placed, local ones copied into
// the output folder when placed beside it, and the steps run. (Preparing a letter for a way
// out is PrepareLetter's; this is the merge alone, for a page text at hand.)
std::string MergeLetter(std::string page, const LetterValues& values);
void MergeLetterInto(std::string_view page, const LetterValues& values, TextSink& out);

// The page for these values: the template named values.templateName (+ ".tem", ASCII case
// ignored) in values.templateFolder, merged. Empty, with nothing copied, when there is no
// such template; a template that exists but cannot be read throws FileError.
std::string GenerateLetter(const LetterValues& values);

// The same page with the encoding its template asks it to be written in.
struct GeneratedLetter {
    std::string page;
    PageEncoding encoding = PageEncoding::Windows1252;
};
GeneratedLetter GenerateLetterPage(const LetterValues& values);

} // namespace scribvane
