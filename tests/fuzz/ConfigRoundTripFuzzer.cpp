// Writing any set of values the format can carry and reading it back gives the same values.
// The fuzzer chooses the values; what the format cannot carry (line breaks outside multi-line
// texts and record lists, a value holding its own closing tag, NUL) is kept out.
#include "persistence/LetterConfiguration.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

using namespace scribvane;

std::string Fold(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// Removes what one line of a value may not hold, and every copy of the field's closing tag.
std::string Carryable(std::string text, std::string_view tag, bool lineBreaksAllowed) {
    std::string clean;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\0') {
            continue;
        }
        if (c == '\r' || c == '\n') {
            // Only whole CR LF pairs survive the reader unchanged.
            if (lineBreaksAllowed && c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                clean += "\r\n";
                ++i;
            }
            continue;
        }
        clean += c;
    }
    const std::string closing = Fold("<%%/" + std::string(tag) + "%%>");
    for (auto at = Fold(clean).find(closing); at != std::string::npos;
         at = Fold(clean).find(closing)) {
        clean.erase(at, closing.size());
    }
    return clean;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    LetterConfiguration config;
    for (const auto& field : kConfigFields) {
        switch (field.kind) {
        case ValueKind::Colour:
            config.Set(field.tag, provider.ConsumeIntegral<ColorValue>() & 0xFFFFFFu);
            break;
        case ValueKind::Size:
            config.Set(field.tag, provider.ConsumeIntegral<std::int32_t>());
            break;
        case ValueKind::Flag:
            config.Set(field.tag, provider.ConsumeBool());
            break;
        case ValueKind::RecordList: {
            RecordList records;
            for (auto count = provider.ConsumeIntegralInRange<std::size_t>(0, 4); count > 0;
                 --count) {
                records.push_back(
                    Carryable(provider.ConsumeRandomLengthString(64), field.name, false));
            }
            // A record list's last record must not end in its own closing tag's prefix either;
            // Carryable removed whole tags, which is all the reader looks for.
            config.Set(field.tag, records);
            break;
        }
        case ValueKind::MultiLineText:
            config.Set(field.tag,
                       Carryable(provider.ConsumeRandomLengthString(128), field.name, true));
            break;
        case ValueKind::Text:
        case ValueKind::Passage:
        case ValueKind::FontName:
            config.Set(field.tag,
                       Carryable(provider.ConsumeRandomLengthString(128), field.name, false));
            break;
        }
    }
    const std::string file = WriteConfiguration(config.ToTexts());
    const auto read =
        LetterConfiguration::FromTexts(ReadConfigurationTexts(ConfigurationTextFromBytes(file)));
    if (!(read == config)) {
        std::abort();
    }
    return 0;
}
