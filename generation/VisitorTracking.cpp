// Counting visitors, asking their consent, and testing headlines; see VisitorTracking.h.
#include "generation/VisitorTracking.h"

#include "generation/Html5Blocks.h"
#include "generation/HtmlText.h"
#include "generation/SellingBlocks.h"
#include "utils/TextHelpers.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace scribvane {
namespace {

// The marks of the headlines in order links and in the page: the main headline, then the
// entries Headline2 to Headline4. A mark stays with its entry, so a report read next month
// still names the same headline when one in between was emptied.
constexpr std::string_view kMarks = "abcd";

// Where the page keeps the visitor's answer and their headline, in the browser's local
// storage; nothing of it leaves the browser.
constexpr std::string_view kConsentKey = "letter-consent";
constexpr std::string_view kHeadlineKey = "letter-headline";

bool AllOf(std::string_view text, bool (*allowed)(char)) {
    return !text.empty() && std::all_of(text.begin(), text.end(), allowed);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLowerAlnum(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z');
}

// A host name as Plausible knows a site: letters, digits, dots and hyphens; several sites are
// separated by commas.
bool IsDomainListByte(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-' || c == ',';
}

bool IsCodeByte(char c) {
    return IsLowerAlnum(c) || c == '-';
}

bool IsMeasurementIdByte(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'Z');
}

// A Matomo server's address: a web address that needs no escaping in a script's string.
bool IsSafeAddressByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > ' ' && byte < 0x7F &&
           std::string_view("\"'<>\\`").find(c) == std::string_view::npos;
}

// A value that can be put into the page: trimmed, and only when it passes its entry's rule.
std::string Usable(OptionalTag tag, std::string_view text) {
    text = TrimBlanks(text);
    return text.empty() || TrackingIdProblem(tag, text) ? std::string() : std::string(text);
}

// The ids the page carries, each empty when it is not given or cannot go in; Matomo only
// with both its address (ending in '/') and its site.
struct Trackers {
    std::string plausible, goatCounter, matomoBase, matomoSite, googleAnalytics, metaPixel;

    bool StoreIdentifiers() const { return !googleAnalytics.empty() || !metaPixel.empty(); }
};

Trackers TrackersOf(const LetterValues& values) {
    Trackers ids{Usable(OptionalTag::Plausible, values.plausible),
                 Usable(OptionalTag::GoatCounter, values.goatCounter),
                 Usable(OptionalTag::MatomoAddress, values.matomoAddress),
                 Usable(OptionalTag::MatomoSite, values.matomoSite),
                 Usable(OptionalTag::GoogleAnalytics, values.googleAnalytics),
                 Usable(OptionalTag::MetaPixel, values.metaPixel)};
    if (ids.matomoBase.empty() || ids.matomoSite.empty()) {
        ids.matomoBase.clear();
        ids.matomoSite.clear();
    } else if (!ids.matomoBase.ends_with('/')) {
        ids.matomoBase += '/';
    }
    return ids;
}

struct ConsentWords {
    std::string_view title, intro, storing, change, accept, decline, settings, privacy, and_,
        analytics, pixel, headlineTest;
};

constexpr ConsentWords kEnglishConsent = {
    "Cookies and similar technologies",
    "With your consent, this page uses ",
    " to learn which of its words work. They store identifiers on your device and load only if "
    "you accept.",
    " You can change your answer under \"Cookie settings\" at the foot of the page.",
    "Accept",
    "Decline",
    "Cookie settings",
    "Privacy policy",
    " and ",
    "Google Analytics",
    "the Meta pixel",
    "a headline test"};

constexpr ConsentWords kGermanConsent = {
    "Cookies und \xE4hnliche Techniken",
    "Mit Ihrer Einwilligung nutzt diese Seite ",
    ", um zu erfahren, welche ihrer Worte wirken. Sie speichern Kennungen auf Ihrem Ger\xE4t "
    "und werden nur geladen, wenn Sie zustimmen.",
    " Sie k\xF6nnen Ihre Antwort jederzeit unter \x84"
    "Cookie-Einstellungen\x93 am Fu\xDF der "
    "Seite \xE4ndern.",
    "Akzeptieren",
    "Ablehnen",
    "Cookie-Einstellungen",
    "Datenschutzerkl\xE4rung",
    " und ",
    "Google Analytics",
    "das Meta-Pixel",
    "einen \xDC"
    "berschriften-Test"};

