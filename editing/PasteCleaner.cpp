// Cleaning pasted rich text (see PasteCleaner.h).
//
// gumbo parses the clipboard markup; the tree is walked with an explicit stack, as pasted
// markup can be nested deeper than the call stack allows.
#include "editing/PasteCleaner.h"

#include "editing/GumboNodes.h"
#include "utils/TextHelpers.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <gumbo.h>
#include <memory>
#include <optional>
#include <vector>

namespace scribvane {
namespace {

// Beyond this depth wrappers are no longer written, only text: no passage needs more, and the
// engine would struggle with it.
constexpr std::size_t kMaxDepth = 256;

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Attribute(const GumboNode* node, const char* name) {
    const GumboAttribute* attribute = gumbo_get_attribute(&node->v.element.attributes, name);
    return attribute != nullptr ? std::string_view(attribute->value) : std::string_view();
}

void AppendEscaped(std::string& out, std::string_view utf8, bool inAttribute) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"' && inAttribute) {
            out += "&quot;";
        } else if (c == '\xC2' && i + 1 < utf8.size() && utf8[i + 1] == '\xA0') {
            out += "&nbsp;"; // a no-break space must survive the area's white-space rules
            ++i;
        } else {
            out += c;
        }
    }
}

// ---- Inline styles -------------------------------------------------------------------------

struct Declaration {
    std::string property;
    std::string value; // in lower case
    std::string raw;   // as written, for names that keep their case
};

std::vector<Declaration> ParseStyle(std::string_view style) {
    std::vector<Declaration> declarations;
    while (!style.empty()) {
        const std::size_t end = std::min(style.find(';'), style.size());
        const std::string_view item = style.substr(0, end);
        style.remove_prefix(std::min(end + 1, style.size()));
        const std::size_t colon = item.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        std::string_view raw = Trim(item.substr(colon + 1));
        if (const std::size_t important = LowerAscii(raw).find("!important");
            important != std::string::npos) {
            raw = Trim(raw.substr(0, important));
        }
        declarations.push_back(
            {LowerAscii(Trim(item.substr(0, colon))), LowerAscii(raw), std::string(raw)});
    }
    return declarations;
}

std::optional<int> Number(std::string_view text) {
    text = Trim(text);
    double value = 0;
    std::string copy(text);
    char* end = nullptr;
    value = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str()) {
        return std::nullopt;
    }
    if (*end == '%') {
        value = value * 255.0 / 100.0;
    }
    return static_cast<int>(std::lround(std::clamp(value, 0.0, 255.0)));
}

