#include "speech/PhoneNames.h"

namespace vox::speech {

namespace {

// Module 419.0's inventory plus "O1" and "O2", sorted by byte value.
constexpr const char* kNames[] = {
    "#",  "A0", "A1", "A2", "A5",  "B",  "B'", "C",  "CH'", "D",  "D'", "E0", "E1",
    "E2", "E5", "F",  "F'", "G",   "G'", "I0", "I1", "I2",  "I5", "J'", "K",  "K'",
    "L",  "L'", "M",  "M'", "N",   "N'", "O0", "O1", "O2",  "O5", "P",  "P'", "R",
    "R'", "S",  "S'", "SH", "SH'", "T",  "T'", "U0", "U1",  "U2", "U5", "V",  "V'",
    "X",  "X'", "Y0", "Y1", "Y2",  "Y5", "Z",  "Z'", "ZH",  "_"};
static_assert(std::size(kNames) == 62);

}  // namespace

std::span<const char* const> PhoneNames419() {
    return kNames;
}

std::string PhonemeName419(int32_t id) {
    if (id < 1 || id > static_cast<int32_t>(std::size(kNames))) return {};
    return kNames[id - 1];
}

int32_t PhoneId419(std::string_view name) {
    for (size_t i = 0; i < std::size(kNames); ++i)
        if (name == kNames[i]) return static_cast<int32_t>(i + 1);
    return 0;
}

}  // namespace vox::speech
