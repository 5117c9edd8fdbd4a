// Record building and reading over any text: SplitByChar's piece count, EncodeLineBreaks
// leaving no CR LF, and the details of any record.
#include "lists/Records.h"
#include "utils/TextHelpers.h"

#include <algorithm>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string a = provider.ConsumeRandomLengthString(256);
    const std::string b = provider.ConsumeRandomLengthString(256);
    const std::string c = provider.ConsumeRemainingBytesAsString();

    std::vector<std::string> pieces = {"stale"};
    scribvane::SplitByChar('^', c, pieces);
    const auto delimiters = static_cast<std::size_t>(std::count(c.begin(), c.end(), '^'));
    const bool lastPieceNotEmpty = !c.empty() && c.back() != '^';
    if (pieces.size() != delimiters + (lastPieceNotEmpty ? 1 : 0)) {
        std::abort();
    }

    const std::string encoded = scribvane::EncodeLineBreaks(c);
    if (encoded.find("\r\n") != std::string::npos) {
        std::abort();
    }

    // A record made of fields without "^" gives its fields back by position.
    if (a.find('^') == std::string::npos && b.find('^') == std::string::npos) {
        const std::string record = scribvane::MakeFeatureRecord(a, b);
        if (scribvane::RecordField(record, 1) != a ||
            scribvane::RecordField(record, 2) != scribvane::EncodeLineBreaks(b)) {
            std::abort();
        }
    }
    (void)scribvane::RecordDetails(scribvane::RecordKind::Testimonial, c);
    (void)scribvane::RecordDetails(scribvane::RecordKind::Feature, c);
    return 0;
}
