// Integer and boolean readers; see ValueReaders.h.
#include "utils/ValueReaders.h"

#include "utils/Errors.h"
#include "utils/TextCoding.h"
#include "utils/TextHelpers.h"

namespace scribvane {
namespace {

int DigitValue(char c, int base) {
    const int value = HexDigitValue(c);
    return value < base ? value : -1;
}

} // namespace

std::optional<std::int32_t> TryReadInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    // Decimal may reach 2^31 when negative; hexadecimal forms stop at 7FFFFFFF either way.
    const std::int64_t limit = (base == 10 && negative) ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t ReadInteger(std::string_view text) {
    if (const auto value = TryReadInteger(text)) {
        return *value;
    }
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

bool ReadBoolean(std::string_view text) {
    if (const auto value = TryReadInteger(text)) {
        return *value != 0;
    }
    if (EqualsIgnoringAsciiCase(text, "true")) {
        return true;
    }
    if (EqualsIgnoringAsciiCase(text, "false")) {
        return false;
    }
    throw ConversionError("'" + std::string(text) + "' is not a valid boolean value");
}

std::string IntegerText(std::int32_t value) {
    return std::to_string(value);
}

std::string BooleanText(bool value) {
    return value ? "-1" : "0";
}

} // namespace scribvane
