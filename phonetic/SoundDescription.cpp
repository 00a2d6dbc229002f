#include "phonetic/SoundDescription.h"

#include <array>
#include <span>

namespace vox {

namespace {

// The word printed for each bit; nullptr for bits that have no text.
constexpr std::array<const char*, 64> kBitText = {
    "None",
    nullptr,
    "Vowel",
    "Stressed",
    "Unstressed",
    "FullStressed",
    "PartialStressed",
    "Pretonic",
    "Posttonic",
    "Consonant",
    "Voiced",
    "Voiceless",
    "Occlusive",
    "Fricative",
    "Plosive",
    "Sonant",
    "Affricate",
    "Hard",
    "Soft",
    "Vibrant",
    // 20
    "Open",
    "Closed",
    "FirstSyl",
    "MidSyl",
    "LastSyl",
    nullptr,
    nullptr,
    nullptr,
    "StressedSyl",
    "UnstressedSyl",
    "PretonicSyl",
    "PosttonicSyl",
    "Adjoining",
    "NonAdjoining",
    // 34
    "FirstAU",
    "MidAU",
    "LastAU",
    nullptr,
    nullptr,
    nullptr,
    "HasPretonicSyl",
    "NoPretonicSyl",
    "HasPosttonicSyl",
    "NoPosttonicSyl",
    "Homoorganic",
    "NonHomoorganic",
    // 46
    nullptr,
    nullptr,
    nullptr,
    "SamePhoneme1",
    "SamePhoneme2",
    "Diphthong",
    "Neutral",
    "Type 1",
    "Type 2",
    "Type 3",
    "Space",
    "Terminator",
    "Short",
    "Long",
    "Intonable",
    nullptr,
    nullptr,
    nullptr,
};

struct BitRange {
    int first, last;
};

// The three lines of the text form and the bits each writes, in order.
constexpr std::array<BitRange, 4> kAttributeLine = {{{0, 0}, {2, 19}, {44, 45}, {49, 60}}};
constexpr std::array<BitRange, 2> kSyllableLine = {{{20, 24}, {28, 33}}};
constexpr std::array<BitRange, 2> kWordLine = {{{34, 36}, {40, 43}}};

void AppendLine(uint64_t sd, std::span<const BitRange> ranges, std::string& out) {
    bool any = false;
    for (const BitRange& r : ranges) {
        for (int bit = r.first; bit <= r.last; ++bit) {
            if (kBitText[bit] == nullptr || !HasBit(sd, static_cast<sd::Bit>(bit))) continue;
            if (any) out += ", ";
            out += kBitText[bit];
            any = true;
        }
    }
    if (any) out += "\r\n";
}

}  // namespace

std::string SdToString(uint64_t sd) {
    if (sd == 0) return "Error";
    std::string out;
    AppendLine(sd, kAttributeLine, out);
    AppendLine(sd, kSyllableLine, out);
    AppendLine(sd, kWordLine, out);
    return out;
}

}  // namespace vox
