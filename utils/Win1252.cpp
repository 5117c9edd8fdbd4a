// Windows-1252 table and the UTF-8 / UTF-16 conversions built on it.
#include "utils/Win1252.h"

#include "utils/TextCoding.h"

#include <array>
#include <utility>

namespace scribvane {
namespace {

// 0x80..0x9F; every other byte is its own code point.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

void AppendAnsi(std::string& out, char32_t cp) {
    if (const auto byte = CodePointToWin1252(cp)) {
        out += static_cast<char>(*byte);
        return;
    }
    char digits[8];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + cp % 10);
        cp /= 10;
    } while (cp != 0);
    out += "&#";
    while (count > 0) {
        out += digits[--count];
    }
    out += ';';
}

// The digit's value in a decimal or hexadecimal reference; -1 when it is not one.
int DigitValue(char c, bool hex) {
    const int value = HexDigitValue(c);
    return value < (hex ? 16 : 10) ? value : -1;
}

// The character of a reference at the front of `text` ("&#" already seen at its start) that
// the code page cannot hold, and the reference's length; nothing for any other text. Stops at
// the first digit that would pass U+10FFFF, so a run of millions of digits costs one look.
std::optional<std::pair<char32_t, std::size_t>> ShownReference(std::string_view text) {
    std::size_t at = 2;
    const bool hex = at < text.size() && (text[at] == 'x' || text[at] == 'X');
    if (hex) {
        ++at;
    }
    const std::size_t first = at;
    char32_t cp = 0;
    for (; at < text.size(); ++at) {
        const int digit = DigitValue(text[at], hex);
        if (digit < 0) {
            break;
        }
        cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        if (cp > 0x10FFFF) {
            return std::nullopt;
        }
    }
    if (at == first || at >= text.size() || text[at] != ';' || cp == 0 ||
        (cp >= 0xD800 && cp <= 0xDFFF) || CodePointToWin1252(cp)) {
        return std::nullopt;
    }
    return std::pair{cp, at + 1};
}

// Calls `put` with every character of the text, references to characters the code page
// cannot hold as those characters.
template <typename Put>
void ForEachShownCharacter(std::string_view ansi, Put put) {
    std::size_t i = 0;
    while (i < ansi.size()) {
        const std::size_t amp = ansi.find("&#", i);
        const std::size_t plainEnd = amp == std::string_view::npos ? ansi.size() : amp;
        for (; i < plainEnd; ++i) {
            put(Win1252ToCodePoint(static_cast<unsigned char>(ansi[i])));
        }
        if (i == ansi.size()) {
            break;
        }
        if (const auto reference = ShownReference(ansi.substr(i))) {
            put(reference->first);
            i += reference->second;
        } else {
            put(U'&');
            ++i;
        }
    }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

} // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t Win1252ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

std::optional<unsigned char> CodePointToWin1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<unsigned char>(cp);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::u16string AnsiToUtf16(std::string_view ansi) {
    std::u16string out;
    out.reserve(ansi.size());
    for (const char c : ansi) {
        out += static_cast<char16_t>(Win1252ToCodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 8);
    AppendAnsiAsUtf8(out, ansi);
    return out;
}

void AppendAnsiAsUtf8(std::string& out, std::string_view ansi) {
    for (const char c : ansi) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            AppendUtf8(out, Win1252ToCodePoint(byte));
        }
    }
}

std::u16string AnsiToShownUtf16(std::string_view ansi) {
    std::u16string out;
    out.reserve(ansi.size());
    ForEachShownCharacter(ansi, [&out](char32_t cp) { AppendUtf16(out, cp); });
    return out;
}

std::string AnsiToShownUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 8);
    ForEachShownCharacter(ansi, [&out](char32_t cp) { AppendUtf8(out, cp); });
    return out;
}

std::string Utf16ToAnsi(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement; // half a pair is no character
        }
        AppendAnsi(out, cp);
    }
    return out;
}

char32_t DecodeUtf8(std::string_view& text) {
    const auto lead = static_cast<unsigned char>(text.front());
    std::size_t length = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        text.remove_prefix(1);
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
    } else {
        text.remove_prefix(1);
        return kReplacement;
    }
    if (text.size() < length) {
        text.remove_prefix(1);
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            text.remove_prefix(1);
            return kReplacement;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    text.remove_prefix(length);
    if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kReplacement;
    }
    return cp;
}

std::string Utf8ToAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        AppendAnsi(out, DecodeUtf8(utf8));
    }
    return out;
}

} // namespace scribvane
