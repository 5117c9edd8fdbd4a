// Small text rules of the html5 dialect: how a value goes into a quoted attribute, into an
// address, or into a description that must hold no markup.
#pragma once

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

} // namespace scribvane