// "#RRGGBB" of a CSS colour or of a font element's colour; nothing for transparent, system
// and unknown colours.
std::optional<std::string> HtmlColor(std::string_view css) {
    const std::string value = LowerAscii(Trim(css));
    int red = 0;
    int green = 0;
    int blue = 0;
    const auto isHex = [](const std::string& digits) {
        return std::all_of(digits.begin(), digits.end(),
                           [](unsigned char c) { return std::isxdigit(c) != 0; });
    };
    if (!value.empty() && value[0] == '#' && isHex(value.substr(1))) {
        const std::string digits = value.substr(1);
        if (digits.size() == 3) {
            red = std::stoi(std::string(2, digits[0]), nullptr, 16);
            green = std::stoi(std::string(2, digits[1]), nullptr, 16);
            blue = std::stoi(std::string(2, digits[2]), nullptr, 16);
        } else if (digits.size() == 6) {
            red = std::stoi(digits.substr(0, 2), nullptr, 16);
            green = std::stoi(digits.substr(2, 2), nullptr, 16);
            blue = std::stoi(digits.substr(4, 2), nullptr, 16);
        } else {
            return std::nullopt;
        }
    } else if (value.rfind("rgb", 0) == 0) {
        const std::size_t open = value.find('(');
        const std::size_t close = value.find(')');
        if (open == std::string::npos || close == std::string::npos || close < open) {
            return std::nullopt;
        }
        std::string inner = value.substr(open + 1, close - open - 1);
        std::replace(inner.begin(), inner.end(), '/', ',');
        std::replace(inner.begin(), inner.end(), ' ', ',');
        std::vector<std::string> parts;
        std::size_t start = 0;
        while (start <= inner.size()) {
            const std::size_t comma = std::min(inner.find(',', start), inner.size());
            if (comma > start) {
                parts.push_back(inner.substr(start, comma - start));
            }
            start = comma + 1;
        }
        if (parts.size() < 3) {
            return std::nullopt;
        }
        if (parts.size() > 3 && std::strtod(parts[3].c_str(), nullptr) == 0.0) {
            return std::nullopt; // fully transparent
        }
        const auto r = Number(parts[0]);
        const auto g = Number(parts[1]);
        const auto b = Number(parts[2]);
        if (!r || !g || !b) {
            return std::nullopt;
        }
        red = *r;
        green = *g;
        blue = *b;
    } else {
        struct Named {
            const char* name;
            unsigned rgb;
        };
        static constexpr std::array<Named, 18> kNamed = {{
            {"black", 0x000000},
            {"white", 0xFFFFFF},
            {"red", 0xFF0000},
            {"green", 0x008000},
            {"blue", 0x0000FF},
            {"yellow", 0xFFFF00},
            {"gray", 0x808080},
            {"grey", 0x808080},
            {"silver", 0xC0C0C0},
            {"maroon", 0x800000},
            {"navy", 0x000080},
            {"purple", 0x800080},
            {"teal", 0x008080},
            {"olive", 0x808000},
            {"lime", 0x00FF00},
            {"aqua", 0x00FFFF},
            {"fuchsia", 0xFF00FF},
            {"orange", 0xFFA500},
        }};
        const auto found = std::find_if(kNamed.begin(), kNamed.end(),
                                        [&](const Named& named) { return value == named.name; });
        if (found == kNamed.end()) {
            return std::nullopt;
        }
        red = static_cast<int>((found->rgb >> 16) & 0xFF);
        green = static_cast<int>((found->rgb >> 8) & 0xFF);
        blue = static_cast<int>(found->rgb & 0xFF);
    }
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", red, green, blue);
    return std::string(text);
}

