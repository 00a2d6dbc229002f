// The Russian letters of Windows-1251 (lower case) as the letter-to-phoneme
// rules see them: a kind, the sets the rules test on neighbouring letters,
// and the phonemes each letter can give. One constexpr table of all 256 byte
// values; every byte that is not a Russian letter is a word break.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vox::letters {

// Lower-case letters the rules name one by one.
inline constexpr char kLetterGhe = '\xE3';  // г
inline constexpr char kLetterDe = '\xE4';   // д
inline constexpr char kLetterZhe = '\xE6';  // ж
inline constexpr char kLetterZe = '\xE7';   // з
inline constexpr char kLetterI = '\xE8';    // и
inline constexpr char kLetterKa = '\xEA';   // к
inline constexpr char kLetterEn = '\xED';   // н
inline constexpr char kLetterO = '\xEE';    // о
inline constexpr char kLetterEs = '\xF1';   // с
inline constexpr char kLetterTe = '\xF2';   // т
inline constexpr char kLetterTse = '\xF6';  // ц
inline constexpr char kLetterChe = '\xF7';  // ч
inline constexpr char kLetterSha = '\xF8';  // ш
inline constexpr char kHardSign = '\xFA';   // ъ
inline constexpr char kSoftSign = '\xFC';   // ь

enum class LetterKind : std::uint8_t { WordBreak, Vowel, Sonorant, Paired, Sign };

// Sets the rules test on the letters around the one being converted.
enum LetterSet : std::uint8_t {
    kSoftening = 1 << 0,        // ь я ё ю е и: soften the consonant before them
    kSoftVowel = 1 << 1,        // я ё ю е и
    kHardVowel = 1 << 2,        // а о у э ы and ъ
    kVoicedObstruent = 1 << 3,  // б д г з ж: voice the paired consonant before them
    kVoiceless = 1 << 4,  // п т к ф ц ш ч х щ с: devoice the paired consonant before
    kVoicelessAfterSign = 1 << 5,  // the same without с, tested on the letter after ь
};

struct VowelForms {
    std::string_view afterConsonant;  // "я" after a consonant is "A"
    std::string_view atWordStart;     // at a word start or after a vowel or sign: "J',A"
};

struct PhonemePair {
    std::string_view hard;
    std::string_view soft;  // "ж" and "ш" have no soft phoneme: the hard one again
};

struct Letter {
    LetterKind kind = LetterKind::WordBreak;
    std::uint8_t sets = 0;
    VowelForms vowel;       // vowels
    PhonemePair sonorant;   // sonorants and unpaired consonants
    PhonemePair voiced;     // paired consonants: the voiced member of the pair
    PhonemePair voiceless;  // paired consonants: the voiceless member
    bool isVoiced = false;  // paired consonants: the letter is the voiced member

    constexpr bool In(LetterSet set) const { return (sets & set) != 0; }
    constexpr bool IsConsonant() const {
        return kind == LetterKind::Sonorant || kind == LetterKind::Paired;
    }
    constexpr const PhonemePair& Own() const { return isVoiced ? voiced : voiceless; }
};

