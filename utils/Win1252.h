// Lossless conversion between single-byte Windows-1252 text and Unicode.
//
// Single-byte text is Windows-1252 on every platform. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so all
// 256 byte values survive a round trip through Unicode.
//
// A character the code page cannot hold travels in single-byte text as a decimal numeric
// character reference "&#N;", which every browser shows as the character. Text meant for a
// person or for the file system (a control, a terminal, a path) shows such references as the
// characters again; references to characters the code page holds, and everything else, stay
// as they are, so showing and storing again gives the same bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

// The Unicode code point of one Windows-1252 byte.
char32_t Win1252ToCodePoint(unsigned char byte);

// The Windows-1252 byte of a code point, or nothing when the code page cannot hold it.
std::optional<unsigned char> CodePointToWin1252(char32_t codePoint);

// Byte for byte: every byte is one character, references included.
std::u16string AnsiToUtf16(std::string_view ansi);
std::string AnsiToUtf8(std::string_view ansi);

// The same, with each well-formed reference ("&#N;" or "&#xH;") to a character the code page
// cannot hold shown as that character. A reference to a character it holds, to a surrogate,
// to 0 or beyond U+10FFFF, or without its ";" stays text. Linear in the size of the text.
std::u16string AnsiToShownUtf16(std::string_view ansi);
std::string AnsiToShownUtf8(std::string_view ansi);

// Characters the code page cannot hold become "&#N;" (whole code points: a surrogate pair is
// one reference). A lone surrogate or invalid UTF-8 becomes U+FFFD's reference "&#65533;".
std::string Utf16ToAnsi(std::u16string_view utf16);
std::string Utf8ToAnsi(std::string_view utf8);

// Appends the UTF-8 form of one code point to `out`.
void AppendUtf8(std::string& out, char32_t codePoint);

// Appends the UTF-8 form of the Windows-1252 text to `out`.
void AppendAnsiAsUtf8(std::string& out, std::string_view ansi);

// Decodes one UTF-8 sequence at the front of text, advancing it. Invalid or truncated
// sequences give U+FFFD and consume one byte, so every input makes progress.
char32_t DecodeUtf8(std::string_view& text);

} // namespace scribvane
