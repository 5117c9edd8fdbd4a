// One field of the letter, as a finding of the check or the window names it: one of the 42
// stored fields, an entry stored after them, or the output file the window adds. A typed name
// instead of the tag's text, so a misspelt field does not compile, and one lookup leads from
// it to its control.
#pragma once

#include "persistence/ConfigTags.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace scribvane {

class LetterField {
public:
    // Implicit: a tag is a field.
    constexpr LetterField(Tag tag) : ordinal_(Index(tag)) {}
    constexpr LetterField(OptionalTag tag) : ordinal_(kTagCount + Index(tag)) {}

    // The output file name, which the configuration does not store.
    static constexpr LetterField Output() { return LetterField(kOutputOrdinal); }

    constexpr std::optional<Tag> StoredTag() const {
        return ordinal_ < kTagCount ? std::optional<Tag>(static_cast<Tag>(ordinal_)) : std::nullopt;
    }
    constexpr std::optional<OptionalTag> OptionalEntry() const {
        return ordinal_ >= kTagCount && ordinal_ < kOutputOrdinal
                   ? std::optional<OptionalTag>(static_cast<OptionalTag>(ordinal_ - kTagCount))
                   : std::nullopt;
    }
    constexpr bool IsOutput() const { return ordinal_ == kOutputOrdinal; }

    // The name in config.dat ("PageTitle", "Template"), or "Output".
    constexpr std::string_view Name() const {
        if (const auto tag = StoredTag()) {
            return FieldOf(*tag).name;
        }
        if (const auto entry = OptionalEntry()) {
            return kOptionalTagNames[Index(*entry)];
        }
        return "Output";
    }

    // A number per field, for a list item's data; FromOrdinal reads it back.
    constexpr std::size_t Ordinal() const { return ordinal_; }
    static constexpr std::optional<LetterField> FromOrdinal(std::size_t ordinal) {
        return ordinal <= kOutputOrdinal ? std::optional<LetterField>(LetterField(ordinal))
                                         : std::nullopt;
    }

    friend constexpr bool operator==(LetterField, LetterField) = default;

private:
    static constexpr std::size_t kOutputOrdinal = kTagCount + kOptionalTagCount;
    constexpr explicit LetterField(std::size_t ordinal) : ordinal_(ordinal) {}

    std::size_t ordinal_;
};

} // namespace scribvane
