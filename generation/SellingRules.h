// The rules of selling the letter check knows: what a payment network and the laws on
// advertising ask a sales letter to say. Each finding names its rule's source and leads to the
// field that settles it; the check never changes the letter.
#pragma once

#include "generation/LetterCheck.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace scribvane {

// Adds the findings of the rules for `values`, judged at `nowSeconds` (seconds since 1970 UTC),
// with the chosen template's text when there is one.
void CheckSellingRules(const LetterValues& values, std::optional<std::string_view> templateText,
                       std::int64_t nowSeconds, std::vector<Finding>& findings);

// Whether a text (markup allowed) states a result a reader may expect for themselves: a number
// with a unit or an amount of money, or a word such as "lost", "earned" or "grew".
bool StatesResult(std::string_view text);

// Whether a text (markup allowed) presses for haste: "only today", "expires in", "hours left",
// "last chance" and the like.
bool SpeaksOfUrgency(std::string_view text);

} // namespace scribvane
