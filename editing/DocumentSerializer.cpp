// The fixed text form of an editing area's document (see DocumentSerializer.h).
//
// gumbo parses the markup; the tree is walked with an explicit stack because pasted or loaded
// markup can be nested far deeper than the call stack allows.
#include "editing/DocumentSerializer.h"

#include "editing/GumboNodes.h"
#include "utils/TextHelpers.h"
#include "utils/Win1252.h"

#include <algorithm>
#include <array>
#include <gumbo.h>
#include <memory>
#include <vector>

namespace scribvane {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
// Indentation is only for the reader and vanishes in the stored fragment; deeper levels share
// the last indentation so that deep markup does not grow quadratically.
constexpr int kMaxIndentLevel = 40;

constexpr std::string_view kHead = "<html>\r\n"
                                   "<head>\r\n"
                                   "<title></title>\r\n"
                                   "<meta http-equiv=\"Content-Type\" "
                                   "content=\"text/html; charset=windows-1252\" />\r\n"
                                   "</head>\r\n";
constexpr std::string_view kEmptyBody = "<body>&nbsp;</body>";
constexpr std::string_view kTail = "\r\n</html>";
constexpr int kSettleRounds = 8;

// Elements that never reach the stored form: scripts must not run in an editing area or travel
// into the letter, and the rest are invisible head or template content.
bool IsDropped(const GumboNode* node) {
    if (node->type == GUMBO_NODE_COMMENT || node->type == GUMBO_NODE_TEMPLATE) {
        return true;
    }
    if (node->type != GUMBO_NODE_ELEMENT) {
        return false;
    }
    const GumboTag tag = node->v.element.tag;
    if (tag == GUMBO_TAG_SCRIPT) {
        return true; // also the svg script element
    }
    return IsHtmlElement(node) &&
           IsOneOf(tag, {GUMBO_TAG_STYLE, GUMBO_TAG_NOSCRIPT, GUMBO_TAG_TEMPLATE, GUMBO_TAG_TITLE,
                         GUMBO_TAG_META, GUMBO_TAG_LINK, GUMBO_TAG_BASE});
}

bool IsBlock(const GumboNode* node) {
    if (!IsHtmlElement(node)) {
        return false;
    }
    return IsOneOf(
        node->v.element.tag,
        {GUMBO_TAG_ADDRESS,    GUMBO_TAG_ARTICLE, GUMBO_TAG_ASIDE,    GUMBO_TAG_BLOCKQUOTE,
         GUMBO_TAG_CENTER,     GUMBO_TAG_DD,      GUMBO_TAG_DETAILS,  GUMBO_TAG_DIR,
         GUMBO_TAG_DIV,        GUMBO_TAG_DL,      GUMBO_TAG_DT,       GUMBO_TAG_FIELDSET,
         GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FIGURE,  GUMBO_TAG_FOOTER,   GUMBO_TAG_FORM,
         GUMBO_TAG_H1,         GUMBO_TAG_H2,      GUMBO_TAG_H3,       GUMBO_TAG_H4,
         GUMBO_TAG_H5,         GUMBO_TAG_H6,      GUMBO_TAG_HEADER,   GUMBO_TAG_HGROUP,
         GUMBO_TAG_HR,         GUMBO_TAG_LI,      GUMBO_TAG_MAIN,     GUMBO_TAG_MENU,
         GUMBO_TAG_NAV,        GUMBO_TAG_OL,      GUMBO_TAG_P,        GUMBO_TAG_PRE,
         GUMBO_TAG_SECTION,    GUMBO_TAG_SUMMARY, GUMBO_TAG_TABLE,    GUMBO_TAG_CAPTION,
         GUMBO_TAG_COLGROUP,   GUMBO_TAG_COL,     GUMBO_TAG_THEAD,    GUMBO_TAG_TBODY,
         GUMBO_TAG_TFOOT,      GUMBO_TAG_TR,      GUMBO_TAG_TD,       GUMBO_TAG_TH,
         GUMBO_TAG_UL,         GUMBO_TAG_LISTING, GUMBO_TAG_XMP,      GUMBO_TAG_PLAINTEXT,
         GUMBO_TAG_LEGEND,     GUMBO_TAG_BODY,    GUMBO_TAG_FRAMESET, GUMBO_TAG_OPTGROUP,
         GUMBO_TAG_OPTION,     GUMBO_TAG_NOFRAMES});
}

bool IsVoid(const GumboNode* node) {
    return IsHtmlElement(node) &&
           IsOneOf(node->v.element.tag,
                   {GUMBO_TAG_AREA, GUMBO_TAG_BASE, GUMBO_TAG_BASEFONT, GUMBO_TAG_BGSOUND,
                    GUMBO_TAG_BR, GUMBO_TAG_COL, GUMBO_TAG_EMBED, GUMBO_TAG_FRAME, GUMBO_TAG_HR,
                    GUMBO_TAG_IMG, GUMBO_TAG_INPUT, GUMBO_TAG_KEYGEN, GUMBO_TAG_LINK,
                    GUMBO_TAG_META, GUMBO_TAG_PARAM, GUMBO_TAG_SOURCE, GUMBO_TAG_TRACK,
                    GUMBO_TAG_WBR});
}

// Elements whose text the browser shows with its line breaks and space runs.
bool PreservesWhiteSpace(const GumboNode* node) {
    return IsHtmlElement(node) &&
           IsOneOf(node->v.element.tag, {GUMBO_TAG_PRE, GUMBO_TAG_TEXTAREA, GUMBO_TAG_LISTING,
                                         GUMBO_TAG_XMP, GUMBO_TAG_PLAINTEXT});
}

// The parser drops one line break right after these start tags, so a leading one in the
// content must be written twice.
bool DropsLeadingLineBreak(const GumboNode* node) {
    return IsHtmlElement(node) &&
           IsOneOf(node->v.element.tag, {GUMBO_TAG_PRE, GUMBO_TAG_TEXTAREA, GUMBO_TAG_LISTING});
}

// The content of these is not markup to the parser, and fallback content is never shown.
bool ContentIgnored(const GumboNode* node) {
    return IsHtmlElement(node) &&
           IsOneOf(node->v.element.tag, {GUMBO_TAG_IFRAME, GUMBO_TAG_NOEMBED, GUMBO_TAG_NOFRAMES});
}

// Elements that show nothing by themselves; a body made only of these (and white space) is
// empty.
bool IsPlainContainer(const GumboNode* node) {
    return IsHtmlElement(node) &&
           IsOneOf(node->v.element.tag,
                   {GUMBO_TAG_BR,      GUMBO_TAG_DIV,     GUMBO_TAG_P,          GUMBO_TAG_SPAN,
                    GUMBO_TAG_B,       GUMBO_TAG_I,       GUMBO_TAG_U,          GUMBO_TAG_S,
                    GUMBO_TAG_STRIKE,  GUMBO_TAG_FONT,    GUMBO_TAG_STRONG,     GUMBO_TAG_EM,
                    GUMBO_TAG_SMALL,   GUMBO_TAG_BIG,     GUMBO_TAG_SUB,        GUMBO_TAG_SUP,
                    GUMBO_TAG_CENTER,  GUMBO_TAG_A,       GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_H1,
                    GUMBO_TAG_H2,      GUMBO_TAG_H3,      GUMBO_TAG_H4,         GUMBO_TAG_H5,
                    GUMBO_TAG_H6,      GUMBO_TAG_PRE,     GUMBO_TAG_CODE,       GUMBO_TAG_ADDRESS,
                    GUMBO_TAG_SECTION, GUMBO_TAG_ARTICLE, GUMBO_TAG_HEADER,     GUMBO_TAG_FOOTER,
                    GUMBO_TAG_MAIN,    GUMBO_TAG_NAV,     GUMBO_TAG_ASIDE,      GUMBO_TAG_TT,
                    GUMBO_TAG_XMP,     GUMBO_TAG_LISTING, GUMBO_TAG_PLAINTEXT});
}

bool IsAsciiWhiteSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsAllWhiteSpace(std::string_view utf8) {
    return std::all_of(utf8.begin(), utf8.end(),
                       [](char c) { return IsAsciiWhiteSpace(static_cast<unsigned char>(c)); });
}

bool IsText(const GumboNode* node) {
    return node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
           node->type == GUMBO_NODE_CDATA;
}

const GumboVector* ChildrenOf(const GumboNode* node) {
    if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) {
        return &node->v.element.children;
    }
    if (node->type == GUMBO_NODE_DOCUMENT) {
        return &node->v.document.children;
    }
    return nullptr;
}

