// Learning what sells: which counters load at once and which wait for consent, what a typed id
// may be, the headline every kind of order link carries, and the user's head code judged.
#include "generation/VisitorTracking.h"

#include "generation/BlockWriter.h"

#include <functional>
#include <gtest/gtest.h>

namespace scribvane {
namespace {

using Change = std::function<void(LetterValues&)>;

void TestTwoHeadlines(LetterValues& v) {
    v.mainHeadline = {false, "<b>Grow herbs</b>"};
    v.headlineVariants[1] = {false, "<b>Eat fresh</b>"}; // Headline3: mark c
}

TEST(VisitorTracking, CookieFreeCountersLoadAtOnceTrackersOnlyAfterConsent) {
    const struct {
        const char* name;
        Change change;
        std::vector<std::string> head;    // in the head, for every visitor; empty: nothing
        std::vector<std::string> consent; // in the consent block, run after "Accept"
    } cases[] = {
        {"nothing", [](LetterValues&) {}, {}, {}},
        {"Plausible",
         [](LetterValues& v) { v.plausible = " harvest.example "; },
         {"data-domain=\"harvest.example\" src=\"https://plausible.io/js/script.js\""},
         {}},
        {"GoatCounter",
         [](LetterValues& v) { v.goatCounter = "harvest"; },
         {"data-goatcounter=\"https://harvest.goatcounter.com/count\""},
         {}},
        {"Matomo without cookies",
         [](LetterValues& v) {
             v.matomoAddress = "https://stats.example/piwik";
             v.matomoSite = "7";
         },
         {"['disableCookies']", "var u='https://stats.example/piwik/'", "['setSiteId','7']"},
         {}},
        {"Matomo without its site",
         [](LetterValues& v) { v.matomoAddress = "https://s.example"; },
         {},
         {}},
        {"Google Analytics",
         [](LetterValues& v) { v.googleAnalytics = "G-A1B2C3"; },
         {"<style>.consent{"},
         {"googletagmanager.com/gtag/js?id=G-A1B2C3", "gtag('config','G-A1B2C3'",
          ">Accept</button>", ">Decline</button>", "Google Analytics"}},
        {"Meta pixel",
         [](LetterValues& v) { v.metaPixel = "123456789012345"; },
         {"<style>.consent{"},
         {"fbq('init','123456789012345')", "the Meta pixel"}},
        {"a headline test, and Plausible hears of it",
         [](LetterValues& v) {
             TestTwoHeadlines(v);
             v.plausible = "harvest.example";
         },
         {"plausible.io", "<style>.consent{"},
         {"a headline test", "plausible('Headline',{props:{headline:h}})"}},
        {"the user's own head code, as typed",
         [](LetterValues& v) { v.headCode = "<meta name=\"verify\" content=\"x&y\">"; },
         {"<meta name=\"verify\" content=\"x&y\">"},
         {}},
        {"ids with quotes, markup and line breaks",
         [](LetterValues& v) {
             v.plausible = "a.example\"><script>alert(1)</script>";
             v.goatCounter = "Harvest Site";
             v.googleAnalytics = "G-ABC');alert(1);//";
             v.metaPixel = "123\n456";
             v.matomoAddress = "javascript:alert(1)";
             v.matomoSite = "1";
         },
         {},
         {}},
    };
    for (const auto& c : cases) {
        LetterValues values;
        c.change(values);
        const std::string head = Html5Tracking(values);
        const std::string consent = Html5Consent(values);
        EXPECT_EQ(head.empty(), c.head.empty()) << c.name;
        EXPECT_EQ(consent.empty(), c.consent.empty()) << c.name;
        for (const auto& text : c.head) {
            EXPECT_NE(head.find(text), std::string::npos) << c.name << ": " << text;
        }
        for (const auto& text : c.consent) {
            EXPECT_NE(consent.find(text), std::string::npos) << c.name << ": " << text;
        }
        // Nothing that stores an identifier is named where it would load at once.
        for (const char* host : {"googletagmanager", "facebook", "fbevents"}) {
            EXPECT_EQ(head.find(host), std::string::npos) << c.name;
        }
        EXPECT_EQ(head.find("alert"), std::string::npos) << c.name;
        EXPECT_EQ(consent.find("alert"), std::string::npos) << c.name;
    }
}

TEST(VisitorTracking, EveryKindOfOrderLinkNamesTheHeadlineShown) {
    LetterValues values;
    TestTwoHeadlines(values);
    values.clickBankName = "harvest";
    values.productName = "1";
    const BlockWriter& writer = Html5Writer();
    const struct {
        const char* link;
        const char* carried; // the href as the page writes it
    } links[] = {
        {"https://shop.example/order", "https://shop.example/order?headline=a\""},
        {"https://shop.example/order?item=1", "https://shop.example/order?item=1&amp;headline=a\""},
        {"https://shop.example/order#form", "https://shop.example/order?headline=a#form\""},
        {"https://shop.example/?x=1#top", "https://shop.example/?x=1&amp;headline=a#top\""},
        {"https://shop.example/order?", "https://shop.example/order?headline=a\""},
    };
    for (const auto& l : links) {
        values.directLink = l.link;
        EXPECT_NE(writer.DirectOrder(values).find(l.carried), std::string::npos) << l.link;
    }
    EXPECT_NE(writer.ClickBankOrder(values).find("/1/&amp;vtid=a\""), std::string::npos);

    values.paypalCode = "<FORM action='https://www.paypal.com/cgi-bin/webscr' method=post>"
                        "<input name=cmd value=_s-xclick></FORM><form action=/other></form>";
    EXPECT_EQ(writer.PaypalCode(values),
              "<FORM action='https://www.paypal.com/cgi-bin/webscr' method=post>"
              "<input type=\"hidden\" name=\"custom\" value=\"a\" data-headline>"
              "<input name=cmd value=_s-xclick></FORM><form action=/other></form>");

    const std::string headline = writer.Headline(values);
    EXPECT_EQ(headline.find("<h1 data-headline-shown=\"a\""), 0u);
    EXPECT_NE(headline.find("</h1><h1 data-headline-shown=\"c\" hidden"), std::string::npos);
    EXPECT_EQ(headline.find("<script"), std::string::npos);
    const std::string head = Html5Tracking(values);
    EXPECT_NE(head.find("const m='ac'"), std::string::npos);
    EXPECT_NE(head.find("html[data-headline=\"c\"] [data-headline-shown=\"c\"]{display:block}"),
              std::string::npos);

    // Without a second headline nothing is marked: the letter keeps its bytes.
    values.headlineVariants[1] = {};
    values.directLink = "https://shop.example/order";
    EXPECT_EQ(writer.DirectOrder(values).find("headline"), std::string::npos);
    EXPECT_EQ(writer.ClickBankOrder(values).find("vtid"), std::string::npos);
    EXPECT_EQ(writer.Headline(values).find("data-headline"), std::string::npos);
    EXPECT_EQ(writer.PaypalCode(values), values.paypalCode);
    EXPECT_TRUE(Html5Consent(values).empty());
}

TEST(VisitorTracking, KnowsTheAddressesThatWouldCountAVisit) {
    const struct {
        const char* address;
        bool counts;
    } cases[] = {
        {"https://plausible.io/js/script.js", true},
        {"https://plausible.io/api/event", true},
        {"https://harvest.goatcounter.com/count?p=/", true},
        {"https://www.googletagmanager.com/gtag/js?id=G-A1", true},
        {"https://region1.google-analytics.com/g/collect", true},
        {"https://connect.facebook.net/en_US/fbevents.js", true},
        {"https://stats.example/piwik/matomo.php?idsite=1", true},
        {"https://notplausible.io/x.js", false},
        {"https://shop.example/order?next=plausible.io", false},
        {"https://www.paypal.com/sdk/js?client-id=x", false},
        {"scribvane-letter://page/cover.jpg", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsCounterAddress(c.address), c.counts) << c.address;
    }
}

TEST(VisitorTracking, HeadCodeIsWellFormedOnlyWhenEverythingOpenedIsClosed) {
    const struct {
        const char* code;
        bool wellFormed;
    } cases[] = {
        {"", true},
        {"<meta name=\"a\" content=\"b\"><link rel=\"me\" href=\"/x\">", true},
        {"<script>if (a < b && c > d) { x('</div>'); }</script>", true},
        {"<!-- a <b> comment --><noscript><img src=\"x\" alt=\"\"></noscript>", true},
        {"<script async src=\"x.js\">", false},
        {"<style>body{}", false},
        {"<noscript><img src=x></div>", false},
        {"<meta name=\"a", false},
        {"<meta name=\"a>", false},
        {"<!-- never closed", false},
        {"</script>", false},
        {"987654321098765", false},
        {"<meta name=\"a\"> oops <link rel=\"b\">", false},
        {"<title>Kept text</title>\r\n", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(!HeadCodeProblem(c.code).has_value(), c.wellFormed) << c.code;
    }
}

} // namespace
} // namespace scribvane
