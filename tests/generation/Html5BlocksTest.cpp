// The html5 dialect: one table per block kind (values in, markup out), and a template without
// the marker still getting the specified blocks.
#include "generation/Html5Blocks.h"

#include "generation/BlockDialect.h"
#include "generation/HtmlText.h"
#include "generation/LetterGenerator.h"
#include "generation/ListBlocks.h"
#include "generation/OrderBlocks.h"
#include "generation/PictureSize.h"
#include "tests/support/TempDir.h"
#include "utils/FileIo.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace scribvane {
namespace {

using testing::TempDir;

const std::string kMarker(kHtml5Marker);

// A PNG, GIF, JPEG (metadata before its frame) and WebP header of 3 by 2 pixels.
const std::string kPng("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x03\0\0\0\x02\x08\x02", 26);
const std::string kGif("GIF89a\x03\0\x02\0", 10);
const std::string kJpeg("\xFF\xD8\xFF\xE1\0\x04xx\xFF\xC0\0\x11\x08\0\x02\0\x03", 17);
const std::string kWebp("RIFF\0\0\0\0WEBPVP8X\x0A\0\0\0\0\0\0\0\x02\0\0\x01\0\0", 30);

TEST(Html5Blocks, PictureSizeComesFromTheHeader) {
    for (const auto& bytes : {kPng, kGif, kJpeg, kWebp}) {
        EXPECT_EQ(ReadPictureSize(bytes), (PictureSize{3, 2})) << bytes.substr(0, 4);
    }
    for (const std::string bytes : {"", "GIF89a", "\xFF\xD8\xFF\xDA", "<svg>", "BM"}) {
        EXPECT_EQ(ReadPictureSize(bytes), std::nullopt) << bytes;
    }
    struct Address {
        std::string address;
        std::optional<PictureSize> size;
    };
    const Address addresses[] = {
        {"data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAMAAAACCAI=", PictureSize{3, 2}},
        {"data:image/svg+xml,%3Csvg%20width='800'%20height=\"150px\"%3E", PictureSize{800, 150}},
        {"data:image/svg+xml;base64,PHN2ZyB2aWV3Qm94PSIwIDAgMjMwIDMwMCI+", PictureSize{230, 300}},
        {"data:image/svg+xml,<svg width='100%' height='50' viewBox='0 0 2 2'>", std::nullopt},
        {"https://x.test/a.png", std::nullopt},
    };
    for (const auto& a : addresses) {
        EXPECT_EQ(PictureSizeOfDataAddress(a.address), a.size) << a.address;
    }
}

TEST(Html5Blocks, Pictures) {
    TempDir dir;
    const std::string png = dir.Write("a b.png", kPng).string();
    std::filesystem::create_directories(dir / "site");
    const std::string output = (dir / "site" / "index.html").string();
    struct Case {
        PictureRole role;
        std::string picture, description, tag;
    };
    const Case cases[] = {
        {PictureRole::Header, png, "Tom & \"Jerry\" <3",
         R"(<img src="a%20b.png" alt="Tom &amp; &quot;Jerry&quot; &lt;3" width="3" height="2" )"
         R"(decoding="async" fetchpriority="high">)"},
        {PictureRole::Cover, "http://x.test/p.png?a=1&b=2", "",
         R"(<img src="http://x.test/p.png?a=1&amp;b=2" alt="" decoding="async">)"},
        {PictureRole::Footer, "missing file.gif", "&#321;&#x141; &amp",
         R"(<img src="missing%20file.gif" alt="&#321;&#x141; &amp;amp" decoding="async" )"
         R"(loading="lazy">)"},
        {PictureRole::Header, "", "ignored", ""},
    };
    for (const auto& c : cases) {
        LetterValues values;
        values.outputFileName = output;
        values.headerPicture = c.picture;
        const LetterPictures pictures = PlaceLetterPictures(values, true);
        EXPECT_EQ(Html5Picture(c.role, pictures.Of(PictureRole::Header), c.description), c.tag);
        EXPECT_EQ(pictures.files.size(), c.picture == png ? 1u : 0u);
    }
}

TEST(Html5Blocks, PassagesAndHeadline) {
    struct Case {
        std::string fragment, passage, headline;
    };
    const Case cases[] = {
        {R"(<div style="text-align: center;"><font face="Georgia" size="6" color="#b22222"><b>Hi</b></font></div>)",
         R"(<div style="text-align: center;"><span style="font-family: Georgia; font-size: 32px; color: #b22222"><b>Hi</b></span></div>)",
         R"(<h1 style="text-align: center;"><span style="font-family: Georgia; font-size: 32px; color: #b22222"><b>Hi</b></span></h1>)"},
        {"<div>One</div><div><br /></div><p>Two <i>2</i></p>",
         "<div>One</div><div><br /></div><p>Two <i>2</i></p>", "<h1>One<br>Two <i>2</i></h1>"},
        {"<center><strike>Old</strike></center><FONT size=+1 color=red>x</FONT>",
         R"(<div style="text-align: center"><s>Old</s></div><span style="font-size: 18px; color: red">x</span>)",
         R"(<h1 style="text-align: center"><s>Old</s><br><span style="font-size: 18px; color: red">x</span></h1>)"},
        {"Plain <b>text</b>", "Plain <b>text</b>", "<h1>Plain <b>text</b></h1>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModernPassage(c.fragment), c.passage);
        EXPECT_EQ(Html5Headline(c.fragment), c.headline);
    }
}

TEST(Html5Blocks, OrderOptionsAreLinks) {
    struct Case {
        std::string block, expected;
    };
    const Case cases[] = {
        {Html5DirectOrder("https://shop.test/buy?a=1&b=\"2\" x", true),
         R"(<div class="order"><p class="order-title">Check The Order Form!</p><a class="order-button primary" )"
         R"(href="https://shop.test/buy?a=1&amp;b=%222%22%20x">Click Here To Order Now!</a>)"
         R"(<p class="order-note">Don't miss this offer!</p></div>)"},
        {Html5ClickBankOrder("seller", "My Book", "Caf\xE9 & tea 'n' &#321;", false),
         R"(<div class="order"><p class="order-title">Order Using ClickBank!</p><a class="order-button" )"
         R"(href="http://www.clickbank.net/sell.cgi?seller/My%20Book/Caf%C3%A9%20%26%20tea%20%27n%27%20%C5%81">)"
         R"(Click Here To Pay With ClickBank!</a><p class="order-note">Don't miss this offer!</p></div>)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.block, c.expected);
    }
}

// Each word of the order section is the user's, escaped, once typed; left empty, the letter
// reads as it always has. A template without the marker keeps its blocks and placeholders.
TEST(Html5Blocks, OrderCopyReplacesItsWordsEscaped) {
    const std::string copy = "|%%ORDERHEADING%%|%%PRICELINE%%|%%ORDERCODE%%|%%CLICKBANKCODE%%";
    const std::string page = kMarker + "<!-- order heading: Order your copy -->" + copy;
    LetterValues values;
    values.directLink = "https://s.test/";
    values.clickBankName = "acct";
    const std::string today = MergeLetter(page, values);
    EXPECT_EQ(today, kMarker + "<!-- order heading: Order your copy -->|Order your copy||" +
                         Html5DirectOrder("https://s.test/", true) + "|" +
                         Html5ClickBankOrder("acct", "", "", false));
    using V = LetterValues;
    struct Case {
        std::string V::*entry;
        std::string typed;
        std::vector<std::pair<std::string, std::string>> changes; // in today's letter
    };
    const Case cases[] = {
        {&V::orderHeading, "A & <b>", {{"|Order your copy|", "|A &amp; &lt;b&gt;|"}}},
        {&V::priceLine, "$27 \"now\"", {{"||", "|<p class=\"order-price\">$27 \"now\"</p>|"}}},
        {&V::orderLine,
         "Pick",
         {{"Check The Order Form!", "Pick"}, {"Order Using ClickBank!", "Pick"}}},
        {&V::directButton, "Buy > go", {{"Click Here To Order Now!", "Buy &gt; go"}}},
        {&V::clickBankButton, "Pay &#321;", {{"Click Here To Pay With ClickBank!", "Pay &#321;"}}},
        {&V::orderClosing, "Today", {{"Don't miss this offer!", "Today"}}},
    };
    for (const auto& c : cases) {
        LetterValues typed = values;
        typed.*c.entry = c.typed;
        std::string expected = today;
        for (const auto& [was, now] : c.changes) {
            expected = ReplaceAll(expected, was, now);
        }
        EXPECT_EQ(MergeLetter(page, typed), expected) << c.typed;
        EXPECT_EQ(MergeLetter(copy, typed), "|%%ORDERHEADING%%|%%PRICELINE%%|" +
                                                DirectOrderBlock("https://s.test/") + "|" +
                                                ClickBankOrderBlock("acct", "", ""));
    }
}

TEST(Html5Blocks, TemplateDeclaresItsOrderHeading) {
    const std::pair<std::string, std::string> cases[] = {
        {"<!-- picture widths: cover 400 -->\r\n<!-- Order Heading:  Start today -->",
         "Start today"},
        {"", "Get Instant Access Now"},
        {"<!-- order heading: -->", "Get Instant Access Now"},
        {"<!-- order heading: left open\r\n<p>-->", "Get Instant Access Now"},
    };
    for (const auto& [text, heading] : cases) {
        EXPECT_EQ(OrderHeadingOfTemplate(text), heading) << text;
    }
}

// The html5 P.S. is not prefixed twice when the passage opens with its own "P.S"; the
// specified letter always gets the prefix.
TEST(Html5Blocks, PostScriptPrefixUnlessThePassageHasOne) {
    const std::pair<std::string, bool> cases[] = {{"<p>P.S. Not sure?</p>", true},
                                                  {"<div><b>p.s.</b> Hurry</div>", true},
                                                  {" &NBSP;\xA0<p>&nbsp;P.S: last</p>", true},
                                                  {"<p>PS: no points</p>", false},
                                                  {"<p>P.Smith says</p>", false},
                                                  {"<p>See the P.S. above</p>", false},
                                                  {"<p P.S.", false},
                                                  {"", false}};
    for (const auto& [fragment, own] : cases) {
        LetterValues values;
        values.postScript = Passage{false, fragment};
        EXPECT_EQ(MergeLetter(kMarker + "%%PS%%", values),
                  kMarker + (own ? "" : "<b>P.S.- </b>") + ModernPassage(fragment))
            << fragment;
        EXPECT_EQ(MergeLetter("%%PS%%", values), "<b>P.S.- </b>" + fragment);
    }
}

std::string Written(void (*write)(const RecordList&, const BlockStyle&, TextSink&),
                    const RecordList& records, const BlockStyle& style) {
    std::string text;
    StringSink sink(text);
    write(records, style, sink);
    return text;
}

TEST(Html5Blocks, AFontFallsBackToOneOfItsKind) {
    const struct {
        const char* family;
        const char* css;
    } cases[] = {
        {"Arial", "font-family: 'Arial', sans-serif;"},
        {"PT Sans", "font-family: 'PT Sans', sans-serif;"},
        {"Georgia", "font-family: 'Georgia', Georgia, serif;"},
        {"times new roman", "font-family: 'times new roman', Georgia, serif;"},
        {"Noto Serif Display", "font-family: 'Noto Serif Display', Georgia, serif;"},
        {"DejaVu Sans Mono", "font-family: 'DejaVu Sans Mono', 'Courier New', monospace;"},
        {"Courier New", "font-family: 'Courier New', 'Courier New', monospace;"},
    };
    for (const auto& c : cases) {
        BlockStyle style;
        style.fontName = c.family;
        EXPECT_NE(Html5BlockStyle(style).find(c.css), std::string::npos)
            << c.family << ": " << Html5BlockStyle(style);
    }
}

TEST(Html5Blocks, FeaturesAndTheirStyle) {
    BlockStyle style;
    const std::string plain = "background-color: #FFFFD9; color: #000000; font-family: 'Arial', "
                              "sans-serif; font-size: 13px; font-style: normal; font-weight: "
                              "normal; text-decoration: none";
    BlockStyle chosen{"O'Neil \"Sans\"", "-4", true, true, true, 0x0000FF, 0xFFFFFF};
    const std::string chosenCss =
        R"(background-color: #FFFFFF; color: #FF0000; font-family: 'O\'Neil &quot;Sans&quot;', )"
        "sans-serif; font-style: italic; font-weight: bold; text-decoration: underline";
    struct Case {
        RecordList records;
        BlockStyle style;
        std::string expected;
    };
    const Case cases[] = {
        {{"^Fast^Line one$$line <i>two</i>^", "^^No title^", "^Title only"},
         style,
         "<ul class=\"features\" style=\"" + plain +
             "\"><li><strong>Fast</strong> Line one<br>line <i>two</i></li><li>No title</li>"
             "<li><strong>Title only</strong> </li></ul>"},
        {{"^A^B^"},
         chosen,
         "<ul class=\"features\" style=\"" + chosenCss + "\"><li><strong>A</strong> B</li></ul>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Written(WriteHtml5Features, c.records, c.style), c.expected);
    }
}

TEST(Html5Blocks, TestimonialsAreFigures) {
    const std::string open = "<figure class=\"testimonial\" style=\"" +
                             Html5BlockStyle(BlockStyle()) + "\"><blockquote>";
    struct Case {
        std::string record, expected;
    };
    const Case cases[] = {
        {"^Ann^example.test^Great$$really^",
         open +
             R"(Great<br>really</blockquote><figcaption><a href="https://example.test">Ann</a></figcaption></figure>)"},
        {"^Bob^http://b.test/a b?x&y^Ok^",
         open +
             R"(Ok</blockquote><figcaption><a href="http://b.test/a%20b?x&amp;y">Bob</a></figcaption></figure>)"},
        {"^Cy^^Fine^", open + "Fine</blockquote><figcaption>Cy</figcaption></figure>"},
        {"^^www.d.test^Hm^",
         open +
             R"(Hm</blockquote><figcaption><a href="https://www.d.test">www.d.test</a></figcaption></figure>)"},
        {"^^^Anonymous^", open + "Anonymous</blockquote></figure>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Written(WriteHtml5Testimonials, RecordList{c.record}, BlockStyle()), c.expected);
    }
    EXPECT_EQ(Written(WriteHtml5Testimonials, RecordList(), BlockStyle()), "");
}

TEST(Html5Blocks, HeadPlaceholders) {
    LetterValues values;
    values.pageTitle = "Tom & Jerry";
    values.attention = "Even <b>if</b>   you \"try\"";
    values.currentDate = "Sunday, 12 March 2023, 10:30";
    values.coverPicture = "https://x.test/c.png";
    const std::string page = MergeLetter(
        kMarker + "|%%LANG%%|%%DESCRIPTION%%|%%YEAR%%|%%OPENGRAPH%%|%%AFFILIATEID%%", values);
    EXPECT_EQ(page, kMarker +
                        "|en|Even if you &quot;try&quot;|2023|"
                        R"(<meta property="og:type" content="website">)"
                        R"(<meta property="og:title" content="Tom &amp; Jerry">)"
                        R"(<meta property="og:description" content="Even if you &quot;try&quot;">)"
                        R"(<meta property="og:image" content="https://x.test/c.png">|)");
    values.language = "de-CH";
    values.pageDescription = "Own";
    values.currentDate = "no year";
    values.paypalEmail = "a&b@x.test";
    const std::string second =
        MergeLetter(kMarker + "%%LANG%%|%%DESCRIPTION%%|%%AFFILIATEID%%", values);
    EXPECT_EQ(second, kMarker + "de-CH|Own|a&amp;b@x.test");
}

// A published letter names its copied cover (else header) picture and itself absolutely under
// the public address; without one the head stays as for a letter on disk.
TEST(Html5Blocks, OpenGraphAddressesFollowThePublicAddress) {
    TempDir dir;
    const std::string folder = TextFromPath(dir.path()) + "/";
    const std::string local = folder + "my c\xFCver #1.png"; // Windows-1252, as values hold it
    TempDir::WriteFile(PathFromText(local), kPng);
    const std::string header = TextFromPath(dir.Write("head.png", kPng));
    const std::string image = R"(<meta property="og:image" content=")";
    const std::string url = R"("><meta property="og:url" content=")";
    struct Case {
        std::string cover, header, publicAddress;
        PicturePlacement placement;
        std::string expected; // after og:title
    };
    const auto embed = PicturePlacement::Embed;
    const auto copy = PicturePlacement::CopyBeside;
    const Case cases[] = {
        {"https://w.test/c d.png", local, "", copy, image + "https://w.test/c%20d.png\">"},
        {local, header, "", copy, ""},
        {local, "", "https://x.test/offer/", copy,
         image + "https://x.test/offer/my%20c%C3%BCver%20%231.png" + url +
             "https://x.test/offer/offer%20page.html\">"},
        {local, "", "https://x.test/offer", copy,
         image + "https://x.test/offer/my%20c%C3%BCver%20%231.png" + url +
             "https://x.test/offer/offer%20page.html\">"},
        {"https://w.test/c.png", local, "https://x.test/", copy,
         image + "https://w.test/c.png" + url + "https://x.test/offer%20page.html\">"},
        {folder + "gone.png", header, "HTTP://x.test/a b/?r=1&s#top", copy,
         image + "HTTP://x.test/a%20b/head.png" + url + "HTTP://x.test/a%20b/offer%20page.html\">"},
        {local, "", "https://x.test/", embed,
         R"(<meta property="og:url" content="https://x.test/offer%20page.html">)"},
        {local, header, "ftp://x.test/", copy, ""},
    };
    for (const auto& c : cases) {
        LetterValues values;
        values.pageTitle = "T";
        values.coverPicture = c.cover;
        values.headerPicture = c.header;
        values.publicAddress = c.publicAddress;
        values.placement = c.placement;
        values.outputFileName = folder + "offer page.html";
        EXPECT_EQ(Html5OpenGraph(values, PlaceLetterPictures(values, true)),
                  R"(<meta property="og:type" content="website">)"
                  R"(<meta property="og:title" content="T">)" +
                      c.expected)
            << c.cover << " | " << c.publicAddress;
    }
}

// Without the marker (or with it only in the body) a template gets the specified blocks and
// keeps the html5 placeholders as written.
TEST(Html5Blocks, TemplateWithoutMarkerGetsTheSpecifiedBytes) {
    LetterValues values;
    values.fullName = "Ann";
    values.coverPicture = "pic.png";
    values.coverPictureDescription = "A cover";
    values.clickBankName = "s";
    values.productName = "P Q";
    values.testimonials = RecordList{"^Ann^a.test^Hi^"};
    const std::string body = "%%FROMFULLNAME%%|%%ECOVERPICTURE%%|%%LANG%%|%%TESTIMONIALS%%|"
                             "%%CLICKBANKCODE%%";
    for (const std::string& head : {std::string(), "<body>" + kMarker}) {
        const std::string page = MergeLetter(head + body, values);
        EXPECT_EQ(DialectOf(head + body), BlockDialect::Specified);
        EXPECT_EQ(page, head +
                            "<font face=Arial size=2><b>From: </b>Ann</font>|"
                            "<img border=0 src=pic.png>|%%LANG%%|" +
                            TestimonialsHtml(values.testimonials, values.testimonialStyle) + "|" +
                            ClickBankOrderBlock("s", "P Q", ""));
    }
    EXPECT_EQ(DialectOf("<head>" + kMarker + "</head><BODY>"), BlockDialect::Html5);
}

} // namespace
} // namespace scribvane

namespace scribvane {
namespace {

// The editing areas show the families the chosen design gives its page.
TEST(BodyFontOfTemplate, ReadsTheBodyRulesFamilies) {
    const struct {
        std::string_view text;
        std::string_view families;
    } cases[] = {
        {"<style>body { margin: 0; font: 17px/1.65 \"Segoe UI\", Arial, sans-serif; }</style>",
         "\"Segoe UI\", Arial, sans-serif"},
        {"<style>\r\nBODY{font-family:Georgia, serif}</style>", "Georgia, serif"},
        {"<style>.body { font: 12px Arial; } body { font: bold 16px Georgia, serif; }</style>",
         "Georgia, serif"},
        {"<style>tbody { font-family: Arial; }</style>", ""},
        {"<style>body { color: red; }</style>", ""},
        {"<html><body><font face=Arial>no sheet</font></body></html>", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BodyFontOfTemplate(c.text), c.families) << c.text;
    }
    // Every shipped design names its page's font.
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(SCRIBVANE_TEMPLATES_DIR))) {
        if (entry.path().extension() == ".tem") {
            const std::string families = BodyFontOfTemplate(ReadTemplateText(entry.path()));
            EXPECT_TRUE(families.ends_with("serif")) << entry.path() << ": " << families;
        }
    }
}

} // namespace
} // namespace scribvane
