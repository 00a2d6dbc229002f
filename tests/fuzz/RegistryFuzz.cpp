// The .reg parser on arbitrary bytes: never crashes, and whatever it accepts
// it writes back in a form that parses to the same hive.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/RegHive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (bool merge : {false, true}) {
        vox::reg::Hive hive;
        if (vox::reg::ParseRegText(text, "HKEY_LOCAL_MACHINE", hive, merge)) continue;
        vox::reg::Hive again;
        if (vox::reg::ParseRegText(vox::reg::FormatRegText(hive, "HKEY_LOCAL_MACHINE"),
                                   "HKEY_LOCAL_MACHINE", again) ||
            !(again == hive))
            std::abort();
    }
    return 0;
}
