// Version reading and comparison for the update check; see UpdateVersion.h.
#include "update/UpdateVersion.h"

#include "utils/IniFile.h"

#include <charconv>
#include <system_error>

namespace scribvane {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number part of text when the whole text has the accepted shape, without a leading '+'
// (std::from_chars takes none); empty when the text does not read.
std::string_view NumberPart(std::string_view text) {
    std::size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < text.size() && IsBlank(text[pos])) {
            ++pos;
        }
    };
    const auto skipDigits = [&] {
        const std::size_t start = pos;
        while (pos < text.size() && IsDigit(text[pos])) {
            ++pos;
        }
        return pos - start;
    };

    skipBlanks();
    std::size_t start = pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        start = text[pos] == '+' ? pos + 1 : pos;
        ++pos;
    }
    std::size_t digits = skipDigits();
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        digits += skipDigits();
    }
    if (digits == 0) {
        return {};
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            ++pos;
        }
        if (skipDigits() == 0) {
            return {};
        }
    }
    const std::size_t end = pos;
    skipBlanks();
    if (pos != text.size()) {
        return {};
    }
    return text.substr(start, end - start);
}

} // namespace

std::string ReadUpdateVersionText(const std::filesystem::path& description) {
    return IniFile::Load(description).Read("APPLICATION", "Version");
}

float ReadRemoteVersionNumber(std::string_view text) {
    const std::string_view number = NumberPart(text);
    if (number.empty()) {
        return 0.0f;
    }
    const char* first = number.data();
    const char* last = number.data() + number.size();
    // from_chars never looks at the locale, and reading straight into a float rounds once.
    float value = 0.0f;
    auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond single precision: read it wider and let the conversion go to infinity or
        // zero, so an absurdly large version still counts as newer instead of as 0.
        long double wide = 0.0L;
        result = std::from_chars(first, last, wide, std::chars_format::general);
        value = result.ec == std::errc() ? static_cast<float>(wide) : 0.0f;
    }
    return result.ec == std::errc() && result.ptr == last ? value : 0.0f;
}

bool IsNewerVersion(float localVersion, float remoteVersion) {
    return remoteVersion > localVersion;
}

} // namespace scribvane