// The first family of a font-family list, unless it is a generic one, which names no typeface.
std::optional<std::string> FontFace(std::string_view families) {
    std::string_view first =
        Trim(families.substr(0, std::min(families.find(','), families.size())));
    if (first.size() >= 2 && (first.front() == '"' || first.front() == '\'') &&
        first.back() == first.front()) {
        first = Trim(first.substr(1, first.size() - 2));
    }
    const std::string lower = LowerAscii(first);
    static constexpr std::array<std::string_view, 10> kGeneric = {
        "serif",     "sans-serif", "monospace", "cursive", "fantasy",
        "system-ui", "inherit",    "initial",   "unset",   "-webkit-standard"};
    if (first.empty() || std::find(kGeneric.begin(), kGeneric.end(), lower) != kGeneric.end() ||
        first.find_first_of("<>\"") != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(first);
}

// The HTML font size (1 to 7) nearest to a CSS size; nothing for relative sizes.
std::optional<int> FontSize(std::string_view css) {
    const std::string value = LowerAscii(Trim(css));
    static constexpr std::array<std::string_view, 7> kKeywords = {
        "x-small", "small", "medium", "large", "x-large", "xx-large", "xxx-large"};
    for (std::size_t i = 0; i < kKeywords.size(); ++i) {
        if (value == kKeywords[i]) {
            return static_cast<int>(i) + 1;
        }
    }
    char* end = nullptr;
    double points = std::strtod(value.c_str(), &end);
    const std::string unit = LowerAscii(Trim(end != nullptr ? std::string_view(end) : ""));
    if (end == value.c_str() || points <= 0) {
        return std::nullopt;
    }
    if (unit == "px") {
        points *= 0.75;
    } else if (unit == "in") {
        points *= 72;
    } else if (unit == "cm") {
        points *= 72 / 2.54;
    } else if (unit != "pt") {
        return std::nullopt;
    }
    // The toolbar's sizes are 8, 10, 12, 14, 18, 24 and 36 points; the thresholds lie between.
    static constexpr std::array<double, 6> kBetween = {9, 11, 13, 16, 21, 30};
    return static_cast<int>(std::upper_bound(kBetween.begin(), kBetween.end(), points) -
                            kBetween.begin()) +
           1;
}

std::optional<std::string> Alignment(std::string_view value) {
    const std::string lower = LowerAscii(Trim(value));
    if (lower == "left" || lower == "center" || lower == "right" || lower == "justify") {
        return lower;
    }
    if (lower == "middle") {
        return std::string("center");
    }
    return std::nullopt;
}

// What an element's look amounts to in toolbar terms. For the weight, slant and underline:
// nothing said, switched on, or switched off (Google's documents wrap everything in a <b>
// that is styled back to normal weight).
enum class Switch { Unsaid, On, Off };

struct Look {
    Switch bold = Switch::Unsaid;
    Switch italic = Switch::Unsaid;
    Switch underline = Switch::Unsaid;
    std::optional<std::string> face;
    std::optional<int> size;
    std::optional<std::string> color;
    std::optional<std::string> background;
    std::optional<std::string> align;
};

Look LookOf(const GumboNode* node) {
    Look look;
    for (const Declaration& d : ParseStyle(Attribute(node, "style"))) {
        if (d.property == "font-weight") {
            const int weight = std::atoi(d.value.c_str());
            look.bold = d.value == "bold" || d.value == "bolder" || weight >= 600 ? Switch::On
                                                                                  : Switch::Off;
        } else if (d.property == "font-style") {
            look.italic = d.value == "italic" || d.value == "oblique" ? Switch::On : Switch::Off;
        } else if (d.property == "text-decoration" || d.property == "text-decoration-line") {
            look.underline = d.value.find("underline") != std::string::npos ? Switch::On
                             : d.value.find("none") != std::string::npos    ? Switch::Off
                                                                            : look.underline;
        } else if (d.property == "font-family") {
            look.face = FontFace(d.raw);
        } else if (d.property == "font-size") {
            look.size = FontSize(d.value);
        } else if (d.property == "color") {
            look.color = HtmlColor(d.value);
        } else if (d.property == "background-color" || d.property == "background") {
            look.background = HtmlColor(d.value);
        } else if (d.property == "text-align") {
            look.align = Alignment(d.value);
        }
    }
    if (!look.align) {
        look.align = Alignment(Attribute(node, "align"));
    }
    return look;
}

// ---- Elements ------------------------------------------------------------------------------

bool IsSkipped(const GumboNode* node) {
    if (node->type == GUMBO_NODE_COMMENT || node->type == GUMBO_NODE_TEMPLATE) {
        return true;
    }
    if (node->type != GUMBO_NODE_ELEMENT) {
        return false;
    }
    if (node->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) {
        return true; // drawings and formulas: no text of the passage
    }
    return IsOneOf(node->v.element.tag,
                   {GUMBO_TAG_SCRIPT,   GUMBO_TAG_STYLE,    GUMBO_TAG_NOSCRIPT, GUMBO_TAG_TEMPLATE,
                    GUMBO_TAG_HEAD,     GUMBO_TAG_TITLE,    GUMBO_TAG_META,     GUMBO_TAG_LINK,
                    GUMBO_TAG_BASE,     GUMBO_TAG_IFRAME,   GUMBO_TAG_OBJECT,   GUMBO_TAG_EMBED,
                    GUMBO_TAG_APPLET,   GUMBO_TAG_IMG,      GUMBO_TAG_IMAGE,    GUMBO_TAG_INPUT,
                    GUMBO_TAG_BUTTON,   GUMBO_TAG_SELECT,   GUMBO_TAG_TEXTAREA, GUMBO_TAG_VIDEO,
                    GUMBO_TAG_AUDIO,    GUMBO_TAG_CANVAS,   GUMBO_TAG_MAP,      GUMBO_TAG_HR,
                    GUMBO_TAG_FRAMESET, GUMBO_TAG_NOFRAMES, GUMBO_TAG_PARAM,    GUMBO_TAG_SOURCE,
                    GUMBO_TAG_TRACK,    GUMBO_TAG_WBR});
}

// Blocks the area keeps by name, and blocks that become a plain division.
bool IsKeptBlock(GumboTag tag) {
    return IsOneOf(tag, {GUMBO_TAG_DIV, GUMBO_TAG_P, GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_OL,
                         GUMBO_TAG_UL, GUMBO_TAG_LI});
}

bool IsDivisionLike(GumboTag tag) {
    return IsOneOf(
        tag, {GUMBO_TAG_H1,       GUMBO_TAG_H2,         GUMBO_TAG_H3,      GUMBO_TAG_H4,
              GUMBO_TAG_H5,       GUMBO_TAG_H6,         GUMBO_TAG_PRE,     GUMBO_TAG_ADDRESS,
              GUMBO_TAG_ARTICLE,  GUMBO_TAG_ASIDE,      GUMBO_TAG_CENTER,  GUMBO_TAG_DD,
              GUMBO_TAG_DL,       GUMBO_TAG_DT,         GUMBO_TAG_DETAILS, GUMBO_TAG_SUMMARY,
              GUMBO_TAG_FIGURE,   GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FOOTER,  GUMBO_TAG_HEADER,
              GUMBO_TAG_MAIN,     GUMBO_TAG_NAV,        GUMBO_TAG_SECTION, GUMBO_TAG_FORM,
              GUMBO_TAG_FIELDSET, GUMBO_TAG_LEGEND,     GUMBO_TAG_TABLE,   GUMBO_TAG_CAPTION,
              GUMBO_TAG_TR,       GUMBO_TAG_LISTING,    GUMBO_TAG_XMP,     GUMBO_TAG_PLAINTEXT,
              GUMBO_TAG_DIR,      GUMBO_TAG_MENU,       GUMBO_TAG_HGROUP});
}

bool SafeLink(std::string_view href) {
    const std::string lower = LowerAscii(Trim(href));
    if (lower.empty()) {
        return false;
    }
    const std::size_t colon = lower.find(':');
    const std::size_t other = lower.find_first_of("/?#");
    if (colon == std::string::npos || (other != std::string::npos && other < colon)) {
        return true; // relative to the letter
    }
    const std::string scheme = lower.substr(0, colon);
    return scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "ftp";
}

bool HasContent(const GumboNode* node) {
    return node->v.element.children.length > 0;
}

struct Frame {
    const GumboNode* node;
    unsigned next = 0;
    std::string closing;
    bool preformatted = false;
};

// Writes the opening of an element and returns its closing.
std::string Open(std::string& out, const GumboNode* node, bool& preformatted) {
    const GumboTag tag = node->v.element.tag;
    const Look look = LookOf(node);
    std::string closing;
    const auto wrap = [&](const std::string& open, const char* name) {
        out += open;
        closing.insert(0, std::string("</") + name + ">");
    };

    if (IsKeptBlock(tag) || IsDivisionLike(tag)) {
        const char* name = IsKeptBlock(tag) ? gumbo_normalized_tagname(tag) : "div";
        std::string open = std::string("<") + name;
        std::optional<std::string> align = look.align;
        if (tag == GUMBO_TAG_CENTER) {
            align = "center";
        }
        if (align) {
            open += " style=\"text-align: " + *align + ";\"";
        }
        wrap(open + ">", name);
        if (IsOneOf(tag, {GUMBO_TAG_H1, GUMBO_TAG_H2, GUMBO_TAG_H3, GUMBO_TAG_H4, GUMBO_TAG_H5,
                          GUMBO_TAG_H6}) &&
            look.bold != Switch::Off) {
            wrap("<b>", "b"); // a heading's weight is what the reader sees of it
        }
        preformatted = preformatted || IsOneOf(tag, {GUMBO_TAG_PRE, GUMBO_TAG_LISTING,
                                                     GUMBO_TAG_XMP, GUMBO_TAG_PLAINTEXT});
    } else if (tag == GUMBO_TAG_A && SafeLink(Attribute(node, "href"))) {
        std::string open = "<a href=\"";
        AppendEscaped(open, Trim(Attribute(node, "href")), true);
        wrap(open + "\">", "a");
    }

    const bool boldTag = tag == GUMBO_TAG_B || tag == GUMBO_TAG_STRONG;
    const bool italicTag = tag == GUMBO_TAG_I || tag == GUMBO_TAG_EM;
    const bool underlineTag = tag == GUMBO_TAG_U || tag == GUMBO_TAG_INS;
    if ((boldTag && look.bold != Switch::Off) || look.bold == Switch::On) {
        wrap("<b>", "b");
    }
    if ((italicTag && look.italic != Switch::Off) || look.italic == Switch::On) {
        wrap("<i>", "i");
    }
    if ((underlineTag && look.underline != Switch::Off) || look.underline == Switch::On) {
        wrap("<u>", "u");
    }

    std::optional<std::string> face = look.face;
    std::optional<int> size = look.size;
    std::optional<std::string> color = look.color;
    if (tag == GUMBO_TAG_FONT) {
        if (!face) {
            face = FontFace(Attribute(node, "face"));
        }
        const std::string_view sizeText = Trim(Attribute(node, "size"));
        if (!size && sizeText.size() == 1 && sizeText[0] >= '1' && sizeText[0] <= '7') {
            size = sizeText[0] - '0';
        }
        if (!color) {
            color = HtmlColor(Attribute(node, "color"));
        }
    }
    if (face || size || color) {
        std::string open = "<font";
        if (face) {
            open += " face=\"";
            AppendEscaped(open, *face, true);
            open += "\"";
        }
        if (size) {
            open += " size=\"" + std::to_string(*size) + "\"";
        }
        if (color) {
            open += " color=\"" + *color + "\"";
        }
        wrap(open + ">", "font");
    }
    if (look.background) {
        wrap("<span style=\"background-color: " + *look.background + ";\">", "span");
    }
    return closing;
}

const GumboNode* Body(const GumboNode* root) {
    const GumboVector& children = root->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == GUMBO_TAG_BODY) {
            return child;
        }
    }
    return nullptr;
}

} // namespace

