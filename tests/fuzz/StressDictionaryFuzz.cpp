// The compiled stress dictionary on arbitrary bytes: opening refuses or
// accepts, and an accepted file answers every lookup and guess with a
// position inside the word (ASan catches any read outside the bytes).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "lexicon/stress/StressDictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lexicon::StressDictionary d;
    std::string error;
    if (!d.Attach(std::vector<uint8_t>(data, data + size), &error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    (void)d.Notice();
    // Words near the file's own keys and plain Russian ones.
    const std::string words[] = {
        "\xEC\xEE\xEB\xEE\xEA\xEE", "\xEA\xEE\xF0\xEE\xE2\xE0\xEC", "\xE0",
        "\xE0\xE0\xE0\xE0\xE0\xE0\xE0\xE0\xE0\xE0\xE0\xE0\xE0",
        std::string(reinterpret_cast<const char*>(data), size < 40 ? size : 40)};
    for (const std::string& w : words) {
        std::string spelled;
        size_t stress = 0;
        if (d.Find(w, spelled, stress) && (stress >= spelled.size() || spelled.size() != w.size()))
            std::abort();
        const size_t at = d.Predict(w);
        if (at != std::string::npos && at >= w.size()) std::abort();
    }
    return 0;
}
