// The blocks of the rules of selling; see SellingBlocks.h.
#include "generation/SellingBlocks.h"

#include "generation/HtmlText.h"
#include "utils/TextHelpers.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace scribvane {
namespace {

// Reads `count` digits at `at`, moving past them.
std::optional<int> Digits(std::string_view text, std::size_t& at, std::size_t count) {
    if (at + count > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    at += count;
    return value;
}

bool Skip(std::string_view text, std::size_t& at, char expected) {
    if (at < text.size() && text[at] == expected) {
        ++at;
        return true;
    }
    return false;
}

// The zone after the time: "Z", "+01:00", "+0100" or "+01", or none at the end of the text.
struct Zone {
    bool read = false;  // false: what follows the time is no zone
    bool given = false; // false: the text ends with the time
    int minutes = 0;
};

Zone ReadZone(std::string_view text, std::size_t& at) {
    if (at == text.size()) {
        return {true, false, 0};
    }
    if (text[at] == 'Z' || text[at] == 'z') {
        ++at;
        return {true, true, 0};
    }
    if (text[at] != '+' && text[at] != '-') {
        return {};
    }
    const int sign = text[at++] == '-' ? -1 : 1;
    const auto hours = Digits(text, at, 2);
    if (!hours) {
        return {};
    }
    int minutes = 0;
    if (at < text.size()) {
        Skip(text, at, ':');
        const auto read = Digits(text, at, 2);
        if (!read) {
            return {};
        }
        minutes = *read;
    }
    if (*hours > 14 || minutes > 59) {
        return {};
    }
    return {true, true, sign * (*hours * 60 + minutes)};
}

std::string Two(int value) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%02d", value);
    return text.data();
}

std::string ZoneText(int offsetMinutes, bool colon = true) {
    const int magnitude = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    return std::string(offsetMinutes < 0 ? "-" : "+") + Two(magnitude / 60) + (colon ? ":" : "") +
           Two(magnitude % 60);
}

constexpr std::array<std::string_view, 12> kEnglishMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 12> kGermanMonths = {
    "Januar", "Februar", "M&auml;rz", "April",   "Mai",      "Juni",
    "Juli",   "August",  "September", "Oktober", "November", "Dezember"};

constexpr SellingWords kEnglish = {
    "Sold by",
    "Privacy policy",
    "Terms of sale",
    "This offer ends on",
    "This offer ended on",
    "The offer has ended.",
    "Time left:",
    "day",
    "days",
    "Back to the offer",
    "Results vary. The results in the testimonials on this page are those of the customers "
    "named; they are not typical, and what you achieve depends on your own effort and "
    "circumstances."};

constexpr SellingWords kGerman = {
    "Verkauf durch",
    "Datenschutzerkl&auml;rung",
    "Verkaufsbedingungen",
    "Dieses Angebot endet am",
    "Dieses Angebot endete am",
    "Das Angebot ist abgelaufen.",
    "Noch:",
    "Tag",
    "Tage",
    "Zur&uuml;ck zum Angebot",
    "Ergebnisse sind verschieden. Die Ergebnisse in den Kundenstimmen auf dieser Seite sind "
    "die der genannten Kunden; sie sind nicht typisch, und was Sie erreichen, h\xE4ngt von "
    "Ihrem eigenen Einsatz und Ihren Umst\xE4nden ab."};

// Counts down to the moment the page carries, the same for every visitor; past it, says the
// offer has ended. Without script the page shows the deadline itself. A module script runs once
// the page is parsed, so it never holds up the parser (which lets a browser paint half a page,
// and then move it). Each box is taken once, however often the block stands in the page.
constexpr std::string_view kCountdownScript =
    "<script type=\"module\">"
    "for(const b of document.querySelectorAll('.offer-deadline[data-ends]:not([data-counting])')){"
    "b.setAttribute('data-counting','');"
    "const e=Number(b.getAttribute('data-ends')),w=b.querySelector('.offer-when'),"
    "c=b.querySelector('.offer-countdown'),p=n=>(n<10?'0':'')+n;let t=0;"
    "const s=()=>{const r=Math.floor((e-Date.now())/1000);"
    "if(r<=0){w.firstChild.nodeValue=b.getAttribute('data-was')+' ';"
    "c.textContent=b.getAttribute('data-ended');b.classList.add('ended');"
    "if(t)clearInterval(t);return false}"
    "const d=Math.floor(r/86400);"
    "c.textContent=b.getAttribute('data-left')+' '+(d>0?d+' '+b.getAttribute(d===1?'data-day':"
    "'data-days')+' ':'')+p(Math.floor(r%86400/3600))+':'+p(Math.floor(r%3600/60))+':'+p(r%60);"
    "return true};"
    "if(s())t=setInterval(s,1000)}</script>";

} // namespace

