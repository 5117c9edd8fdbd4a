// Lossless conversion between single-byte Windows-1252 text and Unicode.
//
// Single-byte text is Windows-1252 on every platform. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so all
// 256 byte values survive a round trip through Unicode.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scribvane {

// The Unicode code point of one Windows-1252 byte.
char32_t Win1252ToCodePoint(unsigned char byte);

// The Windows-1252 byte of a code point, or nothing when the code page cannot hold it.
std::optional<unsigned char> CodePointToWin1252(char32_t codePoint);

std::u16string AnsiToUtf16(std::string_view ansi);
std::string AnsiToUtf8(std::string_view ansi);

// Characters the code page cannot hold become '?'; invalid UTF-8 or lone surrogates too.
std::string Utf16ToAnsi(std::u16string_view utf16);
std::string Utf8ToAnsi(std::string_view utf8);

// Decodes one UTF-8 sequence at the front of text, advancing it. Invalid or truncated
// sequences give U+FFFD and consume one byte, so every input makes progress.
char32_t DecodeUtf8(std::string_view& text);

} // namespace scribvane