const GumboNode* ChildAt(const GumboVector* children, unsigned index) {
    return static_cast<const GumboNode*>(children->data[index]);
}

// A name written as it stands: only characters the code page holds, lower case.
std::string NameText(std::string_view utf8) {
    std::string name;
    while (!utf8.empty()) {
        const char32_t c = DecodeUtf8(utf8);
        const auto byte = CodePointToWin1252(c);
        if (!byte || c == 0xFFFD) {
            return {};
        }
        name += LowerAscii(static_cast<char>(*byte));
    }
    return name;
}

std::string ElementName(const GumboNode* node) {
    const GumboElement& element = node->v.element;
    if (element.tag != GUMBO_TAG_UNKNOWN) {
        return gumbo_normalized_tagname(element.tag);
    }
    GumboStringPiece original = element.original_tag;
    if (original.data == nullptr || original.length == 0) {
        return {};
    }
    gumbo_tag_from_original_text(&original);
    std::string name = NameText(std::string_view(original.data, original.length));
    // The parser's original text of an unknown element can take in a token it ignored before
    // it ("</><name>"); such a name could never be read back, so the element is unwrapped.
    if (name.find_first_of("\t\n\f\r /<>") != std::string::npos) {
        return {};
    }
    return name;
}

// Keeps the bytes of the fixed form and the rules for writing text into them.
class Writer {
public:
    std::string out;