std::optional<OfferDeadline> ReadOfferDeadline(std::string_view text) {
    text = TrimBlanks(text);
    OfferDeadline deadline;
    std::size_t at = 0;
    const auto year = Digits(text, at, 4);
    if (!year || !Skip(text, at, '-')) {
        return std::nullopt;
    }
    const auto month = Digits(text, at, 2);
    if (!month || !Skip(text, at, '-')) {
        return std::nullopt;
    }
    const auto day = Digits(text, at, 2);
    if (!day || !(Skip(text, at, 'T') || Skip(text, at, 't') || Skip(text, at, ' '))) {
        return std::nullopt;
    }
    const auto hour = Digits(text, at, 2);
    if (!hour || !Skip(text, at, ':')) {
        return std::nullopt;
    }
    const auto minute = Digits(text, at, 2);
    if (!minute) {
        return std::nullopt;
    }
    int second = 0;
    if (Skip(text, at, ':')) {
        const auto read = Digits(text, at, 2);
        if (!read) {
            return std::nullopt;
        }
        second = *read;
    }
    const auto zone = ReadZone(text, at);
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    if (!zone.read || at != text.size() || !date.ok() || *year < 1970 || *hour > 23 ||
        *minute > 59 || second > 59) {
        return std::nullopt;
    }
    deadline.year = *year;
    deadline.month = *month;
    deadline.day = *day;
    deadline.hour = *hour;
    deadline.minute = *minute;
    deadline.second = second;
    const std::int64_t wall =
        static_cast<std::int64_t>(std::chrono::sys_days(date).time_since_epoch().count()) * 86400 +
        std::int64_t{*hour} * 3600 + std::int64_t{*minute} * 60 + second;
    if (zone.given) {
        deadline.zoneGiven = true;
        deadline.offsetMinutes = zone.minutes;
    } else {
        // This computer's zone at that wall time, daylight saving included.
        std::tm local{};
        local.tm_year = *year - 1900;
        local.tm_mon = *month - 1;
        local.tm_mday = *day;
        local.tm_hour = *hour;
        local.tm_min = *minute;
        local.tm_sec = second;
        local.tm_isdst = -1;
        const std::time_t moment = std::mktime(&local);
        deadline.offsetMinutes =
            moment == static_cast<std::time_t>(-1) ? 0 : static_cast<int>(local.tm_gmtoff / 60);
    }
    deadline.utcSeconds = wall - static_cast<std::int64_t>(deadline.offsetMinutes) * 60;
    return deadline;
}

std::string DeadlineDateTime(const OfferDeadline& deadline) {
    return std::to_string(deadline.year) + "-" + Two(deadline.month) + "-" + Two(deadline.day) +
           "T" + Two(deadline.hour) + ":" + Two(deadline.minute) + ":" + Two(deadline.second) +
           (deadline.offsetMinutes == 0 ? std::string("Z") : ZoneText(deadline.offsetMinutes));
}

std::string DeadlineText(const OfferDeadline& deadline, std::string_view language) {
    const std::string time = Two(deadline.hour) + ":" + Two(deadline.minute);
    const std::string zone =
        "(UTC" + (deadline.offsetMinutes == 0 ? std::string() : ZoneText(deadline.offsetMinutes)) +
        ")";
    const auto month = static_cast<std::size_t>(deadline.month - 1);
    if (IsGermanLetter(language)) {
        return std::to_string(deadline.day) + ". " + std::string(kGermanMonths[month]) + " " +
               std::to_string(deadline.year) + ", " + time + " Uhr " + zone;
    }
    return std::to_string(deadline.day) + " " + std::string(kEnglishMonths[month]) + " " +
           std::to_string(deadline.year) + ", " + time + " " + zone;
}

