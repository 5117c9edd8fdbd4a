// The catalogue name rule and order over any file names: the listed name never starts with a
// lower-case a-z letter and is never longer than the file name, and the order is total.
#include "generation/TemplateCatalogue.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string a = provider.ConsumeRandomLengthString(64);
    const std::string b = provider.ConsumeRemainingBytesAsString();

    const std::string name = scribvane::TemplateNameOf(a);
    if (name.size() > a.size() || (!name.empty() && name[0] >= 'a' && name[0] <= 'z')) {
        std::abort();
    }

    const bool ab = scribvane::CatalogueLess(a, b);
    const bool ba = scribvane::CatalogueLess(b, a);
    if (scribvane::CatalogueLess(a, a) || (ab && ba) || (a != b && !ab && !ba)) {
        std::abort();
    }
    return 0;
}
