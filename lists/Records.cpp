// Feature and testimonial records; see Records.h.
#include "lists/Records.h"

#include "utils/TextHelpers.h"

namespace scribvane {

std::string MakeFeatureRecord(std::string_view title, std::string_view body) {
    std::string record = "^";
    record.append(title).append("^").append(EncodeLineBreaks(body)).append("^");
    return record;
}

std::string MakeTestimonialRecord(std::string_view name, std::string_view website,
                                  std::string_view content) {
    std::string record = "^";
    record.append(name).append("^").append(website).append("^");
    record.append(EncodeLineBreaks(content)).append("^");
    return record;
}

std::vector<std::string> RecordFields(std::string_view record) {
    std::vector<std::string> fields;
    SplitByChar('^', record, fields);
    return fields;
}

const std::string& FieldAt(const std::vector<std::string>& fields, std::size_t index) {
    static const std::string kMissing;
    return index < fields.size() ? fields[index] : kMissing;
}

std::string RecordField(std::string_view record, std::size_t index) {
    return FieldAt(RecordFields(record), index);
}

std::string DecodeLineBreaks(std::string_view field, std::string_view lineBreak) {
    return ReplaceAll(field, "$$", lineBreak);
}

std::string ListCaption(RecordKind kind, int number) {
    return (kind == RecordKind::Feature ? "Feature " : "Testimonial ") + std::to_string(number);
}

std::string RecordDetails(RecordKind kind, std::string_view record) {
    const auto fields = RecordFields(record);
    const auto field = [&](std::size_t i) -> const std::string& { return FieldAt(fields, i); };
    const std::size_t last = kind == RecordKind::Feature ? 2 : 3;
    std::string details;
    for (std::size_t i = 1; i < last; ++i) {
        details.append(field(i)).append("\r\n");
    }
    details.append(DecodeLineBreaks(field(last), "\r\n"));
    return details;
}

} // namespace scribvane