bool IsGermanLetter(std::string_view language) {
    return EqualsIgnoringAsciiCase(language.substr(0, 2), "de") &&
           (language.size() == 2 || language[2] == '-' || language[2] == '_');
}

bool HasSellerDetails(const LetterValues& values) {
    return !TrimBlanks(values.sellerName).empty() || !TrimBlanks(values.sellerAddress).empty() ||
           !TrimBlanks(values.sellerEmail).empty();
}

const SellingWords& WordsFor(std::string_view language) {
    return IsGermanLetter(language) ? kGerman : kEnglish;
}

std::string Html5Seller(const LetterValues& values) {
    if (!HasSellerDetails(values)) {
        return {};
    }
    const SellingWords& words = WordsFor(values.language);
    std::string contact;
    const auto add = [&contact](std::string_view piece) {
        contact += contact.empty() ? "" : " &middot; ";
        contact += piece;
    };
    if (const auto name = TrimBlanks(values.sellerName); !name.empty()) {
        add(std::string(words.soldBy) + " " + EscapeText(name));
    }
    if (const auto address = TrimBlanks(values.sellerAddress); !address.empty()) {
        add(EscapeText(address));
    }
    if (const auto email = TrimBlanks(values.sellerEmail); !email.empty()) {
        add("<a href=\"mailto:" + EscapeAttribute(EncodeBlanks(email)) + "\">" + EscapeText(email) +
            "</a>");
    }
    return "<address class=\"seller\">" + contact +
           "</address><p class=\"policy-links\"><a href=\"privacy.html\">" +
           std::string(words.privacy) + "</a> &middot; <a href=\"terms.html\">" +
           std::string(words.terms) + "</a></p>";
}

std::string Html5Retailer(const LetterValues& values) {
    return TrimBlanks(values.clickBankName).empty()
               ? std::string()
               : "<p class=\"retailer\">" + std::string(kClickBankRetailerStatement) + "</p>";
}

std::string Html5Results(const LetterValues& values) {
    const auto statement = TrimBlanks(values.resultsStatement);
    return statement.empty() ? std::string()
                             : "<p class=\"results-statement\">" + EscapeText(statement) + "</p>";
}

std::string Html5Disclaimer(const LetterValues& values) {
    const auto disclaimer = TrimBlanks(values.disclaimer);
    return disclaimer.empty() ? std::string()
                              : "<p class=\"disclaimer\">" + EscapeText(disclaimer) + "</p>";
}

std::string Html5Deadline(const LetterValues& values) {
    const auto deadline = ReadOfferDeadline(values.offerEnds);
    if (!deadline) {
        return {};
    }
    const SellingWords& words = WordsFor(values.language);
    const auto attribute = [](std::string_view name, std::string_view value) {
        return " data-" + std::string(name) + "=\"" + std::string(value) + "\"";
    };
    // The countdown's one line is there from the start, so filling it moves nothing, however
    // narrow the column.
    return "<p class=\"offer-deadline\"" +
           attribute("ends", std::to_string(deadline->utcSeconds * 1000)) +
           attribute("was", words.offerEnded) + attribute("ended", words.offerHasEnded) +
           attribute("left", words.timeLeft) + attribute("day", words.day) +
           attribute("days", words.days) + "><span class=\"offer-when\">" +
           std::string(words.offerEnds) + " <time datetime=\"" + DeadlineDateTime(*deadline) +
           "\">" + DeadlineText(*deadline, values.language) +
           "</time>.</span><span class=\"offer-countdown\" role=\"timer\" "
           "style=\"display:block;min-height:1.6em;white-space:nowrap;overflow:hidden;"
           "text-overflow:ellipsis\"></span></p>" +
           std::string(kCountdownScript);
}

} // namespace scribvane
