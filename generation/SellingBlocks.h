// The blocks an html5 letter gets for the rules of selling: who sells and how to reach them,
// the retailer statement of the payment network, what results are typical, a disclaimer, and
// an offer deadline that is one fixed moment for every visitor. Each is empty while its value
// is, so a letter that uses none of them reads as before. Typed texts are escaped.
#pragma once

#include "generation/LetterValues.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

// The offer's deadline as stored ("2026-12-31T23:59+01:00"): a date, a time to the minute or
// second, and a zone ("Z", "+01:00", "+0100"). A deadline without a zone is read in this
// computer's zone at that date, which the check tells the user.
struct OfferDeadline {
    std::int64_t utcSeconds = 0; // the moment, in seconds since 1970-01-01 UTC
    int offsetMinutes = 0;       // the zone it is shown in
    bool zoneGiven = false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0; // as given
};

// Nothing for an empty text, one that is no date and time, or a year outside 1970-9999.
std::optional<OfferDeadline> ReadOfferDeadline(std::string_view text);

// "2026-12-31T23:59:00+01:00", as a <time> element's datetime.
std::string DeadlineDateTime(const OfferDeadline& deadline);
// "31 December 2026, 23:59 (UTC+01:00)" in the letter's language (German or English).
std::string DeadlineText(const OfferDeadline& deadline, std::string_view language);

// Whether a letter in this language gets the German texts ("de", "de-AT"), else the English.
bool IsGermanLetter(std::string_view language);

// Whether the letter names its seller: then it gets the contact footer and the policy pages.
bool HasSellerDetails(const LetterValues& values);

// The shipped words of the blocks and policy pages, in English or, for a letter in German, in
// German. Markup in Windows-1252, but for `typicalResults`: plain text, the wording the results
// statement is offered with, which the user edits.
struct SellingWords {
    std::string_view soldBy, privacy, terms, offerEnds, offerEnded, offerHasEnded, timeLeft, day,
        days, backToOffer, typicalResults;
};
const SellingWords& WordsFor(std::string_view language);

// The placeholders' blocks.
std::string Html5Seller(const LetterValues& values);
std::string Html5Retailer(const LetterValues& values);
std::string Html5Results(const LetterValues& values);
std::string Html5Disclaimer(const LetterValues& values);
std::string Html5Deadline(const LetterValues& values);

// ClickBank's own statement of its role, which its pitch pages must carry.
inline constexpr std::string_view kClickBankRetailerStatement =
    "ClickBank is the retailer of products on this site. CLICKBANK&reg; is a registered "
    "trademark of Click Sales, Inc., a Delaware corporation located at 1444 S. Entertainment "
    "Ave., Suite 410 Boise, ID 83709, USA and used by permission. ClickBank's role as retailer "
    "does not constitute an endorsement, approval or review of these products or any claim, "
    "statement or opinion used in promotion of these products.";

} // namespace scribvane
