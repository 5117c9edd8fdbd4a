// The blocks of the html5 dialect; see Html5Blocks.h.
#include "generation/Html5Blocks.h"

#include "generation/HtmlText.h"
#include "generation/OrderBlocks.h"
#include "generation/PictureSize.h"
#include "lists/Records.h"
#include "utils/FileIo.h"
#include "utils/FontFamilies.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

#include <array>
#include <cctype>
#include <chrono>
#include <optional>
#include <vector>

namespace scribvane {
namespace {

// The font size of <font size>: 1 to 7, or relative to 3 with a sign.
std::optional<std::string_view> FontSizeOf(std::string_view size) {
    constexpr std::array<std::string_view, 7> kSizes = {"10px", "13px", "16px", "18px",
                                                        "24px", "32px", "48px"};
    size = TrimBlanks(size);
    if (size.empty()) {
        return std::nullopt;
    }
    int sign = 0;
    if (size.front() == '+' || size.front() == '-') {
        sign = size.front() == '+' ? 1 : -1;
        size.remove_prefix(1);
    }
    if (size.size() != 1 || std::isdigit(static_cast<unsigned char>(size.front())) == 0) {
        return std::nullopt;
    }
    int value = size.front() - '0';
    if (sign != 0) {
        value = 3 + sign * value;
    }
    value = value < 1 ? 1 : (value > 7 ? 7 : value);
    return kSizes[static_cast<std::size_t>(value - 1)];
}

// A colour of <font color> that CSS reads the same: "#" and hex digits, or a colour word.
bool IsCssColor(std::string_view color) {
    if (color.empty()) {
        return false;
    }
    if (color.front() == '#') {
        for (const char c : color.substr(1)) {
            if (std::isxdigit(static_cast<unsigned char>(c)) == 0) {
                return false;
            }
        }
        return color.size() == 4 || color.size() == 7;
    }
    for (const char c : color) {
        if (std::isalpha(static_cast<unsigned char>(c)) == 0) {
            return false;
        }
    }
    return true;
}

std::string SpanOfFont(const MarkupTag& font) {
    std::vector<std::string> properties;
    if (const auto face = AttributeOf(font.attributes, "face"); face && !face->empty()) {
        properties.push_back("font-family: " + std::string(*face));
    }
    if (const auto size = AttributeOf(font.attributes, "size")) {
        if (const auto css = FontSizeOf(*size)) {
            properties.push_back("font-size: " + std::string(*css));
        }
    }
    if (const auto color = AttributeOf(font.attributes, "color"); color && IsCssColor(*color)) {
        properties.push_back("color: " + std::string(*color));
    }
    if (const auto style = AttributeOf(font.attributes, "style"); style && !style->empty()) {
        properties.emplace_back(TrimBlanks(*style));
    }
    if (properties.empty()) {
        return "<span>";
    }
    std::string span = "<span style=\"";
    for (std::size_t i = 0; i < properties.size(); ++i) {
        std::string property = properties[i];
        while (!property.empty() && property.back() == ';') {
            property.pop_back();
        }
        span += (i == 0 ? "" : "; ") + property;
    }
    return span + "\">";
}

// Block elements, which may not stand inside a heading.
bool IsBlock(std::string_view name) {
    constexpr std::array<std::string_view, 24> kBlocks = {
        "div",   "p",     "h1", "h2", "h3", "h4", "h5",      "h6",
        "pre",   "ul",    "ol", "li", "dl", "dt", "dd",      "table",
        "tbody", "thead", "tr", "td", "th", "hr", "address", "blockquote",
    };
    for (const auto block : kBlocks) {
        if (name == block) {
            return true;
        }
    }
    return false;
}

bool IsOnlyBreaks(std::string_view piece) {
    std::size_t at = 0;
    while (at < piece.size()) {
        if (std::isspace(static_cast<unsigned char>(piece[at])) != 0) {
            ++at;
            continue;
        }
        const auto tag = piece[at] == '<' ? TagAt(piece, at) : std::nullopt;
        if (!tag || tag->name != "br") {
            return false;
        }
        at += tag->whole.size();
    }
    return true;
}

std::string Headed(std::string_view title, std::string_view text, std::string_view className) {
    if (text.empty()) {
        return {};
    }
    return "<span class=\"" + std::string(className) + "\"><b>" + std::string(title) + "</b> " +
           std::string(text) + "</span>";
}

// The user's words, escaped so the reader sees them as typed, else the letter's own.
std::string WordsOr(std::string_view typed, std::string_view own) {
    return typed.empty() ? std::string(own) : EscapeText(typed);
}

std::string OrderBlock(std::string_view title, std::string_view address, std::string_view caption,
                       bool primary, const OrderWords& words) {
    return "<div class=\"order\"><p class=\"order-title\">" + WordsOr(words.line, title) +
           "</p><a class=\"order-button" + (primary ? " primary" : "") + "\" href=\"" +
           std::string(address) + "\">" + WordsOr(words.button, caption) +
           "</a><p class=\"order-note\">" + WordsOr(words.closing, "Don't miss this offer!") +
           "</p></div>";
}

// Whether the text of a passage begins with "P.S" (any letter case) after the tags, blanks
// and non-breaking spaces before it, and not as the start of a word ("P.Smith").
bool OpensWithPostScript(std::string_view fragment) {
    std::size_t at = 0;
    while (at < fragment.size()) {
        const auto c = static_cast<unsigned char>(fragment[at]);
        if (c == '<') {
            at = fragment.find('>', at);
            if (at == std::string_view::npos) {
                return false;
            }
            ++at;
        } else if (std::isspace(c) != 0 || c == 0xA0) {
            ++at;
        } else if (StartsWithIgnoringAsciiCase(fragment.substr(at), "&nbsp;")) {
            at += 6;
        } else {
            break;
        }
    }
    const std::string_view text = fragment.substr(at);
    return StartsWithIgnoringAsciiCase(text, "p.s") &&
           (text.size() == 3 || std::isalpha(static_cast<unsigned char>(text[3])) == 0);
}

// A font name inside single quotes in CSS inside a double-quoted attribute.
std::string CssFontName(std::string_view name) {
    std::string quoted;
    for (const char c : name) {
        if (c == '\'' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return EscapeAttribute(quoted);
}

void AppendBreaks(std::string& out, std::string_view field) {
    out += ReplaceAll(field, "$$", "<br>");
}

// A website as the address of its link: as typed, with https:// when it names no scheme.
std::string WebsiteAddress(std::string_view website) {
    const std::size_t colon = website.find(':');
    const std::size_t slash = website.find('/');
    bool scheme = colon != std::string_view::npos && colon > 0 && colon < slash;
    for (std::size_t i = 0; scheme && i < colon; ++i) {
        const auto c = static_cast<unsigned char>(website[i]);
        scheme = std::isalnum(c) != 0 || c == '+' || c == '-' || c == '.';
    }
    if (scheme && std::isalpha(static_cast<unsigned char>(website.front())) == 0) {
        scheme = false;
    }
    if (website.starts_with("//")) {
        return "https:" + EncodeBlanks(website);
    }
    return (scheme ? std::string() : std::string("https://")) + EncodeBlanks(website);
}

constexpr std::size_t kPieceSize = std::size_t{64} << 10;

template <typename Append>
void WriteInPieces(const RecordList& records, TextSink& out, std::string_view before,
                   std::string_view after, Append append) {
    std::string text(before);
    for (const std::string_view record : records) {
        append(text, record);
        if (text.size() >= kPieceSize) {
            out.Put(text);
            text.clear();
        }
    }
    text += after;
    out.Put(text);
}

// A bare file name as a relative address: what would end or start a part of an address is
// percent-encoded, every other byte stays.
std::string PercentEncodePath(std::string_view fileName) {
    std::string out;
    for (const char c : fileName) {
        if (c == '#' || c == '?' || c == '%') {
            out += PercentEncode(std::string_view(&c, 1));
        } else {
            out += EncodeBlanks(std::string_view(&c, 1));
        }
    }
    return out;
}

// The folder the letter is published to as an absolute address ending in '/', ready for the
// page's file names to follow; empty when the letter is not published to a web address. A
// query or fragment the user left on the address is cut off, as a file name cannot follow it.
std::string PublishedFolder(std::string_view publicAddress) {
    if (!IsWebAddress(publicAddress)) {
        return {};
    }
    std::string folder = EncodeBlanks(publicAddress.substr(0, publicAddress.find_first_of("?#")));
    if (!folder.ends_with('/')) {
        folder += '/';
    }
    return folder;
}

} // namespace

std::string Html5Picture(PictureRole role, const PlacedPicture& picture,
                         std::string_view description) {
    std::string tag = "<img src=\"";
    switch (picture.kind) {
    case PictureSource::None:
        return {};
    case PictureSource::Address:
        tag += EscapeAttribute(EncodeBlanks(picture.source));
        break;
    case PictureSource::Copy:
        tag += EscapeAttribute(PercentEncodePath(picture.source));
        break;
    case PictureSource::InPlace:
    case PictureSource::Embedded:
        tag += EscapeAttribute(picture.source);
        break;
    }
    tag += "\" alt=\"" + EscapeAttribute(description) + "\"";
    if (const auto& size = picture.size) {
        tag += " width=\"" + std::to_string(size->width) + "\" height=\"" +
               std::to_string(size->height) + "\"";
    }
    tag += " decoding=\"async\"";
    if (role == PictureRole::Header) {
        tag += " fetchpriority=\"high\"";
    } else if (role == PictureRole::Footer) {
        tag += " loading=\"lazy\"";
    }
    tag += ">";
    if (picture.webSources.empty()) {
        return tag;
    }
    // Made for the web: browsers pick the WebP width their screen needs, others the fallback.
    return "<picture><source type=\"image/webp\" srcset=\"" + EscapeAttribute(picture.webSources) +
           "\" sizes=\"" + EscapeAttribute(picture.sizes) + "\">" + tag + "</picture>";
}

std::string ModernPassage(std::string_view fragment) {
    std::string out;
    out.reserve(fragment.size() + fragment.size() / 4);
    std::size_t from = 0;
    for (std::size_t at = fragment.find('<'); at != std::string_view::npos;
         at = fragment.find('<', at + 1)) {
        const auto tag = TagAt(fragment, at);
        if (!tag) {
            continue;
        }
        std::string replacement;
        if (tag->name == "font") {
            replacement = tag->closing ? "</span>" : SpanOfFont(*tag);
        } else if (tag->name == "center") {
            replacement = tag->closing ? "</div>" : "<div style=\"text-align: center\">";
        } else if (tag->name == "strike") {
            replacement = tag->closing ? "</s>" : "<s>";
        } else {
            continue;
        }
        out.append(fragment.substr(from, at - from)).append(replacement);
        from = at + tag->whole.size();
        at = from - 1;
    }
    out.append(fragment.substr(from));
    return out;
}

std::string Html5Headline(std::string_view fragment) {
    const std::string modern = ModernPassage(fragment);
    const std::string_view text = modern;
    std::vector<std::string> pieces;
    std::string piece;
    std::optional<std::string> style;
    const auto endPiece = [&] {
        if (!IsOnlyBreaks(piece)) {
            pieces.push_back(std::string(TrimBlanks(piece)));
        }
        piece.clear();
    };
    std::size_t from = 0;
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        const auto tag = TagAt(text, at);
        if (!tag || !IsBlock(tag->name)) {
            continue;
        }
        piece.append(text.substr(from, at - from));
        endPiece();
        if (!tag->closing && !style) {
            if (const auto found = AttributeOf(tag->attributes, "style");
                found && !found->empty()) {
                style = std::string(*found);
            } else if (const auto align = AttributeOf(tag->attributes, "align");
                       align && !align->empty()) {
                style = "text-align: " + EscapeAttribute(*align);
            }
        }
        from = at + tag->whole.size();
        at = from - 1;
    }
    piece.append(text.substr(from));
    endPiece();
    std::string h1 = style ? "<h1 style=\"" + *style + "\">" : std::string("<h1>");
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        h1 += (i == 0 ? "" : "<br>") + pieces[i];
    }
    return h1 + "</h1>";
}

std::string Html5From(std::string_view fullName) {
    return Headed("From:", fullName, "from");
}

std::string Html5Date(std::string_view currentDate) {
    return Headed("Current Date:", currentDate, "date");
}

std::string Html5PostScript(std::string_view fragment) {
    const std::string passage = ModernPassage(fragment);
    return OpensWithPostScript(fragment) ? passage : "<b>P.S.- </b>" + passage;
}

std::string Html5DirectOrder(std::string_view link, bool primary, const OrderWords& words) {
    return OrderBlock("Check The Order Form!", EscapeAttribute(EncodeBlanks(link)),
                      "Click Here To Order Now!", primary, words);
}

std::string Html5ClickBankOrder(std::string_view accountName, std::string_view productName,
                                std::string_view description, bool primary, const OrderWords& words,
                                std::string_view mark) {
    const std::string address = std::string(kClickBankSellAddress) + "?" +
                                PercentEncode(accountName) + "/" + PercentEncode(productName) +
                                "/" + PercentEncode(description) +
                                (mark.empty() ? std::string() : "&vtid=" + std::string(mark));
    return OrderBlock("Order Using ClickBank!", EscapeAttribute(address),
                      "Click Here To Pay With ClickBank!", primary, words);
}

std::string Html5BlockStyle(const BlockStyle& style) {
    std::string css = "background-color: " + ColorToHtml(style.backgroundColor) +
                      "; color: " + ColorToHtml(style.color) + "; font-family: '" +
                      CssFontName(style.fontName) + "'" +
                      std::string(FallbackFonts(KindOfFont(style.fontName)));
    // A size that is no positive number has no CSS form: the template's size stays.
    const std::string_view size = style.fontSize;
    bool positive = !size.empty() && size.front() != '0' && size.size() <= 4;
    for (const char c : size) {
        positive = positive && std::isdigit(static_cast<unsigned char>(c)) != 0;
    }
    if (positive) {
        css += "; font-size: " + std::string(size) + "px";
    }
    css += style.italic ? "; font-style: italic" : "; font-style: normal";
    css += style.bold ? "; font-weight: bold" : "; font-weight: normal";
    css += style.underline ? "; text-decoration: underline" : "; text-decoration: none";
    return css;
}

void WriteHtml5Testimonials(const RecordList& records, const BlockStyle& style, TextSink& out) {
    if (records.empty()) {
        return;
    }
    const std::string open =
        "<figure class=\"testimonial\" style=\"" + Html5BlockStyle(style) + "\"><blockquote>";
    WriteInPieces(records, out, {}, {}, [&](std::string& text, std::string_view record) {
        const auto fields = RecordFieldViews<4>(record);
        const std::string_view name = fields[1];
        const std::string_view website = fields[2];
        text += open;
        AppendBreaks(text, fields[3]);
        text += "</blockquote>";
        if (name.empty() && website.empty()) {
            text += "</figure>";
            return;
        }
        text += "<figcaption>";
        if (website.empty()) {
            text += name;
        } else {
            text += "<a href=\"" + EscapeAttribute(WebsiteAddress(website)) + "\">";
            text += name.empty() ? std::string_view(website) : name;
            text += "</a>";
        }
        text += "</figcaption></figure>";
    });
}

void WriteHtml5Features(const RecordList& records, const BlockStyle& style, TextSink& out) {
    const std::string open = "<ul class=\"features\" style=\"" + Html5BlockStyle(style) + "\">";
    WriteInPieces(records, out, open, "</ul>", [](std::string& text, std::string_view record) {
        const auto fields = RecordFieldViews<3>(record);
        text += "<li>";
        if (!fields[1].empty()) {
            text.append("<strong>").append(fields[1]).append("</strong> ");
        }
        AppendBreaks(text, fields[2]);
        text += "</li>";
    });
}

std::string Html5Language(const LetterValues& values) {
    return values.language.empty() ? std::string("en") : EscapeAttribute(values.language);
}

std::string Html5Description(const LetterValues& values) {
    return EscapeAttribute(TextWithoutTags(
        values.pageDescription.empty() ? values.attention : values.pageDescription));
}

std::string Html5OpenGraph(const LetterValues& values, const LetterPictures& pictures) {
    std::string tags = "<meta property=\"og:type\" content=\"website\">";
    tags += "<meta property=\"og:title\" content=\"" +
            EscapeAttribute(TextWithoutTags(values.pageTitle)) + "\">";
    const std::string description = Html5Description(values);
    if (!description.empty()) {
        tags += "<meta property=\"og:description\" content=\"" + description + "\">";
    }
    // A link preview needs an absolute address: a local picture has one only once it is
    // published beside the page, under its bare file name.
    const std::string folder = PublishedFolder(values.publicAddress);
    for (const PictureRole role : {PictureRole::Cover, PictureRole::Header}) {
        const PlacedPicture& picture = pictures.Of(role);
        std::string address;
        if (picture.kind == PictureSource::Address && IsWebAddress(picture.source)) {
            address = EncodeBlanks(picture.source);
        } else if (!folder.empty() && picture.kind == PictureSource::Copy &&
                   values.placement == PicturePlacement::CopyBeside) {
            // A picture made for the web has a JPEG of its own for previews, which do not
            // all read WebP.
            address = folder + PercentEncode(picture.shareSource.empty() ? picture.source
                                                                         : picture.shareSource);
        } else {
            continue;
        }
        tags += "<meta property=\"og:image\" content=\"" + EscapeAttribute(address) + "\">";
        break;
    }
    if (!folder.empty()) {
        // A letter without an output name is published as index.html.
        const std::string page = FileNamePart(values.outputFileName);
        tags += "<meta property=\"og:url\" content=\"" +
                EscapeAttribute(folder + PercentEncode(page.empty() ? "index.html" : page)) + "\">";
    }
    return tags;
}

std::string Html5Year(const LetterValues& values) {
    // The last four digits standing alone in the date line, so the letter's copyright follows
    // the date the author gave it and the same letter gives the same bytes in any year.
    const std::string_view date = values.currentDate;
    for (std::size_t end = date.size(); end >= 4; --end) {
        const std::string_view candidate = date.substr(end - 4, 4);
        bool digits = true;
        for (const char c : candidate) {
            digits = digits && std::isdigit(static_cast<unsigned char>(c)) != 0;
        }
        const bool alone =
            (end == date.size() || std::isdigit(static_cast<unsigned char>(date[end])) == 0) &&
            (end == 4 || std::isdigit(static_cast<unsigned char>(date[end - 5])) == 0);
        if (digits && alone && (candidate.starts_with("19") || candidate.starts_with("20"))) {
            return std::string(candidate);
        }
    }
    const std::chrono::year_month_day today{
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    return std::to_string(static_cast<int>(today.year()));
}

std::string OrderHeadingOfTemplate(std::string_view templateText) {
    // The declaration ends with its comment, on its line: one left open declares nothing.
    const std::string_view declaration = "order heading:";
    const std::size_t at = FindIgnoringAsciiCase(templateText, declaration);
    const std::string_view rest =
        at == std::string_view::npos ? std::string_view() : templateText.substr(at);
    const std::string_view line = rest.substr(0, rest.find_first_of("\r\n"));
    const std::size_t end = line.find("-->");
    const std::string_view heading =
        end == std::string_view::npos
            ? std::string_view()
            : TrimBlanks(line.substr(declaration.size(), end - declaration.size()));
    return heading.empty() ? std::string("Get Instant Access Now") : std::string(heading);
}

std::string Html5OrderHeading(const LetterValues& values, std::string_view templateText) {
    return values.orderHeading.empty() ? OrderHeadingOfTemplate(templateText)
                                       : EscapeText(values.orderHeading);
}

std::string Html5PriceLine(const LetterValues& values) {
    return values.priceLine.empty()
               ? std::string()
               : "<p class=\"order-price\">" + EscapeText(values.priceLine) + "</p>";
}

std::string BodyFontOfTemplate(std::string_view templateText) {
    const std::size_t style = FindIgnoringAsciiCase(templateText, "<style");
    if (style == std::string_view::npos) {
        return {};
    }
    const std::string_view sheet = templateText.substr(style);
    // The first rule whose selector is "body" alone.
    for (std::size_t at = FindIgnoringAsciiCase(sheet, "body"); at != std::string_view::npos;
         at = FindIgnoringAsciiCase(sheet, "body", at + 4)) {
        const bool starts =
            at == 0 || std::string_view(" \t\r\n}>").find(sheet[at - 1]) != std::string_view::npos;
        const std::size_t open = sheet.find_first_not_of(" \t\r\n", at + 4);
        if (!starts || open == std::string_view::npos || sheet[open] != '{') {
            continue;
        }
        const std::string_view rule = sheet.substr(open + 1, sheet.find('}', open) - open - 1);
        for (const std::string_view property : {"font-family:", "font:"}) {
            std::size_t found = FindIgnoringAsciiCase(rule, property);
            while (found != std::string_view::npos && found > 0 &&
                   (std::isalnum(static_cast<unsigned char>(rule[found - 1])) != 0 ||
                    rule[found - 1] == '-')) {
                found = FindIgnoringAsciiCase(rule, property, found + 1);
            }
            if (found == std::string_view::npos) {
                continue;
            }
            std::string_view value = rule.substr(found + property.size());
            value = TrimBlanks(value.substr(0, value.find(';')));
            if (property == "font:") {
                // The families follow the size (and its line height): "17px/1.65 Arial, serif".
                std::size_t families = 0;
                for (std::size_t i = 0; i < value.size(); ++i) {
                    if (std::isdigit(static_cast<unsigned char>(value[i])) != 0 &&
                        (i == 0 || value[i - 1] == ' ')) {
                        const std::size_t end = value.find(' ', i);
                        families = end == std::string_view::npos ? value.size() : end + 1;
                        break;
                    }
                }
                value = TrimBlanks(value.substr(families));
            }
            return std::string(value);
        }
        return {};
    }
    return {};
}

} // namespace scribvane
