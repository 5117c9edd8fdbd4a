// Typed letter configuration; see LetterConfiguration.h.
#include "persistence/LetterConfiguration.h"

#include "utils/FileIo.h"
#include "utils/ValueReaders.h"

#include <cassert>
#include <memory>
#include <optional>
#include <utility>

namespace scribvane {

namespace {

// The kinds whose typed value is the text itself.
bool IsTextKind(ValueKind kind) {
    return kind == ValueKind::Text || kind == ValueKind::MultiLineText ||
           kind == ValueKind::Passage || kind == ValueKind::FontName;
}

} // namespace

ConfigValue ConvertValueText(ValueKind kind, std::string_view text) {
    switch (kind) {
    case ValueKind::Colour:
        return HtmlToColor(text);
    case ValueKind::Size:
        return ReadInteger(text);
    case ValueKind::Flag:
        return ReadBoolean(text);
    case ValueKind::RecordList:
        return RecordListFromText(text);
    case ValueKind::Text:
    case ValueKind::MultiLineText:
    case ValueKind::Passage:
    case ValueKind::FontName:
        break;
    }
    return std::string(text);
}

std::string ValueTextOf(ValueKind kind, const ConfigValue& value) {
    switch (kind) {
    case ValueKind::Colour:
        return ColorToHtml(std::get<ColorValue>(value));
    case ValueKind::Size:
        return IntegerText(std::get<std::int32_t>(value));
    case ValueKind::Flag:
        return BooleanText(std::get<bool>(value));
    case ValueKind::RecordList:
        return RecordListText(std::get<RecordList>(value));
    case ValueKind::Text:
    case ValueKind::MultiLineText:
    case ValueKind::Passage:
    case ValueKind::FontName:
        break;
    }
    return std::get<std::string>(value);
}

LetterConfiguration::LetterConfiguration() {
    for (const auto& field : kConfigFields) {
        values_[Index(field.tag)] = ConvertValueText(field.kind, field.initial);
    }
}

LetterConfiguration LetterConfiguration::FromTexts(ConfigTexts&& texts) {
    LetterConfiguration config;
    for (const auto& field : kConfigFields) {
        std::string& text = texts[Index(field.tag)];
        config.values_[Index(field.tag)] = IsTextKind(field.kind)
                                               ? ConfigValue(std::move(text))
                                               : ConvertValueText(field.kind, text);
    }
    return config;
}

LetterConfiguration
LetterConfiguration::FromTextViews(const std::array<std::string_view, kTagCount>& texts) {
    LetterConfiguration config;
    for (const auto& field : kConfigFields) {
        config.values_[Index(field.tag)] = ConvertValueText(field.kind, texts[Index(field.tag)]);
    }
    return config;
}

LetterConfiguration LetterConfiguration::FromTexts(const ConfigTexts& texts) {
    LetterConfiguration config;
    for (const auto& field : kConfigFields) {
        config.values_[Index(field.tag)] = ConvertValueText(field.kind, texts[Index(field.tag)]);
    }
    return config;
}

ConfigTexts LetterConfiguration::ToTexts() const {
    ConfigTexts texts;
    for (const auto& field : kConfigFields) {
        texts[Index(field.tag)] = ValueTextOf(field.kind, values_[Index(field.tag)]);
    }
    return texts;
}

void LetterConfiguration::Set(Tag tag, ConfigValue value) {
    assert(value.index() == values_[Index(tag)].index());
    values_[Index(tag)] = std::move(value);
}

namespace {

using ValueViews = std::array<std::string_view, kTagCount>;

// Every value as a view into the reader's text.
ValueViews ReadValueViews(TaggedValueReader& reader) {
    ValueViews values;
    for (const auto& field : kConfigFields) {
        values[Index(field.tag)] = reader.ExtractTaggedView(field.name);
    }
    return values;
}

// The configuration of bytes whose lines are normal already, read where they stand, so a
// record list is split where it is, not first copied out; nothing when they are not normal.
// Most of a long configuration is its two record lists, and splitting them finds out whether
// their lines are normal; only the rest of the bytes is looked at for that besides. Nothing
// is converted before the whole text is known to be normal.
std::optional<LetterConfiguration> ConfigurationInPlace(std::string_view bytes,
                                                        const std::shared_ptr<const void>& keeper) {
    TaggedValueReader reader(bytes);
    ValueViews values = ReadValueViews(reader);
    std::vector<std::pair<Tag, RecordList>> lists;
    std::size_t checkedTo = 0;
    for (const auto& field : kConfigFields) {
        if (field.kind != ValueKind::RecordList) {
            continue;
        }
        std::string_view& text = values[Index(field.tag)];
        // Values found stand in table order, each after the one before.
        if (!text.empty()) {
            const auto textAt = static_cast<std::size_t>(text.data() - bytes.data());
            if (!HasOnlyCrLfBreaks(bytes.substr(checkedTo, textAt - checkedTo))) {
                return std::nullopt;
            }
            checkedTo = textAt + text.size();
        }
        auto records = RecordList::FromCrLfText(text, keeper);
        if (!records) {
            return std::nullopt;
        }
        lists.emplace_back(field.tag, std::move(*records));
        text = {};
    }
    if (!HasNormalLines(bytes.substr(checkedTo))) {
        return std::nullopt;
    }
    LetterConfiguration config = LetterConfiguration::FromTextViews(values);
    for (auto& [tag, records] : lists) {
        config.Set(tag, std::move(records));
    }
    config.SetOptionalValues(ReadOptionalTexts(reader));
    return config;
}

} // namespace

LetterConfiguration ConfigurationFromBytes(std::string_view bytes,
                                           const std::shared_ptr<const void>& keeper) {
    // A file this program wrote already has CR LF line ends and no NUL: its bytes are the text.
    if (auto config = ConfigurationInPlace(bytes, keeper)) {
        return std::move(*config);
    }
    TaggedValueReader reader(ConfigurationTextFromBytes(bytes));
    LetterConfiguration config = LetterConfiguration::FromTextViews(ReadValueViews(reader));
    config.SetOptionalValues(ReadOptionalTexts(reader));
    return config;
}

LetterConfiguration ReadConfigurationFile(const std::filesystem::path& path) {
    // The record lists, nearly all of a long file, keep their records in the file's bytes.
    const auto bytes = std::make_shared<const std::string>(ReadFileBytes(path));
    return ConfigurationFromBytes(*bytes, bytes);
}

LetterConfiguration ReadMappedConfigurationFile(const std::filesystem::path& path) {
    const auto file = std::make_shared<const MappedFile>(path);
    return ConfigurationFromBytes(file->bytes(), file);
}

void WriteConfigurationFile(const std::filesystem::path& path, const LetterConfiguration& config,
                            const std::filesystem::path& backup) {
    WriteFileAtomically(path, WriteConfiguration(config.ToTexts(), config.OptionalValues()),
                        backup);
}

} // namespace scribvane
