#include "tools/voicebuild/ProsodyFitter.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>
#include <sstream>

#include "engine/prosody/IntonationNewBase.h"
#include "engine/prosody/IntonationProfile.h"
#include "engine/prosody/RhythmicsModel.h"
#include "engine/synthesis/Pauses.h"
#include "interfaces/SoundDescription.h"
#include "platform/CodePage.h"
#include "text/Charset.h"
#include "text/SyntagmaTypes.h"
#include "tools/voicebuild/Median.h"
#include "tools/voicebuild/RhythmicsFitter.h"

namespace vox::voicebuild {

namespace {

constexpr double kRate = 22050.0;
constexpr size_t kMinSamples = 5;  // a rule or pattern needs this many observations
constexpr int kMaxWords = 6;
constexpr const char* kPooled = ",*";  // key suffix of a mark's syntagmas of any length

int32_t UnitLength(const FitInput& in, const std::string& name) {
    auto it = in.units->find(name);
    return it == in.units->end() ? 0 : static_cast<int32_t>(it->second->samples.size());
}

// Every phoneme with a label duration and a reference length, as the engine
// will see it: its context, class and basic allophone's unit length.
std::string FitRhythmics(const FitInput& in, size_t& rules) {
    std::vector<DurationObservation> observations;
    for (const FitSyntagma& s : in.syntagmas)
        for (size_t i = 0; i < s.sds.size(); ++i) {
            const int cls = RhythmicsModel::ClassOf(s.sds[i]);
            if (cls < 0 || s.seconds[i] <= 0.0) continue;
            auto basic = in.basic.find(s.names[i]);
            const int32_t ref =
                UnitLength(in, basic != in.basic.end() ? basic->second : s.names[i]);
            if (ref > 0)
                observations.push_back(
                    {BuildContext(s.sds, i), cls, s.seconds[i] * kRate, double(ref)});
        }
    return FitRhythmicsRules(observations, rules);
}

// Word parts of a syntagma: per word, the f0 of its voiced phonemes before,
// at and after the stressed vowel.
using Parts = std::array<std::vector<double>, 3>;

std::vector<Parts> WordParts(const FitSyntagma& s) {
    std::vector<Parts> words;
    Parts open;
    bool stressed = false, any = false;
    for (size_t i = 1; i + 1 < s.sds.size(); ++i) {
        const uint64_t sd = s.sds[i];
        if (HasBit(sd, sd::Space)) {
            words.push_back(open), open = {}, stressed = false, any = false;
            continue;
        }
        any = true;
        const bool stress = HasBit(sd, sd::FullStressed) && !stressed;
        const int part = stress ? 1 : stressed ? 2 : 0;
        if (stress) stressed = true;
        if (HasBit(sd, sd::Intonable) && s.f0[i] > 0.0) open[part].push_back(s.f0[i]);
    }
    if (any || words.empty()) words.push_back(open);
    return words;
}

// Three points of a part: its first, middle and last voiced sound.
std::array<double, 3> Points(const std::vector<double>& f0) {
    return {f0.front(), f0[f0.size() / 2], f0.back()};
}

struct PatternFit {
    // [word][part][point] → observations (percent of the range)
    std::vector<std::array<std::array<std::vector<double>, 3>, 3>> obs;
    // Points of the stressed part of last words with nothing voiced after
    // their stress: the engine draws it from the after-stress list, scaled.
    std::array<std::vector<double>, 3> finalStressed;
    size_t count = 0;
};

double Percent(const FitInput& in, double hz) {
    return std::clamp((hz - in.lowHz) / (in.highHz - in.lowHz) * 100.0, 1.0, 1000.0);
}

// Adds a syntagma's words to `fit`, word k into slot slotOf(k).
template <class SlotOf>
void AddWords(const std::vector<Parts>& words, size_t slots, SlotOf slotOf, PatternFit& fit) {
    fit.obs.resize(slots);
    ++fit.count;
    for (size_t k = 0; k < words.size(); ++k)
        for (int p = 0; p < 3; ++p) {
            if (words[k][p].empty()) continue;
            const std::array<double, 3> pts = Points(words[k][p]);
            const bool finalStress = k + 1 == words.size() && p == 1 && words[k][2].empty();
            for (int j = 0; j < 3; ++j)
                (finalStress ? fit.finalStressed[j] : fit.obs[slotOf(k)][p][j])
                    .push_back(12.0 * std::log2(pts[j]));
        }
}

// The pooled slot of word k of n: counted from the end, where a phrase's
// accents and its final contour are: last word, the one before it, others.
size_t PooledSlot(size_t k, size_t n) {
    return k + 1 == n ? 2 : k + 2 == n ? 1 : 0;
}

// Per key "MARK,N" the words of the syntagmas of that mark and word count;
// per key "MARK,*" the syntagmas of that mark whatever their length, in the
// slots of PooledSlot.
std::map<std::string, PatternFit> CollectPatterns(const FitInput& in) {
    std::map<std::string, PatternFit> fits;
    for (const FitSyntagma& s : in.syntagmas) {
        const std::vector<Parts> words = WordParts(s);
        if (words.empty()) continue;
        const size_t n = words.size();
        AddWords(
            words, 3, [n](size_t k) { return PooledSlot(k, n); }, fits[s.mark + kPooled]);
        if (n <= kMaxWords)
            AddWords(
                words, n, [](size_t k) { return k; }, fits[s.mark + "," + std::to_string(n)]);
    }
    return fits;
}

bool IsPooled(const std::string& key) {
    return key.ends_with(kPooled);
}

// Values of one part, each the mean of its observations in semitones (what
// the f0 error is counted in) as percent of the range; a part never
// observed takes `fallback`.
std::vector<int32_t> PartValues(const FitInput& in,
                                const std::array<std::vector<double>, 3>& points,
                                const std::vector<int32_t>& fallback) {
    if (points[0].empty()) return fallback;
    std::vector<int32_t> values;
    for (const auto& p : points) {
        const double semitones = std::accumulate(p.begin(), p.end(), 0.0) / double(p.size());
        values.push_back(
            static_cast<int32_t>(std::lround(Percent(in, std::exp2(semitones / 12.0)))));
    }
    return values;
}

}  // namespace

namespace {

// A question's mark as the lexical component gives it: special ("(?.)") when
// its last sentence has a question word and no "ли", else general ("(?)").
std::string QuestionMark(const std::string& utf8Text) {
    const std::string text = lexicon::Lower(Utf8ToCp1251(utf8Text));
    // The last sentence: after the last end of sentence or dialogue dash
    // before the final question mark.
    const size_t end = text.find_last_of('?');
    if (end == std::string::npos) return "(?)";
    const size_t stop = end > 0 ? text.find_last_of(".!?", end - 1) : std::string::npos;
    const size_t dash = text.rfind(" - ", end);
    size_t start = stop == std::string::npos ? 0 : stop + 1;
    if (dash != std::string::npos) start = std::max(start, dash + 3);
    bool questionWord = false;
    std::string word;
    auto endWord = [&] {
        if (word == lexicon::Lower(Utf8ToCp1251("ли"))) return true;
        questionWord |= lexicon::IsQuestionWord(word);
        word.clear();
        return false;
    };
    for (size_t i = start; i < end && i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0xC0 || c == lexicon::cp::kYo)
            word += text[i];
        else if (c != '+' && endWord())
            return "(?)";
    }
    if (endWord()) return "(?)";
    return questionWord ? "(?.)" : "(?)";
}

}  // namespace