const ConsentWords& ConsentWordsFor(std::string_view language) {
    return IsGermanLetter(language) ? kGermanConsent : kEnglishConsent;
}

std::string JoinedList(const std::vector<std::string_view>& items, std::string_view and_) {
    std::string list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        list += i == 0 ? "" : i + 1 == items.size() ? std::string(and_) : std::string(", ");
        list += items[i];
    }
    return list;
}

// The marks of the headlines the page holds, the main one first.
std::string HeadlineMarks(const LetterValues& values) {
    std::string marks(1, kMarks[0]);
    for (std::size_t i = 0; i < values.headlineVariants.size(); ++i) {
        if (!values.headlineVariants[i].empty) {
            marks += kMarks[i + 1];
        }
    }
    return marks;
}

// An h1 of the html5 headline block marked with the headline it shows; the further ones are
// hidden until the page's head picks one of them.
std::string MarkedHeadline(std::string h1, char mark) {
    return "<h1 data-headline-shown=\"" + std::string(1, mark) + "\"" +
           (mark == kMarks[0] ? "" : " hidden") + h1.substr(3);
}

// Shows the headline the head's script picked and hides the first in its place: the swap is
// the browser's, before the body is laid out, so nothing moves and no script stands in the
// body to hold up the parser.
std::string HeadlineStyle(std::string_view marks) {
    std::string css;
    for (const char mark : marks.substr(1)) {
        const std::string picked = "html[data-headline=\"" + std::string(1, mark) + "\"] ";
        css.append(picked).append("[data-headline-shown=\"a\"]{display:none}");
        css.append(picked).append("[data-headline-shown=\"").append(1, mark);
        css.append("\"]{display:block}");
    }
    return "<style>" + css + "</style>\r\n";
}

// Shows a consenting visitor their headline, chosen once at random and kept; a visitor who has
// not agreed, or whose browser keeps nothing, sees the first. "#headline=b" in the address
// shows that headline without keeping anything, for the preview and for the seller's own look.
// It runs in the head, before the body is read.
std::string HeadlineScript(std::string_view marks) {
    return "<script>(()=>{const m='" + std::string(marks) + "',k='" + std::string(kHeadlineKey) +
           "';"
           "const choose=()=>{const f=/(?:^#|&)headline=([a-d])(?:&|$)/.exec(location.hash);"
           "if(f&&m.includes(f[1]))return f[1];"
           "try{if(localStorage.getItem('" +
           std::string(kConsentKey) +
           "')!=='yes')return'a';let h=localStorage.getItem(k);"
           "if(!h||h.length!==1||!m.includes(h)){h=m[Math.floor(Math.random()*m.length)];"
           "localStorage.setItem(k,h)}return h}catch(e){return'a'}};"
           "window.letterHeadline=()=>document.documentElement.setAttribute('data-headline',"
           "choose());window.letterHeadline()})()</script>\r\n";
}

