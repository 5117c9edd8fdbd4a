// The letter configuration as typed values, and its conversion to and from the value texts of
// the configuration file. Converting the texts checks every value before anything is used, so
// a load can be all or nothing.
#pragma once

#include "persistence/ConfigFormat.h"
#include "persistence/ConfigTags.h"
#include "utils/TextHelpers.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace scribvane {

// Text (also multi-line text, passage and font name), colour, size, flag, record list.
using ConfigValue = std::variant<std::string, ColorValue, std::int32_t, bool, RecordList>;

class LetterConfiguration {
public:
    // Every field at its initial value.
    LetterConfiguration();

    // Converts value texts field by field in table order; the first value that does not read
    // throws its ConversionError and nothing is returned.
    static LetterConfiguration FromTexts(const ConfigTexts& texts);
    static LetterConfiguration FromTexts(ConfigTexts&& texts); // moves the text values
    static LetterConfiguration FromTextViews(
        const std::array<std::string_view, kTagCount>& texts); // for texts that stay in one place

    // The value texts as the configuration file writes them.
    ConfigTexts ToTexts() const;

    const std::string& Text(Tag tag) const { return std::get<std::string>(values_[Index(tag)]); }
    ColorValue Color(Tag tag) const { return std::get<ColorValue>(values_[Index(tag)]); }
    std::int32_t Size(Tag tag) const { return std::get<std::int32_t>(values_[Index(tag)]); }
    bool Flag(Tag tag) const { return std::get<bool>(values_[Index(tag)]); }
    const RecordList& Records(Tag tag) const { return std::get<RecordList>(values_[Index(tag)]); }
    const ConfigValue& Value(Tag tag) const { return values_[Index(tag)]; }

    // Moves a record list out, leaving the field empty: for a caller that is done with the
    // configuration and would otherwise copy every record.
    RecordList TakeRecords(Tag tag) { return std::move(std::get<RecordList>(values_[Index(tag)])); }

    // The value must hold the alternative of the field's kind.
    void Set(Tag tag, ConfigValue value);

    // The entries after the 42; empty when the file has none.
    const std::string& Optional(OptionalTag tag) const { return optional_[Index(tag)]; }
    const OptionalTexts& OptionalValues() const { return optional_; }
    void SetOptional(OptionalTag tag, std::string text) { optional_[Index(tag)] = std::move(text); }
    void SetOptionalValues(OptionalTexts texts) { optional_ = std::move(texts); }

    bool operator==(const LetterConfiguration&) const = default;

private:
    std::array<ConfigValue, kTagCount> values_;
    OptionalTexts optional_;
};

// The typed value of one value text of the given kind; throws ConversionError.
ConfigValue ConvertValueText(ValueKind kind, std::string_view text);

// The file text form of one typed value.
std::string ValueTextOf(ValueKind kind, const ConfigValue& value);

// Reads and converts a configuration file. Throws FileError when it cannot be read and the
// first ConversionError in table order.
LetterConfiguration ReadConfigurationFile(const std::filesystem::path& path);

// The same from a file mapped rather than copied (see MappedFile), for the headless command:
// the record lists keep their records in the mapping, which stays until the last of them is
// gone. Another program cutting the file short meanwhile ends the process.
LetterConfiguration ReadMappedConfigurationFile(const std::filesystem::path& path);

// Converts a configuration file's bytes. With a `keeper` that keeps them where they are, the
// record lists may keep their records there instead of copying them.
LetterConfiguration ConfigurationFromBytes(std::string_view bytes,
                                           const std::shared_ptr<const void>& keeper = {});

// Writes the configuration atomically; a failure leaves the previous file whole. With a
// `backup` path, the file it replaces is kept there.
void WriteConfigurationFile(const std::filesystem::path& path, const LetterConfiguration& config,
                            const std::filesystem::path& backup = {});

} // namespace scribvane
