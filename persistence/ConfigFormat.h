// The tagged text format of config.dat: one "<%%Tag%%>value<%%/Tag%%>" entry per field, in
// table order, each followed by CR LF. Plain text handling; no window and no file here.
#pragma once

#include "lists/RecordList.h"
#include "persistence/ConfigTags.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace scribvane {

// The 42 value texts in table order.
using ConfigTexts = std::array<std::string, kTagCount>;

// The texts of the optional entries, in OptionalTag order; empty when not given.
using OptionalTexts = std::array<std::string, kOptionalTagCount>;

// The file's whole content for these values: the 42 entries, then every optional entry that
// is not empty. Nothing is escaped.
std::string WriteConfiguration(const ConfigTexts& texts, const OptionalTexts& optional = {});

// The configuration text of a file's bytes: every line break made CR LF, text after the
// first NUL dropped.
std::string ConfigurationTextFromBytes(std::string_view bytes);

// Walks one configuration text, handing out the value of each tag asked for. Tags are matched
// without regard to ASCII letter case, and every search starts where the last value ended.
class TaggedValueReader {
public:
    explicit TaggedValueReader(std::string text);
    // Reads a text that the caller keeps alive as long as the reader.
    explicit TaggedValueReader(std::string_view text);
    TaggedValueReader(const TaggedValueReader&) = delete;
    TaggedValueReader& operator=(const TaggedValueReader&) = delete;

    // The text between the tag's opening and closing tags; empty when either is missing. A
    // found value moves the read position to its closing tag; a missing opening tag leaves
    // the position alone, a missing closing tag moves it past the opening tag.
    std::string ExtractTaggedValue(std::string_view tag);

    // The same, as a view into the reader's text that lives as long as the reader.
    std::string_view ExtractTaggedView(std::string_view tag);

private:
    // Where the needle (A-Z lowered) next stands from the read position, ignoring ASCII case.
    std::size_t Find(std::string_view foldedNeedle) const;

    std::string owned_;
    std::string_view text_;
    std::size_t position_ = 0;
};

// Every tag's value from a configuration text, in table order.
ConfigTexts ReadConfigurationTexts(std::string configurationText);

// The optional entries, read in their order from where a reader of the 42 stopped.
OptionalTexts ReadOptionalTexts(TaggedValueReader& reader);

// A record list's value: every record followed by CR LF.
std::string RecordListText(const RecordList& records);

// The records of a value: every line break ends a record and a blank line is an empty
// record; a final line break adds none.
RecordList RecordListFromText(std::string_view text);

} // namespace scribvane
