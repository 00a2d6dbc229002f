#include "tools/voicebuild/StressPlacement.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace vox::voicebuild {

namespace {

// Lower-case Russian vowel letters in Windows-1251: а о у э ы и я ё ю е.
constexpr unsigned char kVowels[] = {0xE0, 0xEE, 0xF3, 0xFD, 0xFB, 0xE8, 0xFF, 0xB8, 0xFE, 0xE5};
constexpr char kYo = char(0xB8);
constexpr char kYe = char(0xE5);

// Lower-case Cyrillic letters of Windows-1251 (а…я and ё).
bool IsCyrillic(char c) {
    auto u = static_cast<unsigned char>(c);
    return u >= 0xE0 || u == 0xB8;
}

// Inserts "+" after the n-th vowel letter (1-based); false when there is none.
bool MarkVowel(std::string& word, int n, bool yo) {
    int seen = 0;
    for (size_t i = 0; i < word.size(); ++i) {
        if (!IsVowel1251(word[i]) || ++seen != n) continue;
        if (yo && word[i] == kYe) word[i] = kYo;
        word.insert(i + 1, "+");
        return true;
    }
    return false;
}

// Applies the prompt's own marks; returns false when the word has none.
bool TakePromptMark(std::string& word, PromptMarks marks, std::vector<std::string>& problems) {
    size_t count = size_t(std::count(word.begin(), word.end(), '+'));
    if (count == 0) return false;
    std::string letters;
    int stressed = 0, vowels = 0;
    bool pending = false, misplaced = false;
    for (char c : word) {
        if (c == '+') {
            if (marks == PromptMarks::AfterVowel) {
                if (stressed == 0 && !letters.empty() && IsVowel1251(letters.back()))
                    stressed = vowels;
                else
                    misplaced = true;
            } else if (stressed == 0 && !pending) {
                pending = true;
            } else {
                misplaced = true;
            }
            continue;
        }
        letters += c;
        if (!IsVowel1251(c)) {
            if (pending) misplaced = true;
            pending = false;
            continue;
        }
        ++vowels;
        if (pending) stressed = vowels;
        pending = false;
    }
    if (pending || misplaced || count > 1)
        problems.push_back("misplaced stress mark in \"" + Cp1251ToUtf8(word) + "\"");
    word = letters;
    return stressed > 0 && MarkVowel(word, stressed, false);
}

StressSource Stress(std::string& word, const StressDictionary* dictionary, PromptMarks marks,
                    std::vector<std::string>& problems) {
    if (TakePromptMark(word, marks, problems)) return StressSource::Prompt;
    const StressReading* reading = dictionary ? dictionary->Find(word) : nullptr;
    if (reading == nullptr && dictionary && word.find(kYo) != std::string::npos) {
        std::string plain = word;
        std::replace(plain.begin(), plain.end(), kYo, kYe);
        reading = dictionary->Find(plain);
    }
    if (reading != nullptr && reading->vowel > 0 && MarkVowel(word, reading->vowel, reading->yo))
        return StressSource::Dictionary;
    if (size_t yo = word.find(kYo); yo != std::string::npos) {
        word.insert(yo + 1, "+");
        return StressSource::Yo;
    }
    return StressSource::None;
}

}  // namespace

bool IsVowel1251(char c) {
    return std::find(std::begin(kVowels), std::end(kVowels), static_cast<unsigned char>(c)) !=
           std::end(kVowels);
}

StressPlacementResult PlaceStress(std::string_view prompt, const StressDictionary* dictionary,
                                  PromptMarks marks) {
    StressPlacementResult result;
    const std::string text = ToLower1251(Utf8ToCp1251(prompt));
    bool punctuation = false;
    size_t pos = 0;
    while (pos < text.size()) {
        if (!IsCyrillic(text[pos]) && text[pos] != '+') {
            // A hyphen inside a word ("серо-карие") only separates words; a
            // dash between blanks marks a phrase break like a comma.
            bool inWord = text[pos] == '-' && pos > 0 && pos + 1 < text.size() &&
                          IsCyrillic(text[pos - 1]) && IsCyrillic(text[pos + 1]);
            char c = text[pos++];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && !inWord) punctuation = true;
            continue;
        }
        size_t end = pos;
        while (end < text.size() && (IsCyrillic(text[end]) || text[end] == '+')) ++end;
        StressedWord word;
        word.text = text.substr(pos, end - pos);
        pos = end;
        word.phraseBreakBefore = punctuation && !result.words.empty();
        punctuation = false;
        word.source = Stress(word.text, dictionary, marks, result.problems);
        if (word.text.find_first_not_of('+') != std::string::npos)
            result.words.push_back(std::move(word));
    }
    return result;
}

}  // namespace vox::voicebuild
