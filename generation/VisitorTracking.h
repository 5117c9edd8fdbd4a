// Learning what sells, in an html5 letter: the visitor counters and trackers, the consent
// notice that holds back everything that stores an identifier until the visitor agrees, and
// the headline test, whose headline every order link carries so the payment network counts
// sales per headline. Counters that set no cookie load at once; nothing else asks another
// host for anything before consent.
#pragma once

#include "generation/LetterFiles.h"
#include "generation/LetterValues.h"
#include "persistence/ConfigTags.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

// The entries that name a counter's or tracker's site or id, with the value each fills.
struct TrackingIdField {
    OptionalTag tag;
    std::string LetterValues::*value;
};
inline constexpr std::array<TrackingIdField, 6> kTrackingIdFields = {{
    {OptionalTag::Plausible, &LetterValues::plausible},
    {OptionalTag::GoatCounter, &LetterValues::goatCounter},
    {OptionalTag::MatomoAddress, &LetterValues::matomoAddress},
    {OptionalTag::MatomoSite, &LetterValues::matomoSite},
    {OptionalTag::GoogleAnalytics, &LetterValues::googleAnalytics},
    {OptionalTag::MetaPixel, &LetterValues::metaPixel},
}};

// Why a typed site or id cannot go into the page, as a sentence for the user; nothing when it
// can (an empty one included). For the entries Plausible to MetaPixel; any other entry has
// no rule.
std::optional<std::string> TrackingIdProblem(OptionalTag tag, std::string_view text);

// Whether the letter tests headlines: the main headline and at least one more.
bool TestsHeadlines(const LetterValues& values);

// Whether anything of the letter waits for the visitor's consent: a tracker that stores an
// identifier, or a headline test, which remembers the headline shown.
bool NeedsConsent(const LetterValues& values);

// Whether the letter counts or follows visitors at all, or carries code of the user's own.
bool CountsVisitors(const LetterValues& values);

// The headline's markup for %%ORDERHEADLINE%%: `shown` (the main headline's h1) as it is
// without a test; with one, marked as the first, then each further headline, hidden until the
// head (%%TRACKING%%) shows a consenting visitor theirs.
std::string Html5HeadlineTest(const LetterValues& values, std::string shown);

// %%TRACKING%%, in the head: the consent notice's style when there is a notice, the headline
// test's choice, the cookie-free counters as their makers document them, then the user's own
// head code as typed.
std::string Html5Tracking(const LetterValues& values);

// %%CONSENT%%, in the footer: the consent notice, the link to change the answer, and the
// script that loads the trackers once the visitor accepts. Empty when nothing waits for consent.
std::string Html5Consent(const LetterValues& values);

// The marks of the headlines the letter tests ("ac": the main one and Headline3); empty when
// it tests none.
std::string TestedHeadlineMarks(const LetterValues& values);

// The first headline's name in order links, while the letter tests headlines; empty otherwise.
std::string_view FirstHeadlineMark(const LetterValues& values);

// `address` with `name=value` added to its query, before any fragment.
std::string WithQueryParameter(std::string_view address, std::string_view name,
                               std::string_view value);

// The user's PayPal code with a hidden "custom" field carrying `mark` in each form that posts
// to PayPal and has none of its own; the code as it is for an empty mark.
std::string WithPaypalCustomField(std::string_view code, std::string_view mark);

// Whether an address is one the counters and trackers load or report to (their scripts, and
// a Matomo server's), so that the program's own views of a letter never count as a visit.
bool IsCounterAddress(std::string_view address);

// What the counters, trackers and the headline test collect, for the privacy page.
std::vector<DataUse> TrackingDataUses(const LetterValues& values);

// The first fault of the user's head code that a browser would repair silently, moving the
// rest of the head into the body or into a script: an element left open, a tag not closed,
// text outside any tag; nothing when the code is well-formed.
std::optional<std::string> HeadCodeProblem(std::string_view code);

} // namespace scribvane
