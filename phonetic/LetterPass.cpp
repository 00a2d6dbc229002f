#include "phonetic/LetterPass.h"

#include <string_view>

#include "phonetic/LetterTable.h"

namespace vox::letters {
namespace {

// Outside the text the neighbours read as a blank, so the text's ends behave
// like any other word break.
constexpr char kOutside = ' ';

// The letter being converted and its neighbours.
struct Neighbourhood {
    char previous;
    char current;
    char next;
    char afterNext;
};

constexpr bool IsOneOf(char c, std::string_view letters) {
    return letters.find(c) != std::string_view::npos;
}

constexpr char kHissingOrHard[] = {kLetterSha, kLetterZhe, kLetterTse, kHardSign, '\0'};
constexpr char kSoftenedBeforeSoft[] = {kLetterEn, kLetterDe, kLetterTe, kLetterEs, '\0'};
constexpr char kSoftenedEsBefore[] = {kLetterEn, kLetterTe, kLetterEs, '\0'};

std::string_view VowelText(const Neighbourhood& at) {
    const Letter& previous = LetterOf(at.previous);
    if (at.current == kLetterI && at.previous == kSoftSign) return "J',I";
    if (at.current == kLetterI && IsOneOf(at.previous, kHissingOrHard)) return "Y";
    // "о" after "ь" sounds like "ё" ("бульо+н").
    if (at.current == kLetterO && at.previous == kSoftSign) return "J',O";
    if (previous.IsConsonant()) return LetterOf(at.current).vowel.afterConsonant;
    return LetterOf(at.current).vowel.atWordStart;
}

void AppendVowel(const Neighbourhood& at, char digit, bool reduceJo, std::string& out) {
    std::string_view text = VowelText(at);
    const bool unstressed = digit == '1' || digit == '2';
    if (unstressed && text == "O") text = "A";  // unstressed "о" is reduced
    if (unstressed && reduceJo && text == "J',O") text = "J',A";
    out += text;
    out += digit;
    out += ',';
}

std::string_view SonorantText(const Neighbourhood& at) {
    // "жч" and "сч" are one "SH'", given by the first letter.
    if (at.current == kLetterChe && (at.previous == kLetterZhe || at.previous == kLetterEs))
        return {};
    const PhonemePair& forms = LetterOf(at.current).sonorant;
    if (LetterOf(at.next).In(kSoftening)) return forms.soft;
    if (at.current == kLetterEn && IsOneOf(at.next, kSoftenedBeforeSoft) &&
        LetterOf(at.afterNext).In(kSoftening)) {
        return forms.soft;  // "н" softened across a soft cluster: "ба+нтик"
    }
    return forms.hard;
}

// A paired consonant before "ь": the letter after the sign decides the voicing.
std::string_view BeforeSoftSign(const Letter& letter, char afterSign) {
    const Letter& after = LetterOf(afterSign);
    if (after.kind == LetterKind::WordBreak || after.In(kVoicelessAfterSign)) {
        return letter.voiceless.soft;
    }
    if (after.In(kVoicedObstruent)) return letter.voiced.soft;
    return letter.Own().soft;
}

std::string_view VoicedOrVoiceless(const Neighbourhood& at) {
    const Letter& letter = LetterOf(at.current);
    const Letter& next = LetterOf(at.next);
    // A word's last consonant is devoiced before any word break, not only at
    // the end of the text.
    if (next.kind == LetterKind::WordBreak || next.In(kVoiceless)) return letter.voiceless.hard;
    if (next.In(kVoicedObstruent)) return letter.voiced.hard;
    if (next.In(kHardVowel)) return letter.Own().hard;
    if (next.In(kSoftVowel)) return letter.Own().soft;
    if (at.next == kSoftSign) return BeforeSoftSign(letter, at.afterNext);
    return letter.Own().hard;
}

std::string_view PairedText(const Neighbourhood& at) {
    if (at.current == kLetterGhe && at.next == kLetterKa) return "X";
    if ((at.current == kLetterEs || at.current == kLetterZhe) && at.next == kLetterChe)
        return "SH'";
    if (at.next == kLetterEn && ((at.current == kLetterTe && at.previous == kLetterEs) ||
                                 (at.current == kLetterDe && at.previous == kLetterZe))) {
        return {};  // silent in "стн" and "здн"
    }
    if (at.current == kLetterEs && IsOneOf(at.next, kSoftenedEsBefore) &&
        LetterOf(at.afterNext).In(kSoftening)) {
        return "S'";
    }
    return VoicedOrVoiceless(at);
}

void AppendPhoneme(std::string_view phoneme, std::string& out) {
    if (phoneme.empty()) return;
    out += phoneme;
    out += ',';
}

}  // namespace

void AppendLetterPhonemes(const MarkedLetters& text, std::string& out, bool reduceUnstressedJo) {
    const std::string_view letters = text.letters;
    const auto at = [&](std::size_t i) { return i < letters.size() ? letters[i] : kOutside; };
    out += "#,";
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const Neighbourhood here{i > 0 ? letters[i - 1] : kOutside, letters[i], at(i + 1),
                                 at(i + 2)};
        switch (LetterOf(here.current).kind) {
            case LetterKind::WordBreak:
                AppendPhoneme("_", out);
                break;
            case LetterKind::Sign:
                break;
            case LetterKind::Vowel:
                AppendVowel(here, text.digits[i], reduceUnstressedJo, out);
                break;
            case LetterKind::Sonorant:
                AppendPhoneme(SonorantText(here), out);
                break;
            case LetterKind::Paired:
                AppendPhoneme(PairedText(here), out);
                break;
        }
    }
}

}  // namespace vox::letters
