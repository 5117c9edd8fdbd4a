// The rules of selling: what the check finds, how a deadline is read, what the blocks say, and
// which policy pages go beside a letter.
#include "generation/SellingRules.h"

#include "generation/BlockDialect.h"
#include "generation/LetterPreparation.h"
#include "generation/SellingBlocks.h"
#include "generation/SignupForm.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace scribvane {
namespace {

using testing::TempDir;

// 2026-12-10T12:00Z, the moment the rules are judged at.
constexpr std::int64_t kNow = 1796904000;

TEST(SellingRules, ReadsResultsAndHasteInWhatReadersSee) {
    const struct {
        std::string_view text;
        bool result, urgency;
    } cases[] = {
        {"I grew 40 pounds of tomatoes", true, false},
        {"I lost 12kg in a summer", true, false},
        {"She made $4,000 in her first month", true, false},
        {"Sales went up 30 %", true, false},
        {"Saved &euro;120 a year", true, false},
        {"<b>Earned</b> back the price", true, false},
        {"Clear, friendly and practical.", false, false},
        {"Five stars from me", false, false},
        {"Last chance: only <i>today</i>!", false, true},
        {"Only\r\ntoday", false, true},
        {"The offer expires in 3 hours", true, true},
        {"Lastchance is our brand", false, false},
        {"Nur heute zum halben Preis", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StatesResult(c.text), c.result) << c.text;
        EXPECT_EQ(SpeaksOfUrgency(c.text), c.urgency) << c.text;
    }
}

TEST(SellingRules, EachRuleLeadsToTheFieldThatSettlesIt) {
    const std::string html5 =
        std::string(kHtml5Marker) + "%%SELLER%%%%RETAILER%%%%RESULTS%%%%DISCLAIMER%%%%DEADLINE%%";
    using Change = std::function<void(LetterValues&)>;
    const Change seller = [](LetterValues& v) {
        v.sellerName = "Harvest Press";
        v.sellerEmail = "help@harvest.example";
    };
    const struct {
        const char* name;
        Change change;
        std::string templateText;
        std::vector<std::pair<Severity, std::string_view>> findings; // severity, field
    } cases[] = {
        {"nothing to say", nullptr, html5, {}},
        {"ClickBank without the seller",
         [](LetterValues& v) { v.clickBankName = "harvest"; },
         html5,
         {{Severity::Error, "SellerName"}}},
        {"ClickBank without the e-mail",
         [](LetterValues& v) {
             v.clickBankName = "harvest";
             v.sellerName = "Harvest Press";
         },
         html5,
         {{Severity::Error, "SellerEmail"}}},
        {"ClickBank with the seller",
         [&](LetterValues& v) {
             seller(v);
             v.clickBankName = "x";
         },
         html5,
         {}},
        {"not an e-mail",
         [](LetterValues& v) { v.sellerEmail = "help at harvest"; },
         html5,
         {{Severity::Warning, "SellerEmail"}}},
        {"a result without a statement",
         [](LetterValues& v) { v.testimonials.push_back("^Ann^^I lost 9 lbs!^"); },
         html5,
         {{Severity::Warning, "ResultsStatement"}}},
        {"a result with a statement",
         [](LetterValues& v) {
             v.testimonials.push_back("^Ann^^I lost 9 lbs!^");
             v.resultsStatement = "Results vary.";
         },
         html5,
         {}},
        {"haste without a deadline",
         [](LetterValues& v) {
             v.closing = {false, "<p>Last chance!</p>"};
         },
         html5,
         {{Severity::Warning, "OfferEnds"}}},
        {"haste with a deadline",
         [](LetterValues& v) {
             v.priceLine = "Only today";
             v.offerEnds = "2026-12-31T23:59+01:00";
         },
         html5,
         {}},
        {"a deadline passed",
         [](LetterValues& v) { v.offerEnds = "2026-12-01T00:00Z"; },
         html5,
         {{Severity::Warning, "OfferEnds"}}},
        {"no date",
         [](LetterValues& v) { v.offerEnds = "next Friday"; },
         html5,
         {{Severity::Warning, "OfferEnds"}}},
        {"no zone",
         [](LetterValues& v) { v.offerEnds = "2027-01-31T12:00"; },
         html5,
         {{Severity::Tip, "OfferEnds"}}},
        {"a template without the places",
         [&](LetterValues& v) {
             seller(v);
             v.clickBankName = "x";
             v.disclaimer = "Not advice.";
         },
         std::string(kHtml5Marker),
         {{Severity::Warning, "Template"},
          {Severity::Error, "Template"},
          {Severity::Warning, "Template"}}},
        {"a sign-up form posting unencrypted, without consent or privacy policy",
         [](LetterValues& v) { v.signupAddress = "http://lists.example/subscribe"; },
         html5 + "%%SIGNUP%%",
         {{Severity::Warning, "SignupAddress"}, {Severity::Warning, "SignupConsent"}}},
        {"a sign-up form with its consent wording",
         [](LetterValues& v) {
             v.signupAddress = "https://formspree.io/f/abc";
             v.signupConsent = "Yes, send me news.";
         },
         html5 + "%%SIGNUP%%",
         {}},
        {"a sign-up form to no web address",
         [&](LetterValues& v) {
             seller(v);
             v.signupAddress = "mailto:me@x.example";
         },
         html5 + "%%SIGNUP%%",
         {{Severity::Warning, "SignupAddress"}}},
        {"ids that cannot go into the page, and a Matomo without its site",
         [](LetterValues& v) {
             v.googleAnalytics = "G-ABC\"</script>";
             v.metaPixel = "12345\n678";
             v.matomoAddress = "https://stats.example/";
         },
         html5 + "%%TRACKING%%",
         {{Severity::Warning, "GoogleAnalytics"},
          {Severity::Warning, "MetaPixel"},
          {Severity::Warning, "MatomoSite"}}},
        {"head code left open",
         [](LetterValues& v) { v.headCode = "<script>var a = 1;"; },
         html5 + "%%TRACKING%%",
         {{Severity::Warning, "HeadCode"}}},
        {"a tracker without a privacy policy, and a template without the notice",
         [](LetterValues& v) { v.metaPixel = "123456789012345"; },
         html5,
         {{Severity::Warning, "SellerName"},
          {Severity::Warning, "Template"},
          {Severity::Warning, "Template"}}},
        {"a headline test against PayPal code with its own custom field",
         [&](LetterValues& v) {
             seller(v);
             v.mainHeadline = {false, "One"};
             v.headlineVariants[0] = {false, "Two"};
             v.paypalCode = "<form action=\"https://www.paypal.com/cgi-bin/webscr\">"
                            "<input name=\"custom\" value=\"x\"></form>";
         },
         html5 + "%%CONSENT%%%%TRACKING%%",
         {{Severity::Tip, "PaypalCode"}}},
        {"a template of the old kind cannot count or test",
         [](LetterValues& v) { v.plausible = "harvest.example"; },
         "<html>",
         {{Severity::Warning, "Template"}}},
        {"a template of the old kind has none to miss",
         [&](LetterValues& v) {
             seller(v);
             v.disclaimer = "Not advice.";
         },
         "<html>",
         {}},
    };
    for (const auto& c : cases) {
        LetterValues values;
        if (c.change) {
            c.change(values);
        }
        std::vector<Finding> findings;
        CheckSellingRules(values, c.templateText, kNow, findings);
        std::vector<std::pair<Severity, std::string_view>> got;
        for (const auto& f : findings) {
            got.emplace_back(f.severity, f.field.Name());
            EXPECT_FALSE(f.sentence.empty()) << c.name;
        }
        EXPECT_EQ(got, c.findings) << c.name;
    }
}

TEST(OfferDeadline, IsOneMomentWhateverTheZoneItIsWrittenIn) {
    const struct {
        std::string_view text;
        std::optional<std::int64_t> utc;
        std::string_view datetime;
    } cases[] = {
        {"2026-12-31T23:59+01:00", 1798757940, "2026-12-31T23:59:00+01:00"},
        {"2026-12-31 22:59:00Z", 1798757940, "2026-12-31T22:59:00Z"},
        {"2026-12-31T17:29-0530", 1798757940, "2026-12-31T17:29:00-05:30"},
        {"2026-02-30T10:00Z", std::nullopt, ""},
        {"10000-01-01T00:00Z", std::nullopt, ""},
        {"2026-12-31", std::nullopt, ""},
        {"2026-12-31T24:00Z", std::nullopt, ""},
        {"2026-12-31T23:59+15:00", std::nullopt, ""},
        {"2026-12-31T23:59Z trailing", std::nullopt, ""},
    };
    for (const auto& c : cases) {
        const auto deadline = ReadOfferDeadline(c.text);
        ASSERT_EQ(deadline.has_value(), c.utc.has_value()) << c.text;
        if (deadline) {
            EXPECT_EQ(deadline->utcSeconds, *c.utc) << c.text;
            EXPECT_EQ(DeadlineDateTime(*deadline), c.datetime) << c.text;
        }
    }
    // Without a zone, this computer's at that date.
    const char* before = std::getenv("TZ");
    const std::string kept = before != nullptr ? before : "";
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    const auto local = ReadOfferDeadline("2026-07-01T12:00");
    ASSERT_TRUE(local);
    EXPECT_FALSE(local->zoneGiven);
    EXPECT_EQ(local->offsetMinutes, 120);
    before != nullptr ? ::setenv("TZ", kept.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}

TEST(SellingBlocks, SayTheUsersWordsEscapedAndTheDeadlineWithoutScript) {
    LetterValues values;
    EXPECT_EQ(Html5Seller(values) + Html5Retailer(values) + Html5Results(values) +
                  Html5Disclaimer(values) + Html5Deadline(values),
              "");
    values.sellerName = "Books <&> \"Co\"";
    values.sellerEmail = "a\"b@x.example";
    values.clickBankName = "x";
    values.offerEnds = "2026-12-31T23:59+01:00";
    values.language = "de-AT";
    const std::string seller = Html5Seller(values);
    EXPECT_NE(seller.find("Verkauf durch Books &lt;&amp;&gt; \"Co\""), std::string::npos);
    EXPECT_NE(seller.find("href=\"mailto:a%22b@x.example\""), std::string::npos);
    EXPECT_NE(seller.find("href=\"privacy.html\""), std::string::npos);
    EXPECT_NE(Html5Retailer(values).find("ClickBank is the retailer"), std::string::npos);
    const std::string deadline = Html5Deadline(values);
    EXPECT_NE(deadline.find("data-ends=\"1798757940000\""), std::string::npos);
    EXPECT_NE(deadline.find("<time datetime=\"2026-12-31T23:59:00+01:00\">31. Dezember 2026, "
                            "23:59 Uhr (UTC+01:00)</time>"),
              std::string::npos);
}

// The form sends what each provider reads, with its robot trap, and the user's consent words.
TEST(SignupForm, NamesItsFieldsAsTheProviderReadsThem) {
    const struct {
        std::string_view address;
        std::string_view provider, email, name, trap;
    } cases[] = {
        {"https://example.us1.list-manage.com/subscribe/post?u=abc&id=123", "Mailchimp", "EMAIL",
         "FNAME", "b_abc_123"},
        {"https://app.kit.com/forms/42/subscriptions", "Kit", "email_address", "first_name",
         "website"},
        {"https://assets.mailerlite.com/jsonp/1/forms/2/subscribe", "MailerLite", "fields[email]",
         "fields[name]", "website"},
        {"https://sibforms.com/serve/MUIF", "Brevo", "EMAIL", "FIRSTNAME", "email_address_check"},
        {"https://formspree.io/f/xyz", "Formspree", "email", "name", "_gotcha"},
        {"thanks.html", "Netlify Forms", "email", "name", "bot-field"},
        {"https://notformspree.io/f/xyz", "the form's own service", "email", "name", "website"},
    };
    for (const auto& c : cases) {
        const SignupProvider provider = SignupProviderOf(c.address);
        EXPECT_EQ(provider.name, c.provider) << c.address;
        EXPECT_EQ(provider.emailField, c.email) << c.address;
        EXPECT_EQ(provider.nameField, c.name) << c.address;
        EXPECT_EQ(provider.honeypotField, c.trap) << c.address;
    }
    LetterValues values;
    EXPECT_EQ(Html5Signup(values), "");
    EXPECT_FALSE(SignupDataUse(values));
    values.signupAddress = "https://formspree.io/f/a b\"";
    values.signupConsent = "Yes <please> & thanks";
    const std::string form = Html5Signup(values);
    EXPECT_NE(form.find("action=\"https://formspree.io/f/a%20b%22\""), std::string::npos);
    EXPECT_NE(form.find(">Yes &lt;please&gt; &amp; thanks</label>"), std::string::npos);
    EXPECT_NE(form.find("name=\"_gotcha\" tabindex=\"-1\""), std::string::npos);
    EXPECT_NE(form.find("autocomplete=\"email\" required"), std::string::npos);
    EXPECT_EQ(form.find("<script"), std::string::npos);
}

// The policy pages go beside every letter that names its seller, whatever the placement of
// its pictures; a file of the user's replaces the shipped text, one that cannot be read is
// said and replaced by the shipped text.
TEST(PrepareLetter, WritesThePolicyPagesOfALetterThatNamesItsSeller) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Templates");
    dir.Write("Templates/Page.tem", "<html lang=\"%%LANG%%\"><head><meta charset=\"utf-8\">" +
                                        std::string(kHtml5Marker) +
                                        "<title>%%PAGETITLE%%</title></head><body>"
                                        "%%SELLER%%</body></html>");
    dir.Write("Templates/Old.tem", "<html>%%PAGETITLE%%</html>");
    const std::string own = dir.Write("mine.html", "<p>My own policy</p>").string();
    const struct {
        std::string templateName, seller, privacyPage;
        PicturePlacement placement;
        std::vector<std::string> files; // name, then "shipped" or "own"
        std::size_t findings;
    } cases[] = {
        {"Page", "", "", PicturePlacement::CopyBeside, {}, 0},
        {"Old", "Press", "", PicturePlacement::CopyBeside, {}, 0},
        {"Page",
         "Press",
         "",
         PicturePlacement::CopyBeside,
         {"privacy.html", "shipped", "terms.html", "shipped"},
         0},
        {"Page",
         "Press",
         own,
         PicturePlacement::Embed,
         {"privacy.html", "own", "terms.html", "shipped"},
         0},
        {"Page",
         "Press",
         (dir / "gone.html").string(),
         PicturePlacement::CopyBeside,
         {"privacy.html", "shipped", "terms.html", "shipped"},
         1},
    };
    for (const auto& c : cases) {
        LetterRequest request;
        request.configuration.Set(Tag::PageTitle, std::string("Offer"));
        request.configuration.SetOptional(OptionalTag::SellerName, c.seller);
        request.configuration.SetOptional(OptionalTag::PrivacyPage, c.privacyPage);
        request.configuration.SetOptional(OptionalTag::Language, std::string("pl"));
        request.templateFolder = dir / "Templates";
        request.templateName = c.templateName;
        request.outputFileName = (dir / "out" / "offer.html").string();
        request.placement = c.placement;
        const PreparedLetter letter = PrepareLetter(std::move(request));
        std::vector<std::string> files;
        for (const auto& file : letter.files) {
            files.push_back(file.name);
            files.emplace_back(file.source.empty() ? "shipped" : "own");
            if (file.source.empty()) {
                EXPECT_NE(file.bytes.find("<a href=\"offer.html\">Back to the offer</a>"),
                          std::string::npos);
                EXPECT_NE(file.bytes.find("Press"), std::string::npos);
                // The shipped texts are English here, and say so.
                EXPECT_NE(file.bytes.find("<html lang=\"en\""), std::string::npos);
            }
        }
        EXPECT_EQ(files, c.files) << c.templateName << " " << c.privacyPage;
        EXPECT_EQ(letter.policyFindings.size(), c.findings) << c.privacyPage;
    }
}

} // namespace
} // namespace scribvane
