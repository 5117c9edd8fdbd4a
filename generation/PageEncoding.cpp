// The letter's encoding; see PageEncoding.h.
#include "generation/PageEncoding.h"

#include "utils/Win1252.h"

#include <algorithm>
#include <cstddef>

namespace scribvane {
namespace {

constexpr std::size_t kDeclarationWindow = 1024;

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where `word` (lower case) starts in `text` from `from` on, ignoring ASCII letter case.
std::size_t FindFolded(std::string_view text, std::string_view word, std::size_t from = 0) {
    const auto at =
        std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), word.begin(),
                    word.end(), [](char a, char b) { return Lower(a) == b; });
    return at == text.end() ? std::string_view::npos : static_cast<std::size_t>(at - text.begin());
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The value after a "charset" word of a meta tag: blanks, "=", blanks, an optional quote,
// then the name up to a quote, blank, ";", "/" or ">".
std::string_view CharsetValue(std::string_view tag, std::size_t afterWord) {
    std::size_t at = afterWord;
    while (at < tag.size() && IsBlank(tag[at])) {
        ++at;
    }
    if (at >= tag.size() || tag[at] != '=') {
        return {};
    }
    ++at;
    while (at < tag.size() && IsBlank(tag[at])) {
        ++at;
    }
    if (at < tag.size() && (tag[at] == '"' || tag[at] == '\'')) {
        ++at;
    }
    const std::size_t start = at;
    while (at < tag.size() && !IsBlank(tag[at]) && tag[at] != '"' && tag[at] != '\'' &&
           tag[at] != ';' && tag[at] != '>' && tag[at] != '/') {
        ++at;
    }
    return tag.substr(start, at - start);
}

bool NamesUtf8(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), Lower);
    return folded == "utf-8" || folded == "utf8";
}

bool IsValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::string_view before = text;
        const char32_t cp = DecodeUtf8(text);
        // A real U+FFFD is three bytes; the decoder's stand-in for a bad sequence takes one.
        if (cp == 0xFFFD && before.size() - text.size() != 3) {
            return false;
        }
    }
    return true;
}

} // namespace

PageEncoding PageEncodingOf(std::string_view templateText) {
    const std::string_view head = templateText.substr(0, kDeclarationWindow);
    for (std::size_t meta = FindFolded(head, "<meta"); meta != std::string_view::npos;
         meta = FindFolded(head, "<meta", meta + 5)) {
        const std::size_t close = head.find('>', meta);
        const std::string_view tag = head.substr(
            meta, close == std::string_view::npos ? std::string_view::npos : close - meta);
        for (std::size_t word = FindFolded(tag, "charset"); word != std::string_view::npos;
             word = FindFolded(tag, "charset", word + 7)) {
            if (NamesUtf8(CharsetValue(tag, word + 7))) {
                return PageEncoding::Utf8;
            }
        }
    }
    return PageEncoding::Windows1252;
}

std::string TemplateTextAsAnsi(std::string text) {
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii || PageEncodingOf(text) != PageEncoding::Utf8 || !IsValidUtf8(text)) {
        return text;
    }
    return Utf8ToAnsi(text);
}

void Utf8Sink::Put(std::string_view text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        next_.Put(text);
        return;
    }
    converted_.clear();
    AppendAnsiAsUtf8(converted_, text);
    next_.Put(converted_);
}

} // namespace scribvane
