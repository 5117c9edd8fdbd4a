// The document serializer over any markup: the fixed form always, and Save, Load, Save gives
// the same text (what was stored, set again and serialized, is what was stored).
#include "editing/DocumentSerializer.h"
#include "utils/TextHelpers.h"
#include "utils/Win1252.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view markup(reinterpret_cast<const char*>(data), size);
    const std::string document = scribvane::SerializeDocument(markup);
    if (!document.starts_with("<html>\r\n") || !document.ends_with("</html>") ||
        document.find("<title></title>") == std::string::npos) {
        std::abort();
    }
    const std::string fragment = scribvane::StripEditorDocument(document);
    const std::string again = scribvane::SerializeDocument(
        scribvane::AnsiToUtf8(scribvane::FragmentToDocument(fragment)));
    if (again != document) {
        std::abort();
    }
    const std::string body = scribvane::SerializeBody(markup);
    if (!body.starts_with("<body>") || !body.ends_with("</body>")) {
        std::abort();
    }
    return 0;
}
