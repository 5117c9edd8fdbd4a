// Feature and testimonial blocks, each written as its table of pieces; see ListBlocks.h.
#include "generation/ListBlocks.h"

#include "lists/Records.h"
#include "utils/TextHelpers.h"

#include <initializer_list>

namespace scribvane {
namespace {

// The words the check boxes choose; an unticked underline box still yields "normal".
struct StyleWords {
    std::string_view italic;
    std::string_view bold;
    std::string_view underline;
};

StyleWords WordsOf(const BlockStyle& style) {
    return {style.italic ? "italic" : "normal", style.bold ? "bold" : "normal",
            style.underline ? "underline" : "normal"};
}

// A record's field by position; a hand-edited record may have fewer fields than the block
// reads, and a missing one is the empty text.
const std::string& FieldOf(const std::vector<std::string>& fields, std::size_t index) {
    static const std::string kEmpty;
    return index < fields.size() ? fields[index] : kEmpty;
}

} // namespace

std::string TestimonialBlockTemplate(const BlockStyle& style) {
    const StyleWords words = WordsOf(style);
    const std::string background = ColorToHtml(style.backgroundColor);
    const std::string color = ColorToHtml(style.color);
    return JoinPieces({
        /*  1 */ "<center><table border=1 cellpadding=5 cellspacing=0 style=\"border-collapse: "
                 "collapse\" bordercolor=#111111 width=\"90%\" bgcolor=\"",
        /*  2 */ background,
        /*  3 */ "\">",
        /*  4 */ "<tr>",
        /*  5 */ "<td width=90%><font face=\"",
        /*  6 */ style.fontName,
        /*  7 */ "\" style=\"font-size: ",
        /*  8 */ style.fontSize,
        /*  9 */ "px; font-style: ",
        /* 10 */ words.italic,
        /* 11 */ "; font-weight: ",
        /* 12 */ words.bold,
        /* 13 */ "; text-decoration:  ",
        /* 14 */ words.underline,
        /* 15 */ ";\" color=\"",
        /* 16 */ color,
        /* 17 */ "\">%%TBODY%%<br><br>",
        /* 18 */ "<b>%%TNAME%% <a target=\"_blank\" href=%%TWEB%%>%%TWEB%%</a></b></font></td>",
        /* 19 */ "</tr>",
        /* 20 */ "</table>",
        /* 21 */ "</center>",
    });
}

std::string FeatureItemTemplate(const BlockStyle& style) {
    const StyleWords words = WordsOf(style);
    const std::string color = ColorToHtml(style.color);
    return JoinPieces({
        /*  1 */ "<li><p><font face=\"",
        /*  2 */ style.fontName,
        /*  3 */ "\" style=\"font-size: ",
        /*  4 */ style.fontSize,
        /*  5 */ "px; font-style: ",
        /*  6 */ words.italic,
        /*  7 */ "; font-weight: ",
        /*  8 */ words.bold,
        /*  9 */ "; text-decoration:  ",
        /* 10 */ words.underline,
        /* 11 */ ";\" color=\"",
        /* 12 */ color,
        /* 13 */ "\">%%FTITLE%% - %%FDESC%%</font></p></li>",
    });
}

std::string FeatureBlock(const BlockStyle& style, std::string_view items) {
    const std::string background = ColorToHtml(style.backgroundColor);
    return JoinPieces({
        /*  1 */ "<center><table border=0 cellpadding=0 cellspacing=0 style=\"border-collapse: "
                 "collapse\" bordercolor=#111111 width=\"90%\" bgcolor=\"",
        /*  2 */ background,
        /*  3 */ "\">",
        /*  4 */ "<tr>",
        /*  5 */ "<td width=90%><ul>",
        /*  6 */ items,
        /*  7 */ "</ul></td>",
        /*  8 */ "</tr>",
        /*  9 */ "</table>",
        /* 10 */ "</center>",
    });
}

std::string TestimonialsHtml(const std::vector<std::string>& records, const BlockStyle& style) {
    const std::string block = TestimonialBlockTemplate(style);
    std::string result;
    std::vector<std::string> fields;
    for (const auto& record : records) {
        SplitByChar('^', record, fields);
        std::string filled = ReplaceAll(block, "%%TNAME%%", FieldOf(fields, 1));
        filled = ReplaceAll(filled, "%%TWEB%%", FieldOf(fields, 2));
        filled = ReplaceAll(filled, "%%TBODY%%", DecodeLineBreaks(FieldOf(fields, 3), "<br>"));
        result.append(filled).append("<br>");
    }
    return result;
}

std::string FeaturesHtml(const std::vector<std::string>& records, const BlockStyle& style) {
    const std::string item = FeatureItemTemplate(style);
    std::string items;
    std::vector<std::string> fields;
    for (const auto& record : records) {
        SplitByChar('^', record, fields);
        std::string filled = ReplaceAll(item, "%%FTITLE%%", FieldOf(fields, 1));
        filled = ReplaceAll(filled, "%%FDESC%%", DecodeLineBreaks(FieldOf(fields, 2), "<br>"));
        items.append(filled);
    }
    return FeatureBlock(style, items);
}

} // namespace scribvane