// The part of the consent script that starts the trackers; ids are checked, so each goes into
// a string as it is.
std::string TrackerStarts(const Trackers& ids) {
    std::string code;
    if (const std::string& id = ids.googleAnalytics; !id.empty()) {
        code += "window.dataLayer=window.dataLayer||[];window.gtag=function(){dataLayer.push("
                "arguments)};gtag('js',new Date());gtag('config','" +
                id +
                "',h?{headline:h}:{});"
                "load('https://www.googletagmanager.com/gtag/js?id=" +
                id + "');";
    }
    if (const std::string& id = ids.metaPixel; !id.empty()) {
        // The pixel's own loader, written out: a queue that the library takes over.
        code += "if(!window.fbq){const q=window.fbq=window._fbq=function(){q.callMethod?"
                "q.callMethod.apply(q,arguments):q.queue.push(arguments)};q.push=q;q.loaded=true;"
                "q.version='2.0';q.queue=[];load('https://connect.facebook.net/en_US/fbevents.js')}"
                "fbq('init','" +
                id + "');fbq('track','PageView');if(h)fbq('trackCustom','Headline',{headline:h});";
    }
    // The cookie-free counters are running already; they hear of the headline as an event.
    if (!ids.plausible.empty()) {
        code += "if(h){window.plausible=window.plausible||function(){(window.plausible.q="
                "window.plausible.q||[]).push(arguments)};plausible('Headline',{props:{headline:h}"
                "})}";
    }
    if (!ids.goatCounter.empty()) {
        code += "if(h){const g=()=>window.goatcounter&&window.goatcounter.count&&"
                "window.goatcounter.count({path:'headline-'+h,title:'Headline '+h,event:true});"
                "document.readyState==='complete'?g():addEventListener('load',g)}";
    }
    if (!ids.matomoBase.empty()) {
        code += "if(h)(window._paq=window._paq||[]).push(['trackEvent','Headline','shown',h]);";
    }
    return code;
}

// The consent script: the notice for a visitor who has not answered, the trackers for one who
// accepted, and on a change of mind from yes to no the identifiers removed and the page loaded
// afresh, so nothing that was loaded keeps running.
std::string ConsentScript(const Trackers& ids) {
    const std::string key = "'" + std::string(kConsentKey) + "'";
    return "<script type=\"module\">"
           "const n=document.getElementById('consent'),c=document.getElementById('consent-"
           "change');"
           "const read=()=>{try{return localStorage.getItem(" +
           key +
           ")}catch(e){return null}};"
           "const load=s=>{const e=document.createElement('script');e.async=true;e.src=s;"
           "document.head.append(e)};"
           "const carry=h=>{if(!h)return;"
           "for(const a of document.querySelectorAll('a[href]')){const r=a.getAttribute('href'),"
           "t=r.replace(/([?&](?:headline|vtid)=)[a-d](?=[&#]|$)/,'$1'+h);if(t!==r)"
           "a.setAttribute('href',t)}"
           "for(const i of document.querySelectorAll('input[data-headline]'))i.value=h};"
           "const mark=()=>document.documentElement.getAttribute('data-headline');"
           "carry(mark());let on=false;"
           "const start=()=>{if(on)return;on=true;if(window.letterHeadline)window.letterHeadline();"
           "const h=mark();carry(h);" +
           TrackerStarts(ids) +
           "};"
           "const forget=()=>{try{localStorage.removeItem('" +
           std::string(kHeadlineKey) +
           "')}catch(e){}"
           "const p=location.hostname.split('.');"
           "for(const k of document.cookie.split(';').map(s=>s.split('=')[0].trim()))"
           "if(/^(_ga|_gid|_gat|_fbp|_fbc)/.test(k))for(let i=0;i<p.length;i++)"
           "document.cookie=k+'=;Max-Age=0;path=/;domain='+p.slice(i).join('.')};"
           "const answer=yes=>{const was=read(),inside=n.contains(document.activeElement);"
           "try{localStorage.setItem(" +
           key +
           ",yes?'yes':'no')}catch(e){}n.hidden=true;"
           "if(inside)c.focus({preventScroll:true});"
           "if(yes)start();else if(was==='yes'){forget();location.reload()}};"
           "n.querySelector('.consent-accept').addEventListener('click',()=>answer(true));"
           "n.querySelector('.consent-decline').addEventListener('click',()=>answer(false));"
           "c.hidden=false;c.addEventListener('click',e=>{e.preventDefault();n.hidden=false;"
           "n.querySelector('button').focus()});"
           "const given=read();if(given==='yes')start();else if(given!=='no')n.hidden=false;"
           "</script>";
}