std::string CleanPastedHtml(std::string_view utf8Html) {
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0; // each error copies the open elements: quadratic on deep markup
    std::unique_ptr<GumboOutput, void (*)(GumboOutput*)> parsed(
        gumbo_parse_with_options(&options, utf8Html.data(), utf8Html.size()),
        [](GumboOutput* output) { gumbo_destroy_output(&kGumboDefaultOptions, output); });
    const GumboNode* body = parsed ? Body(parsed->root) : nullptr;
    if (body == nullptr) {
        return {};
    }

    std::string out;
    std::vector<Frame> stack;
    stack.push_back({body, 0, {}, false});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const GumboVector& children = frame.node->v.element.children;
        if (frame.next >= children.length) {
            out += frame.closing;
            stack.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children.data[frame.next++]);
        const bool preformatted = frame.preformatted;
        switch (child->type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA: {
            const std::string_view text(child->v.text.text);
            if (!preformatted) {
                AppendEscaped(out, text, false);
                break;
            }
            std::size_t start = 0;
            while (start <= text.size()) {
                const std::size_t end = std::min(text.find('\n', start), text.size());
                AppendEscaped(out, text.substr(start, end - start), false);
                if (end < text.size()) {
                    out += "<br>";
                }
                start = end + 1;
            }
            break;
        }
        case GUMBO_NODE_ELEMENT: {
            if (IsSkipped(child)) {
                break;
            }
            const GumboTag tag = child->v.element.tag;
            if (tag == GUMBO_TAG_BR) {
                out += "<br>";
                break;
            }
            if (stack.size() >= kMaxDepth) {
                stack.push_back({child, 0, {}, preformatted}); // text only from here down
                break;
            }
            if (!HasContent(child) && !IsKeptBlock(tag) && !IsDivisionLike(tag)) {
                break; // empty spans, links and styles show nothing
            }
            bool childPreformatted = preformatted;
            std::string closing = Open(out, child, childPreformatted);
            if (IsOneOf(tag, {GUMBO_TAG_TD, GUMBO_TAG_TH})) {
                closing += " "; // cells of a row stay apart as words
            }
            stack.push_back({child, 0, std::move(closing), childPreformatted});
            break;
        }
        default:
            break;
        }
    }
    return out;
}

} // namespace scribvane