    void Raw(std::string_view text) { out += text; }

    void NewLine(int level) {
        out += kLineBreak;
        out.append(2 * static_cast<std::size_t>(std::min(level, kMaxIndentLevel)), ' ');
        // A line begins like a block: leading white space of its text would not show.
        previousWasSpace_ = true;
    }

    // After the body's start tag the parser drops leading white space, so none is written.
    void BlockStart() { previousWasSpace_ = true; }

    void Tag(std::string_view text) {
        out += text;
        previousWasSpace_ = false;
    }

    void Reference(char32_t c) {
        out += "&#";
        out += std::to_string(static_cast<unsigned long>(c));
        out += ';';
    }

    // One character outside white space handling: escaped, or a reference when the code page
    // cannot hold it.
    void Character(char32_t c, bool inAttribute) {
        switch (c) {
        case '&':
            out += "&amp;";
            return;
        case '<':
            out += "&lt;";
            return;
        case '>':
            out += "&gt;";
            return;
        case 0xA0:
            out += "&nbsp;";
            return;
        case '"':
            out += inAttribute ? "&quot;" : "\"";
            return;
        default:
            break;
        }
        if (const auto byte = CodePointToWin1252(c)) {
            out += static_cast<char>(*byte);
        } else if (c >= 0x80 && c <= 0x9F) {
            // A reference to these C1 controls reads back as the code page's character of the
            // same number, so the byte itself says the same and stays stable.
            out += static_cast<char>(c);
        } else {
            Reference(c);
        }
    }

    // Ordinary text: every run of white space shows as one space, also across node borders.
    void FlowText(std::string_view utf8) {
        while (!utf8.empty()) {
            const char32_t c = DecodeUtf8(utf8);
            if (IsAsciiWhiteSpace(c)) {
                if (!previousWasSpace_) {
                    out += ' ';
                    previousWasSpace_ = true;
                }
                continue;
            }
            Character(c, false);
            previousWasSpace_ = false;
        }
    }

