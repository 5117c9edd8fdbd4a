// The record encoding of features and testimonials: one line of text per entry, every field
// framed by "^", line breaks inside a field stored as "$$". Nothing is escaped.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

enum class RecordKind { Feature, Testimonial };

std::string MakeFeatureRecord(std::string_view title, std::string_view body);
std::string MakeTestimonialRecord(std::string_view name, std::string_view website,
                                  std::string_view content);

// The fields of a record split at "^": field 0 is the empty text before the leading "^".
std::vector<std::string> RecordFields(std::string_view record);

// One field of a split record by position; a field the record does not have (a hand-edited
// record may hold fewer) reads as the empty text. Every reader of record fields goes here.
const std::string& FieldAt(const std::vector<std::string>& fields, std::size_t index);

// The first N fields of a record as RecordFields splits it, without copying: views into
// `record`; a field the record does not have is empty.
template <std::size_t N>
std::array<std::string_view, N> RecordFieldViews(std::string_view record) {
    std::array<std::string_view, N> fields{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t end = record.find('^', start);
        if (end == std::string_view::npos) {
            fields[i] = record.substr(start);
            break;
        }
        fields[i] = record.substr(start, end - start);
        start = end + 1;
    }
    return fields;
}

// One field of a record by position, as FieldAt reads it.
std::string RecordField(std::string_view record, std::size_t index);

// Turns every "$$" of a stored field back into `lineBreak` (CR LF in the window, "<br>" in
// the letter).
std::string DecodeLineBreaks(std::string_view field, std::string_view lineBreak);

// "Feature 3", "Testimonial 1".
std::string ListCaption(RecordKind kind, int number);

// What the details view shows: one line per field (title, body; or name, website, content),
// the last field with its "$$" turned back into line breaks. Lines are joined by CR LF.
std::string RecordDetails(RecordKind kind, std::string_view record);

} // namespace scribvane
