// Shared text routines; see TextHelpers.h.
#include "utils/TextHelpers.h"

#include "utils/Errors.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace scribvane {
namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    return static_cast<unsigned>(c - 'A' + 10);
}

// Calls onLine(line) for every line of text; returns nothing. Shared by the two line readers
// so both agree on what a line break is. The next CR and the next LF are each found with a
// one-byte search (memchr) and kept until the walk passes them, so the text is scanned once
// whatever its mix of line ends.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine onLine) {
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    const auto next = [&](char c, std::size_t from) {
        return std::min(text.find(c, from), text.size());
    };
    std::size_t nextCr = next('\r', 0);
    std::size_t nextLf = next('\n', 0);
    std::size_t start = 0;
    while (start < text.size()) {
        if (nextCr < start) {
            nextCr = next('\r', start);
        }
        if (nextLf < start) {
            nextLf = next('\n', start);
        }
        const std::size_t end = std::min(nextCr, nextLf);
        if (end == text.size()) {
            onLine(text.substr(start));
            return;
        }
        onLine(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

} // namespace

std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view value) {
    if (pattern.empty()) {
        return std::string(text);
    }
    std::size_t hit = text.find(pattern);
    if (hit == std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + (value.size() > pattern.size() ? value.size() - pattern.size() : 0));
    std::size_t start = 0;
    while (hit != std::string_view::npos) {
        out.append(text, start, hit - start);
        out.append(value);
        start = hit + pattern.size();
        hit = text.find(pattern, start);
    }
    out.append(text, start, std::string_view::npos);
    return out;
}

void ReplaceAllIn(std::string& text, std::string_view pattern, std::string_view value) {
    if (!pattern.empty() && text.find(pattern) != std::string::npos) {
        text = ReplaceAll(text, pattern, value);
    }
}

void SplitByChar(char delimiter, std::string_view text, std::vector<std::string>& pieces) {
    pieces.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == delimiter) {
            pieces.emplace_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < text.size()) {
        pieces.emplace_back(text.substr(start));
    }
}

std::string EncodeLineBreaks(std::string_view text) {
    if (text.ends_with("\r\n")) {
        text.remove_suffix(2);
    }
    return ReplaceAll(text, "\r\n", "$$");
}

ColorValue HtmlToColor(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c != '#') {
            digits += c;
            if (digits.size() == 6) {
                break;
            }
        }
    }
    const auto part = [&](std::size_t from) {
        return from < digits.size() ? digits.substr(from, 2) : std::string();
    };
    const std::string joined = "$00" + part(4) + part(2) + part(0);
    ColorValue value = 0;
    for (std::size_t i = 1; i < joined.size(); ++i) {
        if (!IsHexDigit(joined[i])) {
            throw ConversionError("'" + joined + "' is not a valid integer value");
        }
        value = (value << 4) | HexDigitValue(joined[i]);
    }
    return value;
}

std::string ColorToHtml(ColorValue color) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "#%02X%02X%02X", color & 0xFFu,
                  (color >> 8) & 0xFFu, (color >> 16) & 0xFFu);
    return std::string(buffer.data(), 7);
}

std::string StripEditorDocument(std::string_view markup) {
    static constexpr std::array<std::string_view, 11> kRemoved = {
        "<html>",
        "<head>",
        "<title></title>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\" />",
        "</head>",
        "<body>",
        "</body>",
        "</html>",
        "\n",
        "  ",
        "\r",
    };
    std::string result(markup);
    for (const auto removed : kRemoved) {
        ReplaceAllIn(result, removed, "");
    }
    return result;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = LowerAscii(c);
    }
    return lower;
}

bool EqualsIgnoringAsciiCase(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (LowerAscii(left[i]) != LowerAscii(right[i])) {
            return false;
        }
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string JoinPieces(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (const auto piece : pieces) {
        size += piece.size();
    }
    std::string joined;
    joined.reserve(size);
    for (const auto piece : pieces) {
        joined.append(piece);
    }
    return joined;
}

bool HasNormalLines(std::string_view text) {
    if (text.empty()) {
        return true;
    }
    if (!text.ends_with("\r\n") || std::memchr(text.data(), '\0', text.size()) != nullptr) {
        return false;
    }
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', at + 1)) {
        if (at == 0 || text[at - 1] != '\r') {
            return false;
        }
    }
    for (std::size_t at = text.find('\r'); at != std::string_view::npos;
         at = text.find('\r', at + 1)) {
        if (at + 1 == text.size() || text[at + 1] != '\n') {
            return false;
        }
    }
    return true;
}

std::string NormalizeLines(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    ForEachLine(bytes, [&](std::string_view line) {
        out.append(line);
        out.append("\r\n");
    });
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

} // namespace scribvane