    // Text whose line breaks and space runs matter: they become references so that stripping
    // line breaks and space pairs cannot touch them.
    void PreservedText(std::string_view utf8, bool inAttribute) {
        while (!utf8.empty()) {
            const char32_t c = DecodeUtf8(utf8);
            const bool secondSpace = c == ' ' && !out.empty() && out.back() == ' ';
            if (c == '\n' || c == '\r' || secondSpace) {
                Reference(c);
            } else if (c == ' ') {
                out += ' ';
            } else {
                Character(c, inAttribute);
            }
        }
        previousWasSpace_ = false;
    }

    void StartTag(const GumboNode* node, const std::string& name) {
        out += '<';
        out += name;
        const GumboVector& attributes = node->v.element.attributes;
        for (unsigned i = 0; i < attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(attributes.data[i]);
            const std::string attributeName = NameText(attribute->name);
            if (attributeName.empty()) {
                continue; // a name the code page cannot hold cannot be written at all
            }
            out += ' ';
            out += attributeName;
            out += "=\"";
            PreservedText(attribute->value, true);
            out += '"';
        }
        out += IsVoid(node) ? " />" : ">";
        previousWasSpace_ = false;
    }

private:
    bool previousWasSpace_ = false;
};

// True when a body shows nothing: only white space, empty blocks, line breaks and dropped
// content.
bool HasVisibleContent(const GumboNode* body) {
    std::vector<const GumboNode*> pending{body};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (IsDropped(node)) {
            continue;
        }
        if (IsText(node)) {
            std::string_view text = node->v.text.text;
            while (!text.empty()) {
                const char32_t c = DecodeUtf8(text);
                if (!IsAsciiWhiteSpace(c) && c != 0xA0) {
                    return true;
                }
            }
            continue;
        }
        if (node->type != GUMBO_NODE_ELEMENT) {
            continue;
        }
        if (node != body && !IsPlainContainer(node)) {
            return true;
        }
        const GumboVector* children = ChildrenOf(node);
        for (unsigned i = 0; i < children->length; ++i) {
            pending.push_back(ChildAt(children, i));
        }
    }
    return false;
}

bool HasBlockChild(const GumboNode* node) {
    const GumboVector* children = ChildrenOf(node);
    for (unsigned i = 0; i < children->length; ++i) {
        const GumboNode* child = ChildAt(children, i);
        if (IsBlock(child) && !IsDropped(child)) {
            return true;
        }
    }
    return false;
}

// When the children from `index` up to the next block hold only white space text and dropped
// content, such a run between blocks shows nothing and gets no line: gives the index of that
// next block (or the end). Gives `index` for a run with content.
unsigned BlankRunEnd(const GumboVector* children, unsigned index) {
    for (unsigned i = index; i < children->length; ++i) {
        const GumboNode* child = ChildAt(children, i);
        if (IsDropped(child)) {
            continue;
        }
        if (IsBlock(child)) {
            return i;
        }
        if (!IsText(child) || !IsAllWhiteSpace(child->v.text.text)) {
            return index;
        }
    }
    return children->length;
}

// One element being written: its children are visited one by one from the explicit stack.
struct Frame {
    const GumboNode* node;
    std::string name; // empty: the element is written without tags (its children only)
    int level;        // indentation of its own lines
    bool lines;       // children on lines of their own (it holds blocks)
    bool preserve;    // inside pre, textarea and the like
    unsigned nextChild = 0;
    bool inRun = false; // an inline run of a lines element has its line already
};

class BodyWriter {
public:
    explicit BodyWriter(Writer& writer) : w_(writer) {}

    void Write(const GumboNode* body) {
        if (body == nullptr || !HasVisibleContent(body)) {
            w_.Raw(kEmptyBody);
            return;
        }
        w_.Tag("<body>");
        w_.BlockStart();
        Push(body, "body", 0, HasBlockChild(body), false);
        while (!stack_.empty()) {
            Step();
        }
    }

private:
    void Push(const GumboNode* node, std::string name, int level, bool lines, bool preserve) {
        stack_.push_back(Frame{node, std::move(name), level, lines, preserve});
    }