std::string FinalMark(const std::string& text) {
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        if (*it == '?') return QuestionMark(text);
        if (*it == '!') return "(!)";
        if (*it == '.' || *it == ',' || *it == ';' || *it == ':') return "(.)";
    }
    return "(.)";
}

std::vector<FitSyntagma> SplitAtPauses(const PreparedUtterance& u, const std::vector<Instance>& all,
                                       const std::string& promptText) {
    std::vector<FitSyntagma> out;
    const size_t n = u.phonemes.size();
    size_t start = 0;
    while (start + 1 < n) {
        size_t end = start + 1;
        while (end < n && u.phonemes[end] != "#") ++end;
        if (end >= n) break;
        FitSyntagma s;
        s.mark = end + 1 == n ? FinalMark(promptText) : "(,)";
        for (size_t i = start; i <= end; ++i) {
            s.phonemes.push_back(u.phonemes[i]);
            s.names.push_back(i < u.names.size() ? u.names[i] : std::string());
            const int inst = i < u.instanceOf.size() ? u.instanceOf[i] : -1;
            const bool edge = i == start || i == end;
            s.seconds.push_back(!edge && inst >= 0 ? all[size_t(inst)].Duration() : 0.0);
            s.starts.push_back(!edge && inst >= 0 ? all[size_t(inst)].start : 0.0);
            s.f0.push_back(!edge && inst >= 0 ? all[size_t(inst)].f0 : 0.0);
        }
        s.phonemes.front() = s.phonemes.back() = "#";
        if (s.phonemes.size() >= 3) out.push_back(std::move(s));
        start = end;
    }
    return out;
}

