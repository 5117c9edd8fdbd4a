// The window's text boundary over any bytes: showing stored text never fails, and storing what
// was shown gives the stored bytes again, except that a reference comes back in its decimal
// form and text that is not Windows-1252-and-references (a literal U+FFFD in a reference) may
// be spelled differently. Showing that second form is then a fixed point.
#include "utils/Win1252.h"

#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string shown = scribvane::AnsiToShownUtf8(bytes);
    const std::string stored = scribvane::Utf8ToAnsi(shown);
    if (scribvane::AnsiToShownUtf8(stored) != shown ||
        scribvane::Utf8ToAnsi(scribvane::AnsiToShownUtf8(stored)) != stored) {
        std::abort();
    }
    const std::u16string shown16 = scribvane::AnsiToShownUtf16(bytes);
    if (scribvane::Utf16ToAnsi(shown16) != stored) {
        std::abort();
    }
    // Typed text of any UTF-8 bytes stores and shows without failing.
    (void)scribvane::AnsiToShownUtf8(scribvane::Utf8ToAnsi(bytes));
    return 0;
}