    void Step() {
        Frame& frame = stack_.back();
        const GumboVector* children = ChildrenOf(frame.node);
        if (ContentIgnored(frame.node) || frame.nextChild >= children->length) {
            Close(frame);
            stack_.pop_back();
            return;
        }
        const unsigned index = frame.nextChild++;
        const GumboNode* child = ChildAt(children, index);
        if (IsDropped(child)) {
            return;
        }
        if (frame.lines) {
            if (IsBlock(child)) {
                frame.inRun = false;
                w_.NewLine(frame.level + 1);
                Open(child, frame.level + 1, false);
                return;
            }
            if (!frame.inRun) {
                if (const unsigned end = BlankRunEnd(children, index); end != index) {
                    frame.nextChild = end;
                    return;
                }
                frame.inRun = true;
                w_.NewLine(frame.level + 1);
            }
        }
        const bool preserve = frame.preserve;
        const int level = frame.level;
        if (IsText(child)) {
            if (preserve) {
                w_.PreservedText(child->v.text.text, false);
            } else {
                w_.FlowText(child->v.text.text);
            }
            return;
        }
        if (child->type == GUMBO_NODE_ELEMENT) {
            Open(child, level + 1, preserve);
        }
    }

    // Writes the start tag and pushes the element; `frame` references are invalid afterwards.
    void Open(const GumboNode* node, int level, bool insidePreserved) {
        std::string name = ElementName(node);
        // Elements the parser treats as raw text cannot carry escaped text: they become pre,
        // which shows the same.
        if (IsHtmlElement(node) &&
            IsOneOf(node->v.element.tag, {GUMBO_TAG_XMP, GUMBO_TAG_PLAINTEXT})) {
            name = "pre";
        }
        const bool preserve = insidePreserved || PreservesWhiteSpace(node);
        const bool lines = !preserve && IsBlock(node) && HasBlockChild(node);
        if (!name.empty()) {
            w_.StartTag(node, name);
            if (IsVoid(node)) {
                return;
            }
            if (DropsLeadingLineBreak(node) || name == "pre") {
                const GumboVector* children = ChildrenOf(node);
                if (children->length > 0 && IsText(ChildAt(children, 0)) &&
                    std::string_view(ChildAt(children, 0)->v.text.text).starts_with('\n')) {
                    w_.Reference('\n');
                }
            }
        }
        Push(node, std::move(name), level, lines, preserve);
    }

    void Close(const Frame& frame) {
        if (frame.name.empty()) {
            return;
        }
        if (frame.lines) {
            w_.NewLine(frame.level);
        }
        w_.Tag("</" + frame.name + ">");
    }

    Writer& w_;
    std::vector<Frame> stack_;
};

const GumboNode* FindChild(const GumboNode* parent, GumboTag tag) {
    if (parent == nullptr) {
        return nullptr;
    }
    const GumboVector* children = ChildrenOf(parent);
    for (unsigned i = 0; i < children->length; ++i) {
        const GumboNode* child = ChildAt(children, i);
        if (IsHtmlElement(child) && child->v.element.tag == tag) {
            return child;
        }
    }
    return nullptr;
}