// The notice's look comes with it, so a letter without one keeps its bytes; dark on every
// design, both answers alike, and clear of a phone's home bar.
constexpr std::string_view kConsentStyle =
    "<style>.consent{position:fixed;left:0;right:0;bottom:0;z-index:10;box-sizing:border-box;"
    "max-width:640px;margin:0 auto;padding:14px 18px calc(14px + env(safe-area-inset-bottom));"
    "background:#1f2933;color:#fff;box-shadow:0 -2px 12px rgba(0,0,0,.3);font-size:15px;"
    "line-height:1.45;text-align:left}"
    ".consent[hidden],.consent-link a[hidden]{display:none}"
    ".consent h2{margin:0 0 6px;padding:0;border:0;background:none;color:inherit;"
    "font-family:inherit;font-size:17px;font-weight:bold;line-height:1.3;text-transform:none;"
    "letter-spacing:0}"
    ".consent p{margin:0 0 10px}.consent a{color:inherit;text-decoration:underline}"
    ".consent-buttons{display:flex;flex-wrap:wrap;gap:10px;margin:0}"
    ".consent button{min-height:44px;min-width:128px;padding:8px 18px;border:2px solid #fff;"
    "border-radius:999px;background:#fff;color:#1f2933;font-family:inherit;font-size:16px;"
    "font-weight:bold;cursor:pointer}"
    ".consent button:focus-visible{outline:3px solid #ffd166;outline-offset:2px}"
    ".consent-link{margin:8px 0 0}</style>\r\n";

// Whether a form's markup holds a field (input, select, textarea) of that name.
bool HasFieldNamed(std::string_view form, std::string_view name) {
    for (std::size_t at = form.find('<'); at != std::string_view::npos;
         at = form.find('<', at + 1)) {
        const auto tag = TagAt(form, at);
        if (tag && !tag->closing &&
            (tag->name == "input" || tag->name == "select" || tag->name == "textarea")) {
            const auto field = AttributeOf(tag->attributes, "name");
            if (field && EqualsIgnoringAsciiCase(*field, name)) {
                return true;
            }
        }
    }
    return false;
}

constexpr std::array<std::string_view, 14> kVoidElements = {
    "area",  "base", "br",   "col",   "embed",  "hr",    "img",
    "input", "link", "meta", "param", "source", "track", "wbr"};

} // namespace