std::vector<FitSyntagma> UtteranceSyntagmas(const PreparedUtterance& u,
                                            const std::vector<Instance>& all,
                                            const std::string& promptText,
                                            const ModuleClient& module) {
    std::vector<FitSyntagma> out;
    for (FitSyntagma& s : SplitAtPauses(u, all, promptText)) {
        std::optional<std::vector<uint64_t>> sds = module.PhraseSoundDescriptions(s.phonemes);
        if (!sds || sds->size() != s.phonemes.size()) continue;
        s.sds = std::move(*sds);
        AddPhraseType(s.sds, s.mark);
        out.push_back(std::move(s));
    }
    return out;
}

namespace {

struct Entry {
    int scale = 100;
    std::vector<std::array<std::vector<int32_t>, 3>> words;
};

double Mean(const std::vector<int32_t>& v) {
    return v.empty() ? 0.0 : std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
}

// The final-stress scale, percent: what `stressed` is of `after`, on average.
int Scale(const std::vector<int32_t>& stressed, const std::vector<int32_t>& after) {
    const double s = Mean(stressed), a = Mean(after);
    return s > 0.0 && a > 0.0 ? std::clamp(static_cast<int>(std::lround(s / a * 100.0)), 1, 1000)
                              : 100;
}

std::map<std::string, Entry> FitEntries(const FitInput& in) {
    const std::map<std::string, PatternFit> fits = CollectPatterns(in);
    // The whole corpus's part values: the fallback of parts never observed.
    std::array<std::array<std::vector<double>, 3>, 3> overall;
    for (const auto& [key, fit] : fits)
        for (const auto& w : fit.obs)
            for (int p = 0; p < 3 && !IsPooled(key); ++p)
                for (int j = 0; j < 3; ++j)
                    overall[p][j].insert(overall[p][j].end(), w[p][j].begin(), w[p][j].end());
    std::array<std::vector<int32_t>, 3> general;
    for (int p = 0; p < 3; ++p) {
        std::array<std::vector<double>, 3> pts = overall[p];
        general[p] =
            PartValues(in, pts, {static_cast<int32_t>(std::lround(Percent(in, in.speakerF0)))});
    }
    std::map<std::string, Entry> entries;
    std::set<std::string> marksFitted;
    for (const auto& [key, fit] : fits)
        if (fit.count >= kMinSamples && !IsPooled(key))
            marksFitted.insert(key.substr(0, key.rfind(',')));
    for (const auto& [key, fit] : fits) {
        const std::string mark = key.substr(0, key.rfind(','));
        if (fit.count < kMinSamples || (IsPooled(key) && marksFitted.count(mark))) continue;
        Entry e;
        for (const auto& w : fit.obs) {
            std::array<std::vector<int32_t>, 3> word;
            for (int p = 0; p < 3; ++p) word[p] = PartValues(in, w[p], general[p]);
            e.words.push_back(word);
        }
        // A last word stressed on its final voiced sound: its stressed part
        // is drawn from its after-stress values, scaled so that their mean
        // is the mean of what such stressed parts were in the corpus. Without
        // any last word voiced after its stress, the after-stress values are
        // those stressed parts themselves.
        const std::vector<int32_t> stressedValues = PartValues(in, fit.finalStressed, {});
        if (fit.obs.back()[2][0].empty() && !stressedValues.empty())
            e.words.back()[2] = stressedValues;
        e.scale = Scale(stressedValues, e.words.back()[2]);
        if (!IsPooled(key)) {
            entries[key] = std::move(e);
            continue;
        }
        // A mark too rare for any word count of its own: every count from
        // its pooled slots.
        for (size_t n = 1; n <= size_t(kMaxWords); ++n) {
            Entry counted;
            counted.scale = e.scale;
            for (size_t k = 0; k < n; ++k) counted.words.push_back(e.words[PooledSlot(k, n)]);
            entries[mark + "," + std::to_string(n)] = counted;
        }
    }
    // Word counts without enough observations borrow from the mark's nearest
    // count: first word from first, last from last, middle words from middle.
    std::map<std::string, std::map<int, const Entry*>> byMark;
    for (const auto& [key, e] : entries) {
        const size_t comma = key.rfind(',');
        byMark[key.substr(0, comma)][std::stoi(key.substr(comma + 1))] = &e;
    }
    std::map<std::string, Entry> filled = entries;
    for (const auto& [mark, counts] : byMark)
        for (int n = 1; n <= kMaxWords; ++n) {
            const std::string key = mark + "," + std::to_string(n);
            if (filled.count(key)) continue;
            const Entry* near = nullptr;
            int best = 99;
            for (const auto& [m, e] : counts)
                if (std::abs(m - n) < best) best = std::abs(m - n), near = e;
            Entry e;
            e.scale = near->scale;
            const size_t m = near->words.size();
            for (int k = 0; k < n; ++k) {
                size_t from = k == n - 1 ? m - 1 : k == 0 ? 0 : std::min<size_t>(1, m - 1);
                if (m >= 3 && k > 0 && k < n - 1) from = 1 + size_t(k - 1) % (m - 2);
                e.words.push_back(near->words[from]);
            }
            filled[key] = std::move(e);
        }
    return filled;
}

std::string Join(const std::vector<int32_t>& v) {
    std::string s;
    for (size_t i = 0; i < v.size(); ++i) s += (i ? ", " : "") + std::to_string(v[i]);
    return s;
}

std::string IntonationNewText(const std::map<std::string, Entry>& entries, size_t& count) {
    std::string text = std::string(kIntonationNewHeader) + "\n";
    for (const auto& [key, e] : entries) {
        text += key + "\n" + std::to_string(e.scale) + "\n";
        for (const auto& w : e.words)
            text += Join(w[0]) + " | " + Join(w[1]) + " | " + Join(w[2]) + "\n";
        // Tempo 0 leaves durations to the rhythmics rules.
        for (size_t k = 0; k < e.words.size(); ++k) text += "0 | 0 | 0\n";
        ++count;
    }
    return text;
}

// The profile: per mark, its word shapes from the entry of the most
// frequent word count (first, middle words, last word), values at 0, 50 and
// 100 % of each part.
std::string IntonationText(const std::map<std::string, Entry>& entries, size_t& count) {
    std::string text = std::string(kIntonationProfileHeader) + "\n";
    std::map<std::string, const Entry*> byMark;
    for (const auto& [key, e] : entries) {
        const std::string mark = key.substr(0, key.rfind(','));
        if (key.substr(key.rfind(',') + 1) == "3" || !byMark.count(mark)) byMark[mark] = &e;
    }
    for (const auto& [mark, e] : byMark) {
        text += mark + "\n4\n";
        const size_t m = e->words.size();
        const size_t shapes[4] = {0, std::min<size_t>(1, m - 1), std::min<size_t>(1, m - 1), m - 1};
        for (size_t s = 0; s < 4; ++s)
            for (int p = 0; p < 3; ++p) {
                const std::vector<int32_t>& v = e->words[shapes[s]][p];
                text += std::to_string(v.size()) + "\n";
                for (size_t j = 0; j < v.size(); ++j)
                    text += std::to_string(v.size() == 1 ? 0 : 100 * j / (v.size() - 1)) + " " +
                            std::to_string(v[j]) + "\n";
            }
        ++count;
    }
    return text;
}

// Loudness: each unit's level in its first, middle and last third over its
// peak, median per combination of the classes around it (taken from its
// context name, "B-A0" = after B).
const char* ClassOfPhoneme(const std::string& phoneme,
                           const std::map<std::string, uint64_t>& sdOf) {
    if (phoneme.empty() || phoneme == "#" || phoneme == "_") return "P";
    auto it = sdOf.find(phoneme);
    const uint64_t sd = it == sdOf.end() ? 0 : it->second;
    if (HasBit(sd, sd::Vowel)) return "V";
    if (HasBit(sd, sd::Sonant)) return "S";
    if (HasBit(sd, sd::Voiced)) return "D";
    if (HasBit(sd, sd::Plosive)) return "T";
    return "F";
}

std::string AmpText(const FitInput& in) {
    std::map<std::string, uint64_t> sdOf;
    std::map<std::string, std::string> phonemeOfName;
    std::map<std::string, std::array<std::string, 2>> contextOf;  // name → previous, next phoneme
    for (const FitSyntagma& s : in.syntagmas)
        for (size_t i = 0; i < s.phonemes.size(); ++i) {
            sdOf.emplace(s.phonemes[i],
                         s.sds[i] & ~(SdMask(sd::Type1) | SdMask(sd::Type2) | SdMask(sd::Type3)));
            if (i == 0 || i + 1 == s.phonemes.size()) continue;
            phonemeOfName.emplace(s.names[i], s.phonemes[i]);
            contextOf.emplace(s.names[i],
                              std::array<std::string, 2>{s.phonemes[i - 1], s.phonemes[i + 1]});
        }
    std::map<std::string, std::vector<std::string>> groups;
    for (const auto& [phoneme, sd] : sdOf) groups[ClassOfPhoneme(phoneme, sdOf)].push_back(phoneme);
    std::map<std::string, std::array<std::vector<double>, 3>> levels;
    for (const auto& [name, unit] : *in.units) {
        auto ctx = contextOf.find(name);
        auto ph = phonemeOfName.find(name);
        if (ctx == contextOf.end() || ph == phonemeOfName.end() || unit->samples.size() < 30)
            continue;
        const std::string rule = std::string(ClassOfPhoneme(ctx->second[0], sdOf)) + "-" +
                                 ClassOfPhoneme(ph->second, sdOf) + "-" +
                                 ClassOfPhoneme(ctx->second[1], sdOf);
        const size_t n = unit->samples.size();
        int peak = 0;
        for (int16_t v : unit->samples) peak = std::max(peak, std::abs(int{v}));
        if (peak == 0) continue;
        for (int third = 0; third < 3; ++third) {
            int top = 0;
            for (size_t i = n * third / 3; i < n * (third + 1) / 3; ++i)
                top = std::max(top, std::abs(int{unit->samples[i]}));
            levels[rule][third].push_back(100.0 * top / peak);
        }
    }
    std::string text = std::string("* Vostrelin Amp Profile - Version 1\n{Groups\n");
    for (const auto& [group, members] : groups) {
        std::string list;
        for (const std::string& m : members) list += (list.empty() ? "" : ", ") + m;
        text += group + ": " + list + "\n";
    }
    text += "}\n{Rules\n";
    std::array<std::vector<double>, 3> all;
    for (const auto& [rule, thirds] : levels) {
        if (thirds[0].size() < kMinSamples) continue;
        text += rule + ": ";
        for (int t = 0; t < 3; ++t) {
            text += (t ? ", " : "") + std::to_string(std::lround(Median(thirds[t])));
            all[t].insert(all[t].end(), thirds[t].begin(), thirds[t].end());
        }
        text += "\n";
    }
    text += "Default: ";
    for (int t = 0; t < 3; ++t)
        text +=
            (t ? ", " : "") + std::to_string(all[t].empty() ? 100 : std::lround(Median(all[t])));
    text += "\n}\n";
    return text;
}

}  // namespace

FittedProsody FitProsody(const FitInput& in) {
    FittedProsody out;
    out.rhytmics = FitRhythmics(in, out.rules);
    const std::map<std::string, Entry> entries = FitEntries(in);
    out.intonationNew = IntonationNewText(entries, out.entries);
    out.intonation = IntonationText(entries, out.contours);
    out.amp = AmpText(in);
    return out;
}

}  // namespace vox::voicebuild