// The characters the parser replaces by U+FFFD when they stand in the markup as they are,
// though a numeric reference to them is kept.
bool ParserReplaces(char32_t c) {
    return (c >= 0x1 && c <= 0x8) || c == 0xB || (c >= 0xE && c <= 0x1F) ||
           (c >= 0x7F && c <= 0x9F) || (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

// Control characters are rare but real (the code page's five undefined bytes arrive as C1
// controls): written as references they survive the parser.
std::string ProtectControls(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::string_view rest = utf8;
        const char32_t c = DecodeUtf8(utf8);
        if (ParserReplaces(c)) {
            out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
        } else {
            out.append(rest.data(), rest.size() - utf8.size());
        }
    }
    return out;
}

struct Parsed {
    GumboOptions options = kGumboDefaultOptions;
    std::string markup; // the parse output points into it
    GumboOutput* output = nullptr;

    explicit Parsed(std::string_view html) : markup(ProtectControls(html)) {
        options.max_errors = 0; // parse errors are of no use here and cost memory
        output = gumbo_parse_with_options(&options, markup.data(), markup.size());
    }
    ~Parsed() { gumbo_destroy_output(&options, output); }
    Parsed(const Parsed&) = delete;
    Parsed& operator=(const Parsed&) = delete;

    const GumboNode* Body() const { return FindChild(output->root, GUMBO_TAG_BODY); }
};

// The text of the body alone, as escaped markup in one division: the last resort for a tree
// that the parser keeps rebuilding differently. The words stay; only the markup goes.
std::string TextOnlyMarkup(std::string_view utf8Html) {
    const Parsed parsed(utf8Html);
    std::string markup = "<html><body><div>";
    std::vector<const GumboNode*> pending;
    if (const GumboNode* body = parsed.Body()) {
        pending.push_back(body);
    }
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (IsText(node)) {
            for (const char c : std::string_view(node->v.text.text)) {
                switch (c) {
                case '&':
                    markup += "&amp;";
                    break;
                case '<':
                    markup += "&lt;";
                    break;
                case '>':
                    markup += "&gt;";
                    break;
                default:
                    markup += c;
                }
            }
            continue;
        }
        if (const GumboVector* children = ChildrenOf(node)) {
            markup += ' '; // element boundaries separate words
            for (unsigned i = children->length; i > 0; --i) {
                pending.push_back(ChildAt(children, i - 1));
            }
        }
    }
    return markup + "</div></body></html>";
}

std::string WriteDocument(std::string_view utf8Html) {
    const Parsed parsed(utf8Html);
    Writer writer;
    writer.Raw(kHead);
    BodyWriter(writer).Write(parsed.Body());
    writer.Raw(kTail);
    return std::move(writer.out);
}

} // namespace

std::string SerializeDocument(std::string_view utf8Html) {
    std::string document = WriteDocument(utf8Html);
    // The parser does not read every tree back as it was (it repairs misnested markup it
    // built itself, and gumbo has quirks such as text before </form>), so settle on the text
    // that a load of the stored fragment gives: then Save, Load, Save changes nothing.
    for (int round = 0; round < kSettleRounds; ++round) {
        std::string reloaded =
            WriteDocument(FragmentToDocument(AnsiToUtf8(StripEditorDocument(document))));
        if (reloaded == document) {
            return document;
        }
        document = std::move(reloaded);
    }
    // Markup that still changes on every load would change on every Save, Load, Save: keep its
    // text, which reads back the same.
    return WriteDocument(
        TextOnlyMarkup(FragmentToDocument(AnsiToUtf8(StripEditorDocument(document)))));
}

std::string SerializeBody(std::string_view utf8Html) {
    const std::string document = SerializeDocument(utf8Html);
    return document.substr(kHead.size(), document.size() - kHead.size() - kTail.size());
}

std::string FragmentToDocument(std::string_view fragment) {
    // Looks for a start tag of html, head or body in any letter case (not <header>).
    for (std::size_t at = fragment.find('<'); at != std::string_view::npos;
         at = fragment.find('<', at + 1)) {
        for (std::string_view name : {"html", "head", "body"}) {
            const std::size_t end = at + 1 + name.size();
            if (end > fragment.size()) {
                continue;
            }
            bool same = true;
            for (std::size_t i = 0; i < name.size() && same; ++i) {
                same = LowerAscii(fragment[at + 1 + i]) == name[i];
            }
            if (!same) {
                continue;
            }
            const char next = end < fragment.size() ? fragment[end] : '>';
            if (next == '>' || next == '/' || next == ' ' || next == '\t' || next == '\n' ||
                next == '\r' || next == '\f') {
                return std::string(fragment);
            }
        }
    }
    // Only an opening: closing tags after the fragment could end up inside an unclosed
    // textarea or title of the fragment.
    return "<html><head></head><body>" + std::string(fragment);
}

} // namespace scribvane
