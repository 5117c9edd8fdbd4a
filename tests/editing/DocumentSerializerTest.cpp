// The fixed text form of an editing area's document: escaping, layout, the fixed head, the
// empty body, and above all that Save, Load, Save changes nothing.
#include "editing/DocumentSerializer.h"

#include "utils/TextHelpers.h"
#include "utils/Win1252.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace scribvane {
namespace {

const std::string kHead = "<html>\r\n<head>\r\n<title></title>\r\n"
                          "<meta http-equiv=\"Content-Type\" content=\"text/html; "
                          "charset=windows-1252\" />\r\n</head>\r\n";

// What a load does with a stored fragment: Windows-1252 text back to Unicode, then the area
// takes it as its document.
std::string Reload(const std::string& stored) {
    return SerializeDocument(FragmentToDocument(AnsiToUtf8(stored)));
}

struct BodyCase {
    const char* name;
    std::string input; // UTF-8 markup
    std::string body;  // Windows-1252
};

class SerializeBodyTest : public testing::TestWithParam<BodyCase> {};

TEST_P(SerializeBodyTest, WritesTheFixedForm) {
    EXPECT_EQ(SerializeBody(GetParam().input), GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    Escaping, SerializeBodyTest,
    testing::Values(
        BodyCase{"MarkupCharacters", "a &amp; b &lt;c&gt; \"q\"",
                 "<body>a &amp; b &lt;c&gt; \"q\"</body>"},
        BodyCase{"NoBreakSpace", "x&nbsp;y\xC2\xA0z", "<body>x&nbsp;y&nbsp;z</body>"},
        BodyCase{"CodePageLetters", "caf\xC3\xA9 \xE2\x82\xAC 5", "<body>caf\xE9 \x80 5</body>"},
        BodyCase{"OutsideCodePage", "snow \xE2\x98\x83 and \xF0\x9F\x98\x80",
                 "<body>snow &#9731; and &#128512;</body>"},
        BodyCase{"ReferenceOutsideCodePage", "&#x3A9;mega", "<body>&#937;mega</body>"},
        BodyCase{"UnholdableC1ControlReadsAsItsCodePageCharacter", "a\xC2\x80z",
                 "<body>a\x80z</body>"},
        BodyCase{"ControlCharactersKept", "a\x01z\xC2\x81<i title=\"\x7F\">\xC2\x9D</i>",
                 "<body>a\x01z\x81<i title=\"\x7F\">\x9D</i></body>"},
        BodyCase{"WhiteSpaceRunsCollapse", "a   b\n\t c\r\nd", "<body>a b c d</body>"},
        BodyCase{"LeadingWhiteSpaceOfTheBodyIsDropped", "  \n x", "<body>x</body>"},
        BodyCase{"SpaceRunAcrossADroppedComment", "a <!-- c --> b", "<body>a b</body>"},
        BodyCase{"AttributeEscapes", "<a href=\"x?a=1&amp;b=2\" title='say \"hi\" &lt;3'>l</a>",
                 "<body><a href=\"x?a=1&amp;b=2\" title=\"say &quot;hi&quot; &lt;3\">l</a></body>"},
        BodyCase{"AttributeLineBreaksAndSpaceRuns", "<span title=\"a  b\nc   d\">x</span>",
                 "<body><span title=\"a &#32;b&#10;c &#32; d\">x</span></body>"},
        BodyCase{"AttributeOutsideCodePage", "<img alt=\"\xE2\x98\x83\xC2\xA0\">",
                 "<body><img alt=\"&#9731;&nbsp;\" /></body>"},
        BodyCase{"NamesInLowerCase", "<B CLASS=x>y</B><FONT Color=RED>z</FONT>",
                 "<body><b class=\"x\">y</b><font color=\"RED\">z</font></body>"},
        BodyCase{"EmptyAttribute", "<input disabled>", "<body><input disabled=\"\" /></body>"},
        BodyCase{"UnknownElementKeepsItsName", "<My-Tag A=1>t</My-Tag>",
                 "<body><my-tag a=\"1\">t</my-tag></body>"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Elements, SerializeBodyTest,
    testing::Values(
        BodyCase{"VoidElementsClosed", "a<br>b<img src=p.gif><wbr>",
                 "<body>a<br />b<img src=\"p.gif\" /><wbr /></body>"},
        BodyCase{"InlineElementsStayInTheLine",
                 "<b>1</b><i>2</i><u>3</u><font size=7>4</font><span>5</span><a href=u>6</a>",
                 "<body><b>1</b><i>2</i><u>3</u><font size=\"7\">4</font><span>5</span>"
                 "<a href=\"u\">6</a></body>"},
        BodyCase{"BlocksOnLinesOfTheirOwn", "<div>a</div><p>b</p><hr>",
                 "<body>\r\n  <div>a</div>\r\n  <p>b</p>\r\n  <hr />\r\n</body>"},
        BodyCase{"NestingIndentsTwoSpacesPerLevel",
                 "<div>a<div>b<blockquote>c</blockquote></div>tail </div>",
                 "<body>\r\n  <div>\r\n    a\r\n    <div>\r\n      b\r\n"
                 "      <blockquote>c</blockquote>\r\n    </div>\r\n    tail \r\n  </div>\r\n"
                 "</body>"},
        BodyCase{"WhiteSpaceBetweenBlocksGetsNoLine", "<div>a</div>\n  <!-- x -->\n<div>b</div>",
                 "<body>\r\n  <div>a</div>\r\n  <div>b</div>\r\n</body>"},
        BodyCase{"ListsAndTables", "<ul><li>a<li>b</ul><table><tr><td>c</table>",
                 "<body>\r\n  <ul>\r\n    <li>a</li>\r\n    <li>b</li>\r\n  </ul>\r\n"
                 "  <table>\r\n    <tbody>\r\n      <tr>\r\n        <td>c</td>\r\n      </tr>\r\n"
                 "    </tbody>\r\n  </table>\r\n</body>"},
        BodyCase{"PreKeepsItsWhiteSpaceAsReferences", "<pre>a  b\n <b>c   d</b></pre>",
                 "<body>\r\n  <pre>a &#32;b&#10; <b>c &#32; d</b></pre>\r\n</body>"},
        BodyCase{"PreLeadingLineBreakWrittenTwice", "<pre>\n\nx</pre>",
                 "<body>\r\n  <pre>&#10;&#10;x</pre>\r\n</body>"},
        BodyCase{"TextareaKeepsItsText", "<textarea>a  &lt;b&gt;\nc</textarea>",
                 "<body><textarea>a &#32;&lt;b&gt;&#10;c</textarea></body>"},
        BodyCase{"RawTextElementBecomesPre", "<xmp>a<b>  c</xmp>",
                 "<body>\r\n  <pre>a&lt;b&gt; &#32;c</pre>\r\n</body>"},
        BodyCase{"ScriptsStylesAndCommentsDropped",
                 "a<script>alert(1)</script>b<style>p{}</style>c<!--d--><noscript>e</noscript>",
                 "<body>abc</body>"},
        BodyCase{"HeadElementsInTheBodyDropped", "x<title>t</title><meta name=a><link rel=b>y",
                 "<body>xy</body>"},
        BodyCase{"ParserRepairsAreWritten", "<p><div>x</div>",
                 "<body>\r\n  <p></p>\r\n  <div>x</div>\r\n</body>"},
        BodyCase{"BodyAttributesDropped", "<body bgcolor=red>x</body>", "<body>x</body>"}),
    [](const auto& info) { return std::string(info.param.name); });

class EmptyBodyTest : public testing::TestWithParam<std::string> {};

TEST_P(EmptyBodyTest, GivesOneNoBreakSpace) {
    EXPECT_EQ(SerializeBody(GetParam()), "<body>&nbsp;</body>");
    EXPECT_EQ(SerializeDocument(GetParam()), kHead + "<body>&nbsp;</body>\r\n</html>");
}

INSTANTIATE_TEST_SUITE_P(NothingVisible, EmptyBodyTest,
                         testing::Values("", "   \r\n\t", "<div><br></div>", "<br><br>",
                                         "<p></p><div> </div>", "<!-- note -->",
                                         "<script>x()</script>", "&nbsp;", "<b> </b>&nbsp;",
                                         "<html><head><title>t</title></head><body></body>",
                                         "<frameset></frameset>"));

TEST(SerializeBody, SomethingVisibleIsNotEmpty) {
    for (const char* input : {"<img src=a>", "<hr>", "x", "<table></table>", "<ul><li></ul>"}) {
        EXPECT_NE(SerializeBody(input), "<body>&nbsp;</body>") << input;
    }
}

TEST(SerializeDocument, WritesTheFixedHeadAndDropsAnyOther) {
    const std::string out = SerializeDocument(
        "<!DOCTYPE html><HTML lang=en><head><title>Old</title><meta charset=utf-8>"
        "<style>p{}</style><meta name=generator content=x></head><body><b>Hi</b> there</body>"
        "</html>");
    EXPECT_EQ(out, kHead + "<body><b>Hi</b> there</body>\r\n</html>");
}

// Save, Load, Save: a stored fragment loaded again writes the very same text.
class FixedPointTest : public testing::TestWithParam<std::string> {};

TEST_P(FixedPointTest, SaveLoadSaveChangesNothing) {
    const std::string first = SerializeDocument(GetParam());
    const std::string second = Reload(StripEditorDocument(first));
    EXPECT_EQ(second, first);
    EXPECT_EQ(Reload(StripEditorDocument(second)), first);
}

INSTANTIATE_TEST_SUITE_P(
    ManyInputs, FixedPointTest,
    testing::Values(
        "", "plain text", "  lead and trail  ", "a  b   c    d", "x&nbsp; &nbsp;y",
        "<b>bold</b> <i>it</i>  <u> under </u>", "<div> a </div>", "<div>a</div> b <div>c</div>",
        "<div><div>deep <b>and</b></div> tail   </div>", "<div><b><div>x</div></b></div>",
        "<p>a<p>b", "<ul><li>one<li>two<ol><li>three</ol></ul>",
        "<table border=1><tr><td>a<td> b </td></tr></table>text",
        "<table><tr><td>x</td></tr>stray</table>", "<pre>  two\n\nlines  </pre>",
        "<pre>\n\nlead</pre>", "<textarea>\n\n a  b </textarea>", "<xmp>\n<a>  </xmp>",
        "<listing>\n\nl  x</listing>", "<span title=\"  spaced  \n out \">s</span>",
        "<img alt=\"a   b\" src=\"c d.gif\">", "<font face=\"Times New Roman\" size=3>f</font>",
        "<blockquote style=\"margin: 0 0 0 40px; border: none;\">q</blockquote>",
        "<div align=center>c</div><center>old</center>", "caf\xC3\xA9 \xE2\x82\xAC \xE2\x98\x83",
        "\xF0\x9F\x98\x80 emoji",
        "a\xC2\x80"
        "b",
        "&amp;lt; &amp;amp; &lt;&gt;", "<b>a</b> <b>b</b>", "a <!-- x --> b <!-- y -->  c",
        "<script>x</script> a", "<style>b{}</style>b", "<title>t</title>after",
        "<body bgcolor=red>x</body>", "<html><body><p>hi</body></html>",
        "<svg viewBox=\"0 0 1 1\"><path d=\"M0 0\"/></svg>", "<math><mi>x</mi></math>",
        "<b><p>mis</b>nested</p>", "<a href=x><div>block</div></a>",
        "<my-element data-x=\"1\">custom</my-element>", "<iframe src=x>fallback</iframe>",
        "<p>one<br>two<br></p>", "<div><br></div>", "<h1>T</h1><h2> t </h2>",
        "<select><option>a<option selected>b</select>", "<dl><dt>t<dd>d</dl>", "<div>a\tb\fc</div>",
        "<hr><hr>", "text<hr>text", "&#13;&#10;&#9;", "<pre>&#13;cr</pre>", "<p>\xC2\xA0</p>",
        "<b>x</b>\n<div>\n  <i>y</i>\n</div>\n"),
    [](const auto& info) { return "Input" + std::to_string(info.index); });

// Tag soup from pieces that stress the parser's repairs, white space and the dropped elements.
TEST(SerializeDocument, SaveLoadSaveChangesNothingForRandomTagSoup) {
    const std::vector<std::string> pieces = {"<div>",
                                             "</div>",
                                             "<p>",
                                             "</p>",
                                             "<b>",
                                             "</b>",
                                             "<i>",
                                             "</i>",
                                             "<span title=\"a  b\">",
                                             "</span>",
                                             "<pre>",
                                             "</pre>",
                                             "<textarea>",
                                             "</textarea>",
                                             "<ul>",
                                             "<li>",
                                             "</ul>",
                                             "<table>",
                                             "<tr>",
                                             "<td>",
                                             "</td>",
                                             "</table>",
                                             "<br>",
                                             "<img src=x>",
                                             "<hr>",
                                             " ",
                                             "  ",
                                             "\n",
                                             "\r\n",
                                             "\t",
                                             "x",
                                             "word",
                                             "&nbsp;",
                                             "&amp;",
                                             "&lt;",
                                             "\xE2\x98\x83",
                                             "\xC2\x81",
                                             "<!--c-->",
                                             "<script>s</script>",
                                             "<style>p{}</style>",
                                             "<a href=u>",
                                             "</a>",
                                             "<font size=3>",
                                             "</font>",
                                             "<blockquote>",
                                             "</blockquote>",
                                             "<h1>",
                                             "</h1>",
                                             "<xmp>",
                                             "</xmp>",
                                             "<select>",
                                             "<option>",
                                             "</select>",
                                             "<svg>",
                                             "</svg>",
                                             "<math>",
                                             "<mi>",
                                             "<form>",
                                             "</form>",
                                             "<center>",
                                             "<dl><dt>",
                                             "<dd>",
                                             "<listing>",
                                             "<iframe>",
                                             "</iframe>",
                                             "<title>",
                                             "<body>",
                                             "<html>",
                                             "</body>",
                                             "<meta name=a>",
                                             "<col>",
                                             "<th>",
                                             "<input>",
                                             "<nobr>",
                                             "</nobr>",
                                             "<em>",
                                             "</em>"};
    std::mt19937 random(20261209);
    for (int round = 0; round < 3000; ++round) {
        std::string input;
        for (unsigned length = random() % 40; length > 0; --length) {
            input += pieces[random() % pieces.size()];
        }
        const std::string first = SerializeDocument(input);
        ASSERT_EQ(Reload(StripEditorDocument(first)), first) << "input: " << input;
    }
}

TEST(SerializeDocument, SettlesWhereTheParserReadsItsOwnOutputDifferently) {
    // gumbo puts text that ends a form behind it; the stored text is what a load gives.
    const std::string first = SerializeBody("<form>x</form>");
    EXPECT_EQ(first, "<body>\r\n  <form></form>\r\n  x\r\n</body>");
    EXPECT_EQ(SerializeBody(FragmentToDocument(StripEditorDocument(first))), first);
}

TEST(SerializeDocument, KeepsEveryCharacterOutsideTheCodePage) {
    const std::string input = "\xE2\x98\x83\xE2\x80\x83\xD0\x96\xF0\x9F\x98\x80\xE4\xB8\xAD";
    const std::string stored = StripEditorDocument(SerializeDocument(input));
    EXPECT_EQ(stored, "&#9731;&#8195;&#1046;&#128512;&#20013;");
    EXPECT_EQ(SerializeBody(FragmentToDocument(AnsiToUtf8(stored))), "<body>" + stored + "</body>");
}

// Nested markup deeper than any call stack would allow.
TEST(SerializeDocument, InlineNesting100000Deep) {
    constexpr int depth = 100000;
    std::string input;
    for (int i = 0; i < depth; ++i) {
        input += "<span>";
    }
    input += "core";
    const std::string body = SerializeBody(input);
    std::string expected = "<body>";
    for (int i = 0; i < depth; ++i) {
        expected += "<span>";
    }
    expected += "core";
    for (int i = 0; i < depth; ++i) {
        expected += "</span>";
    }
    expected += "</body>";
    EXPECT_EQ(body, expected);
    const std::string document = SerializeDocument(input);
    EXPECT_EQ(Reload(StripEditorDocument(document)), document);
}

TEST(SerializeDocument, BlockNesting100000DeepKeepsIndentationBounded) {
    constexpr int rounds = 25000; // table, tbody, tr, td: four levels each
    std::string input;
    for (int i = 0; i < rounds; ++i) {
        input += "<table><tr><td>";
    }
    input += "core";
    const std::string document = SerializeDocument(input);
    std::size_t longestIndent = 0;
    std::size_t lines = 0;
    for (std::size_t at = document.find("\r\n"); at != std::string::npos;
         at = document.find("\r\n", at + 2)) {
        ++lines;
        const std::size_t first = document.find_first_not_of(' ', at + 2);
        longestIndent = std::max(longestIndent, first - (at + 2));
    }
    EXPECT_GT(lines, 4u * rounds);
    EXPECT_LE(longestIndent, 80u);
    EXPECT_NE(document.find("<td>core</td>"), std::string::npos);
    EXPECT_EQ(Reload(StripEditorDocument(document)), document);
}

struct FragmentCase {
    const char* fragment;
    bool wrapped;
};

class FragmentToDocumentTest : public testing::TestWithParam<FragmentCase> {};

TEST_P(FragmentToDocumentTest, WrapsOnlyFragmentsWithoutDocumentTags) {
    const std::string fragment = GetParam().fragment;
    const std::string document = FragmentToDocument(fragment);
    if (GetParam().wrapped) {
        EXPECT_EQ(document, "<html><head></head><body>" + fragment);
    } else {
        EXPECT_EQ(document, fragment);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tags, FragmentToDocumentTest,
    testing::Values(FragmentCase{"", true}, FragmentCase{"text", true},
                    FragmentCase{"<header>h</header>", true}, FragmentCase{"<bodyx>", true},
                    FragmentCase{"<", true}, FragmentCase{"<textarea>open", true},
                    FragmentCase{"<HTML><BODY>x", false}, FragmentCase{"<head>", false},
                    FragmentCase{"a<body bgcolor=red>b", false}, FragmentCase{"<Body\n>", false},
                    FragmentCase{"x<html", false}));

TEST(FragmentToDocument, AWrappedFragmentLandsWhollyInTheBody) {
    // Unwrapped, the parser would put the leading style and title into the head and drop the
    // leading space; wrapped, the body keeps what the fragment says.
    EXPECT_EQ(SerializeBody(FragmentToDocument(" <textarea>x")),
              "<body><textarea>x</textarea></body>");
    EXPECT_EQ(SerializeBody(FragmentToDocument("<meta name=a>tail")), "<body>tail</body>");
}

} // namespace
} // namespace scribvane
