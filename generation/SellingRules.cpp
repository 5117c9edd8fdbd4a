// The rules of selling; see SellingRules.h.
#include "generation/SellingRules.h"

#include "generation/BlockDialect.h"
#include "generation/HtmlText.h"
#include "generation/SellingBlocks.h"
#include "generation/VisitorTracking.h"
#include "lists/Records.h"
#include "utils/TextHelpers.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <string>

namespace scribvane {
namespace {

// Where each rule comes from, as the findings name it.
constexpr std::string_view kClickBankRule =
    "ClickBank's product and promotion guidelines: a pitch page shows the seller's contact "
    "details and ClickBank's retailer statement";
constexpr std::string_view kResultsRule =
    "FTC Endorsement Guides, 16 CFR 255.2(b), and 16 CFR 465: a testimonial that speaks of "
    "results needs a statement of the results people generally get";
constexpr std::string_view kDeadlineRule =
    "EU Unfair Commercial Practices Directive 2005/29/EC, Annex I No. 7: no false claim that an "
    "offer is open only for a very limited time";

bool IsWordByte(unsigned char c) {
    return std::isalnum(c) != 0 || c >= 0xC0;
}

bool IsMoneySign(char c) {
    return c == '$' || c == '\x80' || c == '\xA3' || c == '%';
}

// The text a reader sees, lower-case (ASCII), runs of white space made one blank, and the
// references for currency signs as the signs themselves.
std::string PlainLowerText(std::string_view text) {
    std::string plain = LowerAscii(TextWithoutTags(text));
    for (const auto& [reference, sign] : {std::pair{"&euro;", "\x80"},
                                          {"&#8364;", "\x80"},
                                          {"&#x20ac;", "\x80"},
                                          {"&pound;", "\xA3"},
                                          {"&#163;", "\xA3"},
                                          {"&nbsp;", " "},
                                          {"$$", " "}}) {
        ReplaceAllIn(plain, reference, sign);
    }
    return plain;
}

constexpr std::array<std::string_view, 46> kUnits = {
    "pounds",    "pound",       "lbs",       "lb",    "kg",      "kgs",     "kilos",     "kilo",
    "kilograms", "stone",       "inches",    "inch",  "cm",      "percent", "dollars",   "dollar",
    "euros",     "euro",        "usd",       "eur",   "gbp",     "k",       "x",         "days",
    "weeks",     "months",      "years",     "hours", "minutes", "sales",   "customers", "clients",
    "leads",     "subscribers", "followers", "times", "pfund",   "prozent", "tage",      "wochen",
    "monate",    "stunden",     "kunden",    "mal",   "day",     "week"};

// Words that state a result on their own; "made" or "got" do so only with an amount, which
// counts by itself.
constexpr std::array<std::string_view, 13> kResultWords = {
    "lost", "earned", "grew",   "gained",   "doubled",    "tripled",   "quadrupled",
    "shed", "cured",  "healed", "verdient", "abgenommen", "verdoppelt"};

bool Among(std::string_view word, std::span<const std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

constexpr std::array<std::string_view, 22> kUrgency = {
    "only today",   "today only",    "expires in",       "expires today", "expires tonight",
    "hours left",   "days left",     "minutes left",     "last chance",   "limited time",
    "ends tonight", "ends today",    "ends at midnight", "ends soon",     "before midnight",
    "offer ends",   "act now",       "nur heute",        "heute nur",     "letzte chance",
    "endet heute",  "nur noch heute"};

// The testimonial's words (field 3 of its record).
std::string_view TestimonialText(std::string_view record) {
    return RecordFieldViews<4>(record)[3];
}

bool LooksLikeEmail(std::string_view text) {
    text = TrimBlanks(text);
    const std::size_t at = text.find('@');
    return at != std::string_view::npos && at > 0 && at + 1 < text.size() &&
           text.find('@', at + 1) == std::string_view::npos &&
           text.find('.', at) != std::string_view::npos &&
           std::none_of(text.begin(), text.end(), [](char c) {
               return std::isspace(static_cast<unsigned char>(c)) != 0 || c == '<' || c == '>';
           });
}

class Rules {
public:
    Rules(const LetterValues& values, std::optional<std::string_view> templateText,
          std::int64_t now, std::vector<Finding>& findings)
        : v_(values), template_(templateText), now_(now), findings_(findings) {}

    void Run() {
        Seller();
        Results();
        Deadline();
        Signup();
        Tracking();
        Places();
    }

private:
    void Add(Severity severity, LetterField field, std::string sentence, std::string action) {
        findings_.push_back({severity, field, std::move(sentence), std::move(action)});
    }

    void Seller() {
        if (!IsBlankText(v_.sellerEmail) && !LooksLikeEmail(v_.sellerEmail)) {
            Add(Severity::Warning, OptionalTag::SellerEmail,
                "The seller's contact e-mail is not an e-mail address.",
                "Write an address such as help@example.com.");
        }
        if (IsBlankText(v_.clickBankName)) {
            return;
        }
        std::vector<std::string_view> missing;
        std::optional<LetterField> first;
        for (const auto& [value, field, name] :
             {std::tuple{&v_.sellerName, OptionalTag::SellerName, "business name"},
              {&v_.sellerEmail, OptionalTag::SellerEmail, "contact e-mail"}}) {
            if (IsBlankText(*value)) {
                missing.emplace_back(name);
                first = first ? first : std::optional<LetterField>(field);
            }
        }
        if (first) {
            Add(Severity::Error, *first,
                "The letter sells through ClickBank but does not name the seller's " +
                    std::string(missing[0]) +
                    (missing.size() > 1 ? " and " + std::string(missing[1]) : std::string()) +
                    " (" + std::string(kClickBankRule) + ").",
                "Fill in the seller's details under \"Seller and rules\" on step 7.");
        }
    }

    void Results() {
        if (!IsBlankText(v_.resultsStatement)) {
            return;
        }
        for (const auto& record : v_.testimonials) {
            if (StatesResult(TestimonialText(record))) {
                Add(Severity::Warning, OptionalTag::ResultsStatement,
                    "A testimonial speaks of results, but the letter does not say what results "
                    "are typical (" +
                        std::string(kResultsRule) + ").",
                    "Write a results statement under \"Seller and rules\" on step 7.");
                return;
            }
        }
    }

    bool Urges() const {
        for (const Passage* passage : {&v_.mainHeadline, &v_.introduction, &v_.productIntroduction,
                                       &v_.closing, &v_.postScript}) {
            if (!passage->empty && SpeaksOfUrgency(passage->fragment)) {
                return true;
            }
        }
        return std::any_of(
            std::begin(texts_), std::end(texts_),
            [this](std::string LetterValues::*text) { return SpeaksOfUrgency(v_.*text); });
    }

    void Deadline() {
        if (IsBlankText(v_.offerEnds)) {
            if (Urges()) {
                Add(Severity::Warning, OptionalTag::OfferEnds,
                    "The letter presses for haste (\"only today\", \"last chance\") but names no "
                    "deadline (" +
                        std::string(kDeadlineRule) + ").",
                    "Give the offer's real deadline, or take the words of haste out.");
            }
            return;
        }
        const auto deadline = ReadOfferDeadline(v_.offerEnds);
        if (!deadline) {
            Add(Severity::Warning, OptionalTag::OfferEnds,
                "The offer deadline \"" + std::string(TrimBlanks(v_.offerEnds)) +
                    "\" is not a date and time, so the letter shows none.",
                "Give it as 2026-12-31T23:59+01:00, or choose it on step 7.");
            return;
        }
        const std::string shown = DeadlineText(*deadline, "en"); // ends "(UTC+01:00)"
        if (!deadline->zoneGiven) {
            Add(Severity::Tip, OptionalTag::OfferEnds,
                "The offer deadline names no time zone; it is read in this computer's, " +
                    shown.substr(shown.rfind('(')) + ".",
                "Choose the deadline again on step 7 to store it with its zone.");
        }
        if (deadline->utcSeconds <= now_) {
            Add(Severity::Warning, OptionalTag::OfferEnds,
                "The offer deadline (" + shown +
                    ") has passed: the page says the offer has ended (" +
                    std::string(kDeadlineRule) + ").",
                "Give the offer's new deadline, or remove it.");
        }
    }

    // The sign-up form posts visitors' addresses: to a web address, encrypted, and with what
    // they agree to said, or a privacy policy that says it.
    void Signup() {
        const std::string_view address = TrimBlanks(v_.signupAddress);
        if (address.empty()) {
            return;
        }
        // A scheme before any slash ("https:", "mailto:") makes it absolute; a page of the
        // site's own (Netlify Forms) has none.
        const std::size_t colon = address.find(':');
        const bool absolute = colon != std::string_view::npos && colon < address.find('/');
        if ((absolute && !IsWebAddress(address)) ||
            address.find_first_of(" \"<>") != std::string_view::npos) {
            Add(Severity::Warning, OptionalTag::SignupAddress,
                "The sign-up form's address is not a web address, so the form cannot send.",
                "Paste the form address your mailing-list provider gives you.");
            return;
        }
        if (StartsWithIgnoringAsciiCase(address, "http://")) {
            Add(Severity::Warning, OptionalTag::SignupAddress,
                "The sign-up form sends visitors' e-mail addresses unencrypted (http://).",
                "Use the provider's https:// address.");
        }
        // The policy pages go with a letter that names its seller.
        if (IsBlankText(v_.signupConsent) && !HasSellerDetails(v_)) {
            Add(Severity::Warning, OptionalTag::SignupConsent,
                "The sign-up form collects e-mail addresses without a consent wording, and the "
                "letter has no privacy policy that says what happens to them (GDPR Art. 6, 7 "
                "and 13).",
                "Write the consent wording, or fill in the seller's details for a privacy "
                "policy.");
        }
    }

    // Counting visitors: ids the page can carry, the user's head code whole, and a privacy
    // policy for anything that stores an identifier.
    void Tracking() {
        for (const auto& [tag, value] : kTrackingIdFields) {
            const std::string& text = v_.*value;
            if (const auto problem = TrackingIdProblem(tag, text)) {
                Add(Severity::Warning, tag,
                    "\"" + std::string(TrimBlanks(text)) +
                        "\" cannot go into the page, so the letter leaves it out.",
                    *problem);
            }
        }
        if (IsBlankText(v_.matomoAddress) != IsBlankText(v_.matomoSite)) {
            Add(Severity::Warning,
                IsBlankText(v_.matomoAddress) ? OptionalTag::MatomoAddress
                                              : OptionalTag::MatomoSite,
                "Matomo needs both the server's address and the site's number; the letter "
                "counts with neither.",
                "Fill in both, or empty both.");
        }
        if (const auto problem = HeadCodeProblem(v_.headCode)) {
            Add(Severity::Warning, OptionalTag::HeadCode,
                "Your head code is not well-formed: " + *problem +
                    " A browser repairs it silently, and may move the page's head into the "
                    "body.",
                "Close what the code opens; it goes into the page as you typed it.");
        }
        if (NeedsConsent(v_) && !HasSellerDetails(v_)) {
            Add(Severity::Warning, OptionalTag::SellerName,
                "The letter asks visitors to agree to tracking or to a headline test but has "
                "no privacy policy that says what is stored (GDPR Art. 13; ePrivacy Directive "
                "Art. 5(3)).",
                "Fill in the seller's details under \"Seller and rules\" on step 7 for a "
                "privacy policy.");
        }
        // Code that posts to PayPal but gains no field keeps a custom field of its own.
        const std::string_view code = v_.paypalCode;
        if (TestsHeadlines(v_) &&
            FindIgnoringAsciiCase(code, "paypal.") != std::string_view::npos &&
            WithPaypalCustomField(code, FirstHeadlineMark(v_)) == code) {
            Add(Severity::Tip, Tag::PaypalCode,
                "Your PayPal code sets its own \"custom\" field, so PayPal does not learn which "
                "headline a buyer saw.",
                "Remove the custom field from the code to count PayPal sales per headline.");
        }
    }

    // A value given that the chosen html5 template has no place for. A template of the old
    // kind has none of these blocks; its letter keeps its bytes.
    void Places() {
        if (!template_) {
            return;
        }
        if (DialectOf(*template_) != BlockDialect::Html5) {
            if (CountsVisitors(v_)) {
                Add(Severity::Warning, OptionalTag::Template,
                    "The chosen template is of the old kind: it counts no visitors, tests no "
                    "headlines and shows the main headline only.",
                    "Choose one of the shipped designs to use them.");
            }
            return;
        }
        const std::array<std::tuple<bool, std::string_view, std::string_view>, 8> places = {{
            {HasSellerDetails(v_), "%%SELLER%%", "the seller's details"},
            {!IsBlankText(v_.clickBankName), "%%RETAILER%%", "ClickBank's retailer statement"},
            {!IsBlankText(v_.resultsStatement), "%%RESULTS%%", "the results statement"},
            {!IsBlankText(v_.disclaimer), "%%DISCLAIMER%%", "the disclaimer"},
            {ReadOfferDeadline(v_.offerEnds).has_value(), "%%DEADLINE%%", "the offer deadline"},
            {!IsBlankText(v_.signupAddress), "%%SIGNUP%%", "the sign-up form"},
            {!Html5Tracking(v_).empty(), "%%TRACKING%%",
             "visitor counting, the consent notice's look or your head code"},
            {NeedsConsent(v_), "%%CONSENT%%",
             "the consent notice, so no tracker loads and no headline is tested"},
        }};
        for (const auto& [given, placeholder, what] : places) {
            if (given && template_->find(placeholder) == std::string_view::npos) {
                Add(placeholder == "%%RETAILER%%" ? Severity::Error : Severity::Warning,
                    OptionalTag::Template,
                    "The chosen template has no place for " + std::string(what) + " (" +
                        std::string(placeholder) + ").",
                    "Choose one of the shipped designs, or add the placeholder to the template.");
            }
        }
    }

    static constexpr std::array<std::string LetterValues::*, 7> texts_ = {
        &LetterValues::attention,      &LetterValues::orderHeading, &LetterValues::orderLine,
        &LetterValues::orderClosing,   &LetterValues::priceLine,    &LetterValues::directButton,
        &LetterValues::clickBankButton};

    const LetterValues& v_;
    std::optional<std::string_view> template_;
    std::int64_t now_;
    std::vector<Finding>& findings_;
};

} // namespace

bool StatesResult(std::string_view text) {
    const std::string plain = PlainLowerText(text);
    // Words and signs in reading order; a number's letters after it ("40lbs") are a word.
    std::vector<std::string_view> tokens;
    const std::string_view all = plain;
    for (std::size_t i = 0; i < all.size();) {
        const auto c = static_cast<unsigned char>(all[i]);
        if (IsMoneySign(all[i])) {
            tokens.push_back(all.substr(i++, 1));
        } else if (std::isdigit(c) != 0) {
            std::size_t end = i;
            while (end < all.size() &&
                   (std::isdigit(static_cast<unsigned char>(all[end])) != 0 ||
                    ((all[end] == ',' || all[end] == '.') && end + 1 < all.size() &&
                     std::isdigit(static_cast<unsigned char>(all[end + 1])) != 0))) {
                ++end;
            }
            tokens.push_back(all.substr(i, end - i));
            i = end;
        } else if (IsWordByte(c)) {
            std::size_t end = i;
            while (end < all.size() && IsWordByte(static_cast<unsigned char>(all[end]))) {
                ++end;
            }
            tokens.push_back(all.substr(i, end - i));
            i = end;
        } else {
            ++i;
        }
    }
    const auto isNumber = [](std::string_view token) {
        return !token.empty() && std::isdigit(static_cast<unsigned char>(token[0])) != 0;
    };
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string_view token = tokens[i];
        if (isNumber(token)) {
            const bool signBefore = i > 0 && IsMoneySign(tokens[i - 1][0]);
            const bool after = i + 1 < tokens.size() &&
                               (IsMoneySign(tokens[i + 1][0]) || Among(tokens[i + 1], kUnits));
            if (signBefore || after) {
                return true;
            }
        } else if (Among(token, kResultWords)) {
            return true;
        }
    }
    return false;
}

bool SpeaksOfUrgency(std::string_view text) {
    std::string plain = PlainLowerText(text);
    // One blank between words, so "last  chance" or a line break between them counts.
    std::string single;
    single.reserve(plain.size());
    for (const char c : plain) {
        const bool blank = std::isspace(static_cast<unsigned char>(c)) != 0;
        if (!blank || (!single.empty() && single.back() != ' ')) {
            single += blank ? ' ' : c;
        }
    }
    return std::any_of(kUrgency.begin(), kUrgency.end(), [&single](std::string_view phrase) {
        for (std::size_t at = single.find(phrase); at != std::string::npos;
             at = single.find(phrase, at + 1)) {
            const bool startsWord =
                at == 0 || !IsWordByte(static_cast<unsigned char>(single[at - 1]));
            const std::size_t end = at + phrase.size();
            const bool endsWord =
                end == single.size() || !IsWordByte(static_cast<unsigned char>(single[end]));
            if (startsWord && endsWord) {
                return true;
            }
        }
        return false;
    });
}

void CheckSellingRules(const LetterValues& values, std::optional<std::string_view> templateText,
                       std::int64_t nowSeconds, std::vector<Finding>& findings) {
    Rules(values, templateText, nowSeconds, findings).Run();
}

} // namespace scribvane
