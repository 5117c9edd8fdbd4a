// The privacy policy and terms of sale written beside a letter that names its seller: shipped
// texts in the letter's language (German or English) with the seller's details, order options,
// deadline and results statement filled in, in the head and look of the letter's template.
// The user may send files of their own instead.
#pragma once

#include "generation/LetterFiles.h"
#include "generation/LetterValues.h"

#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

enum class PolicyKind { Privacy, Terms };

// "privacy.html", "terms.html": the names the letter's footer links to.
std::string_view PolicyFileName(PolicyKind kind);

// The shipped page, Windows-1252 with CR LF line ends, as the letter's page is before it is
// written: `templateText` gives its head (styles, language, colours), `uses` the services the
// letter loads, which the privacy policy lists.
std::string ShippedPolicyPage(PolicyKind kind, const LetterValues& values,
                              std::string_view templateText, const std::vector<DataUse>& uses);

} // namespace scribvane