std::optional<std::string> TrackingIdProblem(OptionalTag tag, std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) {
        return std::nullopt;
    }
    switch (tag) {
    case OptionalTag::Plausible:
        if (!AllOf(text, IsDomainListByte) || text.find("..") != std::string_view::npos) {
            return "Write the site's domain alone, as Plausible shows it: example.com.";
        }
        break;
    case OptionalTag::GoatCounter:
        if (!AllOf(text, IsCodeByte)) {
            return "Write the site's code alone, as in CODE.goatcounter.com: small letters, "
                   "digits and hyphens.";
        }
        break;
    case OptionalTag::MatomoAddress:
        if (!IsWebAddress(text) || !AllOf(text, IsSafeAddressByte)) {
            return "Write the Matomo server's web address: https://stats.example.com/.";
        }
        break;
    case OptionalTag::MatomoSite:
        if (!AllOf(text, IsDigit) || text.size() > 9) {
            return "Write the site's number on the Matomo server, such as 1.";
        }
        break;
    case OptionalTag::GoogleAnalytics:
        if (!text.starts_with("G-") || text.size() < 6 || text.size() > 20 ||
            !AllOf(text.substr(2), IsMeasurementIdByte)) {
            return "Write the measurement id as Google Analytics shows it: G- and capital letters "
                   "and digits, such as G-A1B2C3D4E5.";
        }
        break;
    case OptionalTag::MetaPixel:
        if (!AllOf(text, IsDigit) || text.size() < 5 || text.size() > 20) {
            return "Write the pixel id as Meta's Events Manager shows it: digits only.";
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

bool TestsHeadlines(const LetterValues& values) {
    return !values.mainHeadline.empty &&
           std::any_of(values.headlineVariants.begin(), values.headlineVariants.end(),
                       [](const Passage& passage) { return !passage.empty; });
}

bool NeedsConsent(const LetterValues& values) {
    return TestsHeadlines(values) || TrackersOf(values).StoreIdentifiers();
}

bool CountsVisitors(const LetterValues& values) {
    const Trackers ids = TrackersOf(values);
    return TestsHeadlines(values) || ids.StoreIdentifiers() || !ids.plausible.empty() ||
           !ids.goatCounter.empty() || !ids.matomoBase.empty() || !IsBlankText(values.headCode);
}

std::string Html5HeadlineTest(const LetterValues& values, std::string shown) {
    if (!TestsHeadlines(values) || !shown.starts_with("<h1")) {
        return shown;
    }
    std::string block = MarkedHeadline(std::move(shown), kMarks[0]);
    for (std::size_t i = 0; i < values.headlineVariants.size(); ++i) {
        const Passage& variant = values.headlineVariants[i];
        if (!variant.empty) {
            const char mark = kMarks[i + 1];
            block += MarkedHeadline(Html5Headline(variant.fragment), mark);
        }
    }
    return block;
}

std::string Html5Tracking(const LetterValues& values) {
    const Trackers ids = TrackersOf(values);
    const bool tests = TestsHeadlines(values);
    std::string head = tests || ids.StoreIdentifiers() ? std::string(kConsentStyle) : std::string();
    if (tests) {
        const std::string marks = HeadlineMarks(values);
        head += HeadlineStyle(marks) + HeadlineScript(marks);
    }
    if (const std::string& domain = ids.plausible; !domain.empty()) {
        head += "<script defer data-domain=\"" + domain +
                "\" src=\"https://plausible.io/js/script.js\"></script>\r\n";
    }
    if (const std::string& code = ids.goatCounter; !code.empty()) {
        head += "<script data-goatcounter=\"https://" + code +
                ".goatcounter.com/count\" async src=\"https://gc.zgo.at/count.js\"></script>\r\n";
    }
    if (const std::string& base = ids.matomoBase; !base.empty()) {
        head += "<script>var _paq=window._paq=window._paq||[];_paq.push(['disableCookies']);"
                "_paq.push(['trackPageView']);_paq.push(['enableLinkTracking']);"
                "(function(){var u='" +
                base + "';_paq.push(['setTrackerUrl',u+'matomo.php']);_paq.push(['setSiteId','" +
                ids.matomoSite +
                "']);var d=document,g=d.createElement('script'),"
                "s=d.getElementsByTagName('script')[0];g.async=true;g.src=u+'matomo.js';"
                "s.parentNode.insertBefore(g,s)})();</script>\r\n";
    }
    if (!IsBlankText(values.headCode)) {
        head += values.headCode + "\r\n";
    }
    return head;
}

std::string Html5Consent(const LetterValues& values) {
    const Trackers ids = TrackersOf(values);
    const bool tests = TestsHeadlines(values);
    if (!tests && !ids.StoreIdentifiers()) {
        return {};
    }
    const ConsentWords& words = ConsentWordsFor(values.language);
    std::vector<std::string_view> uses;
    if (!ids.googleAnalytics.empty()) {
        uses.push_back(words.analytics);
    }
    if (!ids.metaPixel.empty()) {
        uses.push_back(words.pixel);
    }
    if (tests) {
        uses.push_back(words.headlineTest);
    }
    std::string privacy;
    if (HasSellerDetails(values)) {
        privacy = " <a href=\"privacy.html\">" + std::string(words.privacy) + "</a>";
    }
    return "<p class=\"consent-link\"><a href=\"#consent\" id=\"consent-change\" hidden>" +
           std::string(words.settings) +
           "</a></p><section class=\"consent\" id=\"consent\" aria-labelledby=\"consent-title\" "
           "hidden><h2 id=\"consent-title\">" +
           std::string(words.title) + "</h2><p>" + std::string(words.intro) +
           JoinedList(uses, words.and_) + std::string(words.storing) + std::string(words.change) +
           privacy +
           "</p><p class=\"consent-buttons\"><button type=\"button\" class=\"consent-accept\">" +
           std::string(words.accept) +
           "</button><button type=\"button\" class=\"consent-decline\">" +
           std::string(words.decline) + "</button></p></section>" + ConsentScript(ids);
}

std::string TestedHeadlineMarks(const LetterValues& values) {
    return TestsHeadlines(values) ? HeadlineMarks(values) : std::string();
}

std::string_view FirstHeadlineMark(const LetterValues& values) {
    return TestsHeadlines(values) ? kMarks.substr(0, 1) : std::string_view();
}

std::string WithQueryParameter(std::string_view address, std::string_view name,
                               std::string_view value) {
    const std::size_t hash = address.find('#');
    const std::string_view before = address.substr(0, hash);
    const std::string_view fragment =
        hash == std::string_view::npos ? std::string_view() : address.substr(hash);
    const char joint = before.find('?') == std::string_view::npos       ? '?'
                       : before.ends_with('?') || before.ends_with('&') ? '\0'
                                                                        : '&';
    std::string result(before);
    if (joint != '\0') {
        result += joint;
    }
    return result + std::string(name) + "=" + std::string(value) + std::string(fragment);
}

std::string WithPaypalCustomField(std::string_view code, std::string_view mark) {
    if (mark.empty()) {
        return std::string(code);
    }
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = code.find('<'); at != std::string_view::npos;
         at = code.find('<', at + 1)) {
        const auto tag = TagAt(code, at);
        if (!tag || tag->closing || tag->name != "form") {
            continue;
        }
        const auto action = AttributeOf(tag->attributes, "action");
        if (!action || FindIgnoringAsciiCase(*action, "paypal.") == std::string_view::npos) {
            continue;
        }
        // The form's own custom field carries what the seller put in it.
        if (HasFieldNamed(code.substr(at, FindIgnoringAsciiCase(code, "</form", at) - at),
                          "custom")) {
            continue;
        }
        const std::size_t after = at + tag->whole.size();
        result.append(code.substr(from, after - from));
        result += "<input type=\"hidden\" name=\"custom\" value=\"" + std::string(mark) +
                  "\" data-headline>";
        from = after;
    }
    result.append(code.substr(from));
    return result;
}

bool IsCounterAddress(std::string_view address) {
    const std::string host = AddressHost(address);
    if (host.empty()) {
        return false;
    }
    // The path, without the query or fragment, names a Matomo server's files.
    const std::size_t start = address.find("://") + 3;
    std::string_view path = address.substr(std::min(address.find('/', start), address.size()));
    path = path.substr(0, path.find_first_of("?#"));
    for (const std::string_view domain :
         {"plausible.io", "goatcounter.com", "gc.zgo.at", "googletagmanager.com",
          "google-analytics.com", "connect.facebook.net"}) {
        if (HostIsWithin(host, domain)) {
            return true;
        }
    }
    const std::string file = LowerAscii(path);
    return host == "www.facebook.com" || file.ends_with("/matomo.js") ||
           file.ends_with("/matomo.php");
}

std::vector<DataUse> TrackingDataUses(const LetterValues& values) {
    const Trackers ids = TrackersOf(values);
    const bool german = IsGermanLetter(values.language);
    const auto say = [german](std::string_view english, std::string_view deutsch) {
        return std::string(german ? deutsch : english);
    };
    std::vector<DataUse> uses;
    if (!ids.plausible.empty()) {
        uses.push_back({"Plausible Analytics",
                        say("counts visits without cookies and without storing anything on "
                            "your device.",
                            "z\xE4hlt Besuche ohne Cookies und ohne etwas auf Ihrem Ger\xE4t zu "
                            "speichern."),
                        "https://plausible.io/privacy", false});
    }
    if (!ids.goatCounter.empty()) {
        uses.push_back({"GoatCounter",
                        say("counts visits without cookies and without storing anything on "
                            "your device.",
                            "z\xE4hlt Besuche ohne Cookies und ohne etwas auf Ihrem Ger\xE4t zu "
                            "speichern."),
                        "https://www.goatcounter.com/help/privacy", false});
    }
    if (!ids.matomoBase.empty()) {
        uses.push_back({"Matomo",
                        say("counts visits on the seller's own server, without cookies.",
                            "z\xE4hlt Besuche auf dem eigenen Server des Anbieters, ohne "
                            "Cookies."),
                        "", false});
    }
    if (!ids.googleAnalytics.empty()) {
        uses.push_back({"Google Analytics",
                        say("measures visits and how visitors use the page.",
                            "misst Besuche und wie Besucher die Seite nutzen."),
                        "https://policies.google.com/privacy", true});
    }
    if (!ids.metaPixel.empty()) {
        uses.push_back({"Meta Pixel",
                        say("measures the advertising on Facebook and Instagram that brought "
                            "you here.",
                            "misst die Werbung auf Facebook und Instagram, die Sie hierher "
                            "gef\xFChrt hat."),
                        "https://www.facebook.com/privacy/policy/", true});
    }
    if (TestsHeadlines(values)) {
        uses.push_back({say("Headline test", "\xDC"
                                             "berschriften-Test"),
                        say("remembers in your browser which of this page's headlines you "
                            "saw, so you see the same one again; the order links name it, so "
                            "the payment provider counts sales per headline.",
                            "merkt sich in Ihrem Browser, welche \xDC"
                            "berschrift dieser Seite "
                            "Sie gesehen haben, damit Sie dieselbe wieder sehen; die "
                            "Bestell-Links nennen sie, damit der Zahlungsanbieter Verk\xE4ufe je "
                            "\xDC"
                            "berschrift z\xE4hlt."),
                        "", true});
    }
    return uses;
}

std::optional<std::string> HeadCodeProblem(std::string_view code) {
    std::vector<std::string> open;
    // Text outside every element would end the head where it stands.
    std::size_t textFrom = 0;
    const auto strayText = [&](std::size_t to) -> std::optional<std::string> {
        const std::string_view text = code.substr(textFrom, to - textFrom);
        const std::size_t first = text.find_first_not_of(" \t\r\n");
        if (!open.empty() || first == std::string_view::npos) {
            return std::nullopt;
        }
        return "The text \"" + std::string(text.substr(first, 20)) +
               "\" stands outside any tag; the head holds tags only.";
    };
    for (std::size_t at = code.find('<'); at != std::string_view::npos;
         at = code.find('<', at + 1)) {
        if (code.substr(at).starts_with("<!--")) {
            const std::size_t end = code.find("-->", at + 4);
            if (end == std::string_view::npos) {
                return std::string("A comment (<!--) is not closed with -->.");
            }
            if (auto stray = strayText(at)) {
                return stray;
            }
            at = end + 2;
            textFrom = at + 1;
            continue;
        }
        const auto tag = TagAt(code, at);
        if (!tag) {
            const char next = at + 1 < code.size() ? code[at + 1] : '\0';
            if (std::isalpha(static_cast<unsigned char>(next)) != 0 || next == '/') {
                return std::string("A tag is not closed with \">\".");
            }
            continue;
        }
        if (std::count(tag->whole.begin(), tag->whole.end(), '"') % 2 != 0) {
            return "A quotation mark in <" + tag->name + "> is not closed.";
        }
        if (auto stray = strayText(at)) {
            return stray;
        }
        at += tag->whole.size() - 1;
        textFrom = at + 1;
        if (tag->closing) {
            if (open.empty() || open.back() != tag->name) {
                return open.empty()
                           ? "</" + tag->name + "> closes nothing that is open."
                           : "<" + open.back() + "> is not closed before </" + tag->name + ">.";
            }
            open.pop_back();
            continue;
        }
        if (std::find(kVoidElements.begin(), kVoidElements.end(), tag->name) !=
                kVoidElements.end() ||
            tag->whole.ends_with("/>")) {
            continue;
        }
        // A script's or style's text is not markup: only its end tag ends it.
        if (tag->name == "script" || tag->name == "style") {
            const std::size_t end = FindIgnoringAsciiCase(code, "</" + tag->name, at);
            if (end == std::string_view::npos) {
                return "<" + tag->name + "> is not closed.";
            }
            at = end - 1;
            textFrom = end;
        }
        open.push_back(tag->name);
    }
    if (!open.empty()) {
        return "<" + open.back() + "> is not closed.";
    }
    return strayText(code.size());
}

} // namespace scribvane
