// The INI reader over any bytes: values never exceed the length cap.
#include "branding/IniFile.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const scribvane::IniFile ini(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const char* key : {"AppName", "BannerPath1", "Link1URL", "IconPath", "Version"}) {
        for (const char* section : {"Settings", "APPLICATION"}) {
            if (ini.Read(section, key).size() > scribvane::IniFile::kMaxValueLength) {
                std::abort();
            }
        }
    }
    return 0;
}
