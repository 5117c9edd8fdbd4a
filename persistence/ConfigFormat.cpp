// Writer and reader of the config.dat text; see ConfigFormat.h.
#include "persistence/ConfigFormat.h"

#include "utils/TextHelpers.h"

namespace scribvane {
namespace {

constexpr bool TableIsInTagOrder() {
    for (std::size_t i = 0; i < kConfigFields.size(); ++i) {
        if (Index(kConfigFields[i].tag) != i) {
            return false;
        }
    }
    return true;
}
static_assert(TableIsInTagOrder(), "kConfigFields must list the tags in enum order");

std::string OpeningTag(std::string_view name) {
    return "<%%" + std::string(name) + "%%>";
}

std::string ClosingTag(std::string_view name) {
    return "<%%/" + std::string(name) + "%%>";
}

} // namespace

std::string WriteConfiguration(const ConfigTexts& texts, const OptionalTexts& optional) {
    std::size_t size = 0;
    for (const auto& text : texts) {
        size += text.size() + 48;
    }
    std::string out;
    out.reserve(size);
    for (const auto& field : kConfigFields) {
        out.append(OpeningTag(field.name));
        out.append(texts[Index(field.tag)]);
        out.append(ClosingTag(field.name));
        out.append("\r\n");
    }
    // Left out when empty, so a configuration that uses none of them is written as before.
    for (std::size_t i = 0; i < kOptionalTagCount; ++i) {
        if (!optional[i].empty()) {
            out.append(OpeningTag(kOptionalTagNames[i]))
                .append(optional[i])
                .append(ClosingTag(kOptionalTagNames[i]))
                .append("\r\n");
        }
    }
    return out;
}

std::string ConfigurationTextFromBytes(std::string_view bytes) {
    return NormalizeLines(bytes);
}

TaggedValueReader::TaggedValueReader(std::string text) : owned_(std::move(text)) {
    text_ = owned_;
}

TaggedValueReader::TaggedValueReader(std::string_view text) : text_(text) {}

// Every tag starts with "<%%": each '<' from the read position is tried against the needle,
// folding the text's letters as it is compared, so no lowered copy of the text is needed.
std::size_t TaggedValueReader::Find(std::string_view foldedNeedle) const {
    const std::string_view text = text_;
    for (std::size_t at = text.find('<', position_);
         at != std::string_view::npos && foldedNeedle.size() <= text.size() - at;
         at = text.find('<', at + 1)) {
        std::size_t i = 1;
        while (i < foldedNeedle.size() && LowerAscii(text[at + i]) == foldedNeedle[i]) {
            ++i;
        }
        if (i == foldedNeedle.size()) {
            return at;
        }
    }
    return std::string_view::npos;
}

std::string TaggedValueReader::ExtractTaggedValue(std::string_view tag) {
    return std::string(ExtractTaggedView(tag));
}

std::string_view TaggedValueReader::ExtractTaggedView(std::string_view tag) {
    const std::string opening = LowerAscii(OpeningTag(tag));
    const auto open = Find(opening);
    if (open == std::string::npos) {
        return {};
    }
    position_ = open + opening.size();
    const auto close = Find(LowerAscii(ClosingTag(tag)));
    if (close == std::string::npos) {
        return {};
    }
    const std::string_view value = text_.substr(position_, close - position_);
    position_ = close;
    return value;
}

ConfigTexts ReadConfigurationTexts(std::string configurationText) {
    TaggedValueReader reader(std::move(configurationText));
    ConfigTexts texts;
    for (const auto& field : kConfigFields) {
        texts[Index(field.tag)] = reader.ExtractTaggedValue(field.name);
    }
    return texts;
}

OptionalTexts ReadOptionalTexts(TaggedValueReader& reader) {
    OptionalTexts texts;
    for (std::size_t i = 0; i < kOptionalTagCount; ++i) {
        texts[i] = reader.ExtractTaggedValue(kOptionalTagNames[i]);
    }
    return texts;
}

std::string RecordListText(const RecordList& records) {
    return std::string(records.Text());
}

RecordList RecordListFromText(std::string_view text) {
    return RecordList::FromText(text);
}

} // namespace scribvane
