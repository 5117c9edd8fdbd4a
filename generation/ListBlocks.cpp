// Feature and testimonial blocks, each written as its table of pieces; see ListBlocks.h.
#include "generation/ListBlocks.h"

#include "lists/Records.h"
#include "utils/TextHelpers.h"
#include "utils/TextSink.h"

#include <array>
#include <initializer_list>
#include <optional>

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

// A block template cut at its placeholders, so a record whose fields hold no '%' is filled by
// appending pieces instead of replacing placeholders one after the other. That gives the same
// text only when the fields cannot form or hide a placeholder, which `Fits` checks per record,
// and when the template's own text cannot join a field into one: no "%%" outside its
// placeholders and no '%' next to one, which `Cut` checks once per template.
struct CutTemplate {
    struct Slot {
        std::size_t field; // the record field that goes here
        bool decodeBreaks; // its "$$" become "<br>"
    };
    std::vector<std::string_view> literals; // one more than slots
    std::vector<Slot> slots;
};

struct Placeholder {
    std::string_view text;
    CutTemplate::Slot slot;
};

std::optional<CutTemplate> Cut(std::string_view block,
                               std::initializer_list<Placeholder> placeholders) {
    CutTemplate cut;
    std::size_t start = 0;
    std::size_t at = block.find("%%");
    while (at != std::string_view::npos) {
        const Placeholder* found = nullptr;
        for (const Placeholder& placeholder : placeholders) {
            if (block.substr(at).starts_with(placeholder.text)) {
                found = &placeholder;
            }
        }
        const std::string_view literal = block.substr(start, at - start);
        if (found == nullptr || literal.ends_with('%') || literal.starts_with('%')) {
            return std::nullopt;
        }
        cut.literals.push_back(literal);
        cut.slots.push_back(found->slot);
        start = at + found->text.size();
        at = block.find("%%", start);
    }
    const std::string_view last = block.substr(start);
    if (last.starts_with('%')) {
        return std::nullopt;
    }
    cut.literals.push_back(last);
    return cut;
}

void AppendDecoded(std::string& out, std::string_view field) {
    std::size_t start = 0;
    for (std::size_t at = field.find("$$"); at != std::string_view::npos;
         at = field.find("$$", start)) {
        out.append(field, start, at - start).append("<br>");
        start = at + 2;
    }
    out.append(field, start, std::string_view::npos);
}

