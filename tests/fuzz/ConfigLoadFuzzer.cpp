// The whole configuration load: file bytes -> configuration text -> the 42 typed values.
// Conversion errors are expected answers; crashes, hangs and sanitizer reports are faults.
#include "persistence/LetterConfiguration.h"
#include "utils/Errors.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = scribvane::ConfigurationTextFromBytes(bytes);
    // The configuration text holds no NUL and ends every line with CR LF.
    if (text.find('\0') != std::string::npos || (!text.empty() && !text.ends_with("\r\n"))) {
        std::abort();
    }
    std::optional<scribvane::LetterConfiguration> config;
    std::string error;
    try {
        config = scribvane::LetterConfiguration::FromTexts(scribvane::ReadConfigurationTexts(text));
        // Whatever loaded must write and load again to the same values.
        const std::string written = scribvane::WriteConfiguration(config->ToTexts());
        const auto again = scribvane::LetterConfiguration::FromTexts(
            scribvane::ReadConfigurationTexts(scribvane::ConfigurationTextFromBytes(written)));
        if (!(again == *config)) {
            std::abort();
        }
    } catch (const scribvane::ConversionError& e) {
        error = e.what();
    }
    // The program reads the bytes where they stand when their lines are normal already: the
    // same values, or the same first error, as the text they make.
    try {
        const auto read = scribvane::ConfigurationFromBytes(bytes);
        if (!config || !(read == *config)) {
            std::abort();
        }
    } catch (const scribvane::ConversionError& e) {
        if (config || error != e.what()) {
            std::abort();
        }
    }
    return 0;
}
