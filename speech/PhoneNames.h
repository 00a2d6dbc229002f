// The phone ids of Russian (Language 419): the phoneme codes of the
// phonetic modules 419.1 and 419.3 (their inventory sorted by byte value,
// counted from 1; docs/formats/phone-ids-419.md lists them). Phoneme events
// carry these codes; the phone converter maps them to and from names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vox::speech {

// The names in id order: element 0 has id 1.
std::span<const char* const> PhoneNames419();

// "" for 0 and unknown ids.
std::string PhonemeName419(int32_t id);
// 0 for unknown names. Names are matched exactly ("A0", "SH'").
int32_t PhoneId419(std::string_view name);

}  // namespace vox::speech
