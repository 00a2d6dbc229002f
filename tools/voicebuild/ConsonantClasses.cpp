#include "tools/voicebuild/ConsonantClasses.h"

namespace vox::voicebuild {

namespace {

struct ConsonantEntry {
    const char* phoneme;
    const char* family;
    Place place;
};

constexpr ConsonantEntry kConsonants[] = {
    {"P", "P", Place::Labial},    {"P'", "P", Place::Labial},    {"B", "P", Place::Labial},
    {"B'", "P", Place::Labial},   {"F", "F", Place::Labial},     {"F'", "F", Place::Labial},
    {"V", "F", Place::Labial},    {"V'", "F", Place::Labial},    {"M", "M", Place::Labial},
    {"M'", "M", Place::Labial},   {"T", "T", Place::Dental},     {"T'", "T", Place::Dental},
    {"D", "T", Place::Dental},    {"D'", "T", Place::Dental},    {"S", "S", Place::Dental},
    {"S'", "S", Place::Dental},   {"Z", "S", Place::Dental},     {"Z'", "S", Place::Dental},
    {"C", "C", Place::Dental},    {"N", "N", Place::Dental},     {"N'", "N", Place::Dental},
    {"L", "L", Place::Dental},    {"L'", "L", Place::Dental},    {"R", "R", Place::Dental},
    {"R'", "R", Place::Dental},   {"SH", "SH", Place::Palatal},  {"SH'", "SH", Place::Palatal},
    {"ZH", "SH", Place::Palatal}, {"ZH'", "SH", Place::Palatal}, {"CH'", "CH", Place::Palatal},
    {"J'", "J", Place::Palatal},  {"K", "K", Place::Velar},      {"K'", "K", Place::Velar},
    {"G", "K", Place::Velar},     {"G'", "K", Place::Velar},     {"X", "X", Place::Velar},
    {"X'", "X", Place::Velar},
};

const ConsonantEntry* Find(const std::string& phoneme) {
    for (const ConsonantEntry& e : kConsonants)
        if (phoneme == e.phoneme) return &e;
    return nullptr;
}

}  // namespace

std::string ConsonantFamily(const std::string& phoneme) {
    const ConsonantEntry* e = Find(phoneme);
    return e ? e->family : "";
}

Place ConsonantPlace(const std::string& phoneme) {
    const ConsonantEntry* e = Find(phoneme);
    return e ? e->place : Place::None;
}

}  // namespace vox::voicebuild