namespace detail {

struct LetterRow {
    char code;
    Letter letter;
};

constexpr Letter Vowel(std::uint8_t sets, std::string_view afterConsonant,
                       std::string_view atWordStart) {
    return {LetterKind::Vowel, sets, {afterConsonant, atWordStart}, {}, {}, {}, false};
}

constexpr Letter Sonorant(std::uint8_t sets, std::string_view hard, std::string_view soft) {
    return {LetterKind::Sonorant, sets, {}, {hard, soft}, {}, {}, false};
}

constexpr Letter Paired(std::uint8_t sets, PhonemePair voiced, PhonemePair voiceless,
                        bool isVoiced) {
    return {LetterKind::Paired, sets, {}, {}, voiced, voiceless, isVoiced};
}

constexpr Letter Sign(std::uint8_t sets) {
    return {LetterKind::Sign, sets, {}, {}, {}, {}, false};
}

constexpr std::uint8_t kSoftVowels = kSoftening | kSoftVowel;
constexpr std::uint8_t kDevoicing = kVoiceless | kVoicelessAfterSign;

constexpr PhonemePair kBP[] = {{"B", "B'"}, {"P", "P'"}};
constexpr PhonemePair kDT[] = {{"D", "D'"}, {"T", "T'"}};
constexpr PhonemePair kGK[] = {{"G", "G'"}, {"K", "K'"}};
constexpr PhonemePair kVF[] = {{"V", "V'"}, {"F", "F'"}};
constexpr PhonemePair kZS[] = {{"Z", "Z'"}, {"S", "S'"}};
constexpr PhonemePair kZhSh[] = {{"ZH", "ZH"}, {"SH", "SH"}};

constexpr LetterRow kLetterRows[] = {
    {'\xE0', Vowel(kHardVowel, "A", "A")},      // а
    {'\xEE', Vowel(kHardVowel, "O", "O")},      // о
    {'\xF3', Vowel(kHardVowel, "U", "U")},      // у
    {'\xFD', Vowel(kHardVowel, "E", "E")},      // э
    {'\xFB', Vowel(kHardVowel, "Y", "Y")},      // ы
    {'\xE8', Vowel(kSoftVowels, "I", "I")},     // и
    {'\xFF', Vowel(kSoftVowels, "A", "J',A")},  // я
    {'\xB8', Vowel(kSoftVowels, "O", "J',O")},  // ё
    {'\xFE', Vowel(kSoftVowels, "U", "J',U")},  // ю
    {'\xE5', Vowel(kSoftVowels, "E", "J',E")},  // е

    {'\xE9', Sonorant(0, "J'", "J'")},             // й
    {'\xEC', Sonorant(0, "M", "M'")},              // м
    {'\xED', Sonorant(0, "N", "N'")},              // н
    {'\xF0', Sonorant(0, "R", "R'")},              // р
    {'\xEB', Sonorant(0, "L", "L'")},              // л
    {'\xF6', Sonorant(kDevoicing, "C", "C")},      // ц
    {'\xF7', Sonorant(kDevoicing, "CH'", "CH'")},  // ч
    {'\xF5', Sonorant(kDevoicing, "X", "X'")},     // х
    {'\xF9', Sonorant(kDevoicing, "SH'", "SH'")},  // щ

    {'\xE1', Paired(kVoicedObstruent, kBP[0], kBP[1], true)},      // б
    {'\xEF', Paired(kDevoicing, kBP[0], kBP[1], false)},           // п
    {'\xE4', Paired(kVoicedObstruent, kDT[0], kDT[1], true)},      // д
    {'\xF2', Paired(kDevoicing, kDT[0], kDT[1], false)},           // т
    {'\xE3', Paired(kVoicedObstruent, kGK[0], kGK[1], true)},      // г
    {'\xEA', Paired(kDevoicing, kGK[0], kGK[1], false)},           // к
    {'\xE2', Paired(0, kVF[0], kVF[1], true)},                     // в
    {'\xF4', Paired(kDevoicing, kVF[0], kVF[1], false)},           // ф
    {'\xE7', Paired(kVoicedObstruent, kZS[0], kZS[1], true)},      // з
    {'\xF1', Paired(kVoiceless, kZS[0], kZS[1], false)},           // с
    {'\xE6', Paired(kVoicedObstruent, kZhSh[0], kZhSh[1], true)},  // ж
    {'\xF8', Paired(kDevoicing, kZhSh[0], kZhSh[1], false)},       // ш

    {'\xFA', Sign(kHardVowel)},  // ъ
    {'\xFC', Sign(kSoftening)},  // ь
};

constexpr std::array<Letter, 256> BuildLetterTable() {
    std::array<Letter, 256> table{};
    for (const LetterRow& row : kLetterRows)
        table[static_cast<unsigned char>(row.code)] = row.letter;
    return table;
}

}  // namespace detail

inline constexpr std::array<Letter, 256> kLetters = detail::BuildLetterTable();

// `c` must be lower-cased already.
constexpr const Letter& LetterOf(char c) {
    return kLetters[static_cast<unsigned char>(c)];
}

}  // namespace vox::letters
