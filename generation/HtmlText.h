// Small text rules of the html5 dialect: how a value goes into a quoted attribute, into an
// address, or into a description that must hold no markup.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

// For a double-quoted attribute: "&", "\"" and "<" written as references. A numeric character
// reference ("&#321;", "&#x141;"), the form a character beyond Windows-1252 is stored in, is
// kept so it still stands for its character.
std::string EscapeAttribute(std::string_view text);

// For the text of an element: "&", "<" and ">" written as references, a numeric character
// reference kept as for an attribute, so the reader sees what was typed.
std::string EscapeText(std::string_view text);

// A value put into an address: every byte other than A-Z a-z 0-9 - . _ ~ percent-encoded, a
// Windows-1252 character as its UTF-8 bytes and a numeric character reference as the UTF-8
// bytes of its character. A blank becomes "%20".
std::string PercentEncode(std::string_view text);

// An address typed by the user, for an href or src: blanks, control bytes and the characters
// an address may not hold (" < > \ ^ ` { | }) percent-encoded, everything else as typed (then
// escaped for the attribute by the caller).
std::string EncodeBlanks(std::string_view address);

// The text of a value that may hold markup: tags dropped, runs of white space made one blank,
// blanks at both ends removed.
std::string TextWithoutTags(std::string_view text);

// One tag of a fragment: its whole text, lower-case name and attribute text.
struct MarkupTag {
    std::string_view whole;
    std::string name;
    bool closing = false;
    std::string_view attributes;
};

// The tag starting at `at` (a '<'), or nothing when no tag starts there.
std::optional<MarkupTag> TagAt(std::string_view text, std::size_t at);

// The value of an attribute in a tag's attribute text: quoted with either quote, or bare; an
// empty value for an attribute without one.
std::optional<std::string_view> AttributeOf(std::string_view attributes, std::string_view name);

} // namespace scribvane
