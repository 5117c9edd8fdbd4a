// The letter check: what is likely wrong with a letter, from its values and its template. The
// letter keeps its format (values go in unescaped and unquoted); the check tells the user
// about the traps of that format instead of changing a byte.
#pragma once

#include "generation/LetterValues.h"
#include "persistence/LetterField.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

enum class Severity {
    Error,   // the letter cannot do its job
    Warning, // it probably shows or works wrong
    Tip,     // it could be better
};

// "error", "warning", "tip".
std::string_view SeverityName(Severity severity);

struct Finding {
    Severity severity;
    LetterField field;    // where the user changes what the finding is about
    std::string sentence; // plain Windows-1252 text for the user
    std::string action;   // what to do; may be empty
};

struct CheckInput {
    // The chosen template's text; nullopt when there is no such template.
    std::optional<std::string_view> templateText;
    bool checkOutput = true; // the command checks the output name only when it is given
    // What making the pictures for the web found, reported with the other picture findings.
    std::vector<Finding> pictureFindings;
};

// Every finding, errors first, in the order of the wizard's pages within a severity. Linear in
// the size of the values; reads the picture files' metadata and the output folder, nothing else.
std::vector<Finding> CheckLetter(const LetterValues& values, const CheckInput& input);

bool HasError(const std::vector<Finding>& findings);

// The WCAG contrast ratio of two colours (1 to 21).
double ContrastRatio(ColorValue first, ColorValue second);

} // namespace scribvane
