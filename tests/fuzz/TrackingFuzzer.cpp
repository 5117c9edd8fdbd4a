// Counting visitors over any typed ids, head code, PayPal code and headlines.
//
// Nothing may crash. With no head code of the user's, the head's block holds no tag but its own
// scripts and style, whatever the ids hold: a typed id never becomes markup. The PayPal code
// keeps every byte, only gaining the hidden field, and a query parameter is always added.
#include "generation/VisitorTracking.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

using namespace scribvane;

bool OnlyOwnTags(std::string text) {
    for (const std::string_view tag :
         {"<script>", "<script ", "</script>", "<style>", "</style>"}) {
        for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag)) {
            text.erase(at, tag.size());
        }
    }
    return text.find('<') == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    LetterValues values;
    for (std::string* field :
         {&values.plausible, &values.goatCounter, &values.matomoAddress, &values.matomoSite,
          &values.googleAnalytics, &values.metaPixel, &values.language, &values.paypalCode}) {
        *field = provider.ConsumeRandomLengthString(64);
    }
    values.mainHeadline = PassageFromFragment(provider.ConsumeRandomLengthString(64));
    values.headlineVariants[1] = PassageFromFragment(provider.ConsumeRandomLengthString(64));
    const std::string head = Html5Tracking(values);
    if (!OnlyOwnTags(head)) {
        std::abort();
    }
    (void)Html5Consent(values);
    (void)Html5HeadlineTest(values, "<h1>x</h1>");
    (void)TrackingDataUses(values);
    (void)IsCounterAddress(values.matomoAddress);

    const std::string paypal = WithPaypalCustomField(values.paypalCode, "b");
    std::string without = paypal;
    const std::string field = "<input type=\"hidden\" name=\"custom\" value=\"b\" data-headline>";
    for (std::size_t at = without.find(field); at != std::string::npos; at = without.find(field)) {
        without.erase(at, field.size());
    }
    if (values.paypalCode.find(field) == std::string::npos && without != values.paypalCode) {
        std::abort();
    }
    if (WithQueryParameter(values.matomoAddress, "headline", "b").find("headline=b") ==
        std::string::npos) {
        std::abort();
    }
    values.headCode = provider.ConsumeRemainingBytesAsString();
    (void)HeadCodeProblem(values.headCode);
    return 0;
}