template <std::size_t N>
bool Fits(const std::array<std::string_view, N>& fields) {
    for (const auto field : fields) {
        if (field.find('%') != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

template <std::size_t N>
void AppendFilled(std::string& out, const CutTemplate& cut,
                  const std::array<std::string_view, N>& fields) {
    for (std::size_t i = 0; i < cut.slots.size(); ++i) {
        out.append(cut.literals[i]);
        const auto field = fields[cut.slots[i].field];
        if (cut.slots[i].decodeBreaks) {
            AppendDecoded(out, field);
        } else {
            out.append(field);
        }
    }
    out.append(cut.literals.back());
}

// Room for every record filled by the cut template (`perRecord` covers the template): a field
// appears at most twice, and "$$" to "<br>" at most doubles it.
std::size_t RoomFor(const RecordList& records, std::size_t perRecord) {
    return records.size() * perRecord + 2 * records.RecordBytes();
}

// A list of thousands of records is handed on in pieces of this size, so the whole block is
// never held; a piece stays in the cache while the merge's later steps look at it.
constexpr std::size_t kPieceSize = std::size_t{64} << 10;

// Gathers a block's text and hands it on whenever a piece is full.
class PieceWriter {
public:
    explicit PieceWriter(TextSink& out) : out_(out) {}
    ~PieceWriter() = default;
    PieceWriter(const PieceWriter&) = delete;
    PieceWriter& operator=(const PieceWriter&) = delete;

    std::string& text() { return text_; }
    // Called after each record: a record never waits long, however large it is.
    void RecordDone() {
        if (text_.size() >= kPieceSize) {
            HandOn();
        }
    }
    void HandOn() {
        if (!text_.empty()) {
            out_.Put(text_);
            text_.clear();
        }
    }

private:
    TextSink& out_;
    std::string text_;
};

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

namespace {

// The feature block's pieces 1-5 and 7-10, around the items.
std::string FeatureBlockHead(const BlockStyle& style) {
    const std::string background = ColorToHtml(style.backgroundColor);
    return JoinPieces({
        /*  1 */ "<center><table border=0 cellpadding=0 cellspacing=0 style=\"border-collapse: "
                 "collapse\" bordercolor=#111111 width=\"90%\" bgcolor=\"",
        /*  2 */ background,
        /*  3 */ "\">",
        /*  4 */ "<tr>",
        /*  5 */ "<td width=90%><ul>",
    });
}

constexpr std::string_view kFeatureBlockTail = /*  7 */ "</ul></td>"
                                                        /*  8 */ "</tr>"
                                                        /*  9 */ "</table>"
                                                        /* 10 */ "</center>";

} // namespace

std::string FeatureBlock(const BlockStyle& style, std::string_view items) {
    return JoinPieces({FeatureBlockHead(style), /* 6 */ items, kFeatureBlockTail});
}

std::size_t TestimonialsHtmlRoom(const RecordList& records, const BlockStyle& style) {
    return RoomFor(records, TestimonialBlockTemplate(style).size() + 4);
}

std::size_t FeaturesHtmlRoom(const RecordList& records, const BlockStyle& style) {
    return FeatureBlockHead(style).size() + RoomFor(records, FeatureItemTemplate(style).size()) +
           kFeatureBlockTail.size();
}

void WriteTestimonialsHtml(const RecordList& records, const BlockStyle& style, TextSink& out) {
    const std::string block = TestimonialBlockTemplate(style);
    const auto cut =
        Cut(block, {{"%%TNAME%%", {1, false}}, {"%%TWEB%%", {2, false}}, {"%%TBODY%%", {3, true}}});
    PieceWriter writer(out);
    std::string& result = writer.text();
    std::vector<std::string> fields;
    for (const auto& record : records) {
        if (const auto views = RecordFieldViews<4>(record); cut && Fits(views)) {
            AppendFilled(result, *cut, views);
        } else {
            // Name, website and content in turn, each scanning what the one before put in.
            SplitByChar('^', record, fields);
            std::string filled = ReplaceAll(block, "%%TNAME%%", FieldAt(fields, 1));
            filled = ReplaceAll(filled, "%%TWEB%%", FieldAt(fields, 2));
            filled = ReplaceAll(filled, "%%TBODY%%", DecodeLineBreaks(FieldAt(fields, 3), "<br>"));
            result.append(filled);
        }
        result.append("<br>");
        writer.RecordDone();
    }
    writer.HandOn();
}

void WriteFeaturesHtml(const RecordList& records, const BlockStyle& style, TextSink& out) {
    const std::string item = FeatureItemTemplate(style);
    const auto cut = Cut(item, {{"%%FTITLE%%", {1, false}}, {"%%FDESC%%", {2, true}}});
    PieceWriter writer(out);
    std::string& block = writer.text();
    block.append(FeatureBlockHead(style));
    std::vector<std::string> fields;
    for (const auto& record : records) {
        if (const auto views = RecordFieldViews<3>(record); cut && Fits(views)) {
            AppendFilled(block, *cut, views);
        } else {
            SplitByChar('^', record, fields);
            std::string filled = ReplaceAll(item, "%%FTITLE%%", FieldAt(fields, 1));
            filled = ReplaceAll(filled, "%%FDESC%%", DecodeLineBreaks(FieldAt(fields, 2), "<br>"));
            block.append(filled);
        }
        writer.RecordDone();
    }
    block.append(kFeatureBlockTail);
    writer.HandOn();
}

namespace {

using BlockWriter = void (*)(const RecordList&, const BlockStyle&, TextSink&);

std::string Collected(BlockWriter write, const RecordList& records, const BlockStyle& style) {
    std::string html;
    StringSink sink(html);
    write(records, style, sink);
    return html;
}

} // namespace

std::string TestimonialsHtml(const RecordList& records, const BlockStyle& style) {
    return Collected(WriteTestimonialsHtml, records, style);
}

std::string FeaturesHtml(const RecordList& records, const BlockStyle& style) {
    return Collected(WriteFeaturesHtml, records, style);
}

} // namespace scribvane
