// HtmlToColor over any text: a value or the conversion error, and a value reads back through
// ColorToHtml unchanged.
#include "utils/Errors.h"
#include "utils/TextHelpers.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto color = scribvane::HtmlToColor(text);
        if (color > 0xFFFFFFu || scribvane::HtmlToColor(scribvane::ColorToHtml(color)) != color) {
            std::abort();
        }
    } catch (const scribvane::ConversionError& error) {
        // what() is a C string: a NUL inside the text (never in a loaded file) cuts it short.
        const bool holdsNul = text.find('\0') != std::string_view::npos;
        if (!holdsNul &&
            !std::string_view(error.what()).ends_with("' is not a valid integer value")) {
            std::abort();
        }
    }
    return 0;
}
