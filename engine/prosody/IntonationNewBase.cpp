#include "engine/prosody/IntonationNewBase.h"

#include <algorithm>

#include "engine/prosody/ConfigText.h"
#include "interfaces/SoundDescription.h"
#include "platform/Messages.h"
#include "platform/Text.h"

namespace vox {

namespace {

void Report(const std::string& path, int line, const std::string& text) {
    ReportAtLine(kIntonationNewCaption, path, line, text);
}

// "50, 55" → values; false when the field holds none or a non-number.
bool ParseField(std::string_view field, std::vector<int32_t>& values, bool& clamped) {
    values.clear();
    for (const std::string& item : SplitList(field, ',')) {
        const std::string_view text = Trim(item);
        if (text.empty()) continue;
        const std::optional<long long> v = ParseInteger(text);
        if (!v) return false;
        const long long c = std::clamp<long long>(*v, 0, IntonationNewBase::kMaxValue);
        clamped |= c != *v;
        values.push_back(static_cast<int32_t>(c));
    }
    return !values.empty();
}

bool ParseWordLine(std::string_view line, WordPattern& pattern, bool& clamped) {
    const size_t bar1 = line.find('|');
    const size_t bar2 = bar1 == std::string_view::npos ? bar1 : line.find('|', bar1 + 1);
    if (bar2 == std::string_view::npos) return false;
    return ParseField(line.substr(0, bar1), pattern[0], clamped) &&
           ParseField(line.substr(bar1 + 1, bar2 - bar1 - 1), pattern[1], clamped) &&
           ParseField(line.substr(bar2 + 1), pattern[2], clamped);
}

struct NewWord {
    size_t first = 0, end = 0;  // phonemes [first, end)
    int64_t parts[3] = {};      // intonable samples before, at, after the stress
};

std::vector<NewWord> NewWords(std::span<const uint64_t> sds, std::span<const int32_t> lengths) {
    std::vector<NewWord> words;
    const size_t n = sds.size();
    for (size_t i = 0; i < n;) {
        if (HasBit(sds[i], sd::Terminator) || HasBit(sds[i], sd::Space)) {
            ++i;
            continue;
        }
        NewWord w{i, i, {}};
        while (w.end < n && !HasBit(sds[w.end], sd::Terminator) && !HasBit(sds[w.end], sd::Space))
            ++w.end;
        size_t stress = w.end;
        for (size_t j = w.first; j < w.end && stress == w.end; ++j)
            if (HasBit(sds[j], sd::FullStressed)) stress = j;
        for (size_t j = w.first; j < w.end; ++j) {
            if (!HasBit(sds[j], sd::Intonable)) continue;
            const int part = j < stress ? 0 : j == stress ? 1 : 2;
            w.parts[part] += std::max(lengths[j], 0);
        }
        words.push_back(w);
        i = w.end;
    }
    return words;
}

template <class A, class B>
std::vector<int32_t> Joined(const A& a, const B& b) {
    std::vector<int32_t> v(a.begin(), a.end());
    v.insert(v.end(), b.begin(), b.end());
    return v;
}

}  // namespace

void SpreadValues(std::span<const int32_t> values, std::span<float> out) {
    const size_t L = out.size(), K = values.size();
    if (K == 0 || L == 0) return;
    if (K == 1) {
        std::fill(out.begin(), out.end(), static_cast<float>(values[0]));
        return;
    }
    const double step = static_cast<double>(L) / static_cast<double>(K - 1);
    for (size_t i = 0; i + 1 < K; ++i) {
        const size_t from = static_cast<size_t>(static_cast<double>(i) * step);
        const size_t to = std::min(L, static_cast<size_t>(static_cast<double>(i + 1) * step));
        if (to <= from) continue;
        // One division per piece, not per sample.
        const double a = values[i], b = values[i + 1];
        const double perSample = 1.0 / static_cast<double>(to - from);
        float* piece = out.data() + from;
        // A 32-bit index: its conversion vectorises, a 64-bit one does not.
        const int32_t n = static_cast<int32_t>(to - from);
        for (int32_t p = 0; p < n; ++p) {
            const double u = static_cast<double>(p) * perSample;
            piece[p] = static_cast<float>((1.0 - u) * a + u * b);
        }
    }
}

void IntonationNewBase::Clear() {
    pitch_.clear();
    tempo_.clear();
    scale_.clear();
    path_.clear();
}

bool IntonationNewBase::Load(const std::string& path) {
    Clear();  // another voice's entries must not linger
    path_ = path;
    const std::optional<std::string> text = ReadConfigFile(path);
    if (!text) return false;
    return LoadText(*text, path);
}

bool IntonationNewBase::LoadText(std::string_view text, const std::string& path) {
    path_ = path;
    const ConfigLines read = SplitConfigLines(text, kMaxLineLength, true, false);
    if (read.tooLongAt >= 0) {
        Report(path, read.tooLongAt, "line longer than 1023 characters");
        return false;
    }
    const std::vector<ConfigLine>& lines = read.lines;
    if (lines.empty()) return false;
    if (lines[0].text != kIntonationNewHeader) {
        Report(path, lines[0].number, "Invalid IntonationNew Profile version");
        return false;
    }
    size_t at = 1;
    while (at + 1 < lines.size()) {
        const ConfigLine& header = lines[at++];
        const size_t comma = header.text.rfind(',');
        const int words =
            comma == std::string_view::npos
                ? 0
                : static_cast<int>(ParseInteger(header.text.substr(comma + 1)).value_or(0));
        if (words < 1 || words > kMaxWords) {
            Report(path, header.number, "Syntax error in " + std::string(header.text));
            return false;
        }
        const ConfigLine& scaleLine = lines[at++];
        const int32_t scale = LeadingInteger(scaleLine.text);
        if (scale == 0) {
            Report(path, scaleLine.number, "Syntax error in " + std::string(scaleLine.text));
            return false;
        }
        if (pitch_.size() >= kMaxEntries && !pitch_.count(header.text)) {
            Report(path, header.number, "more than 10000 entries");
            return false;
        }
        const std::string key(header.text);
        scale_[key] = std::clamp(scale, 1, kMaxValue);
        for (auto* block : {&pitch_, &tempo_}) {
            std::vector<WordPattern> patterns(static_cast<size_t>(words));
            for (WordPattern& p : patterns) {
                if (at >= lines.size()) {
                    MessageBox(kIntonationNewCaption, path + ": Unexpected end of file");
                    return false;
                }
                bool clamped = false;
                if (!ParseWordLine(lines[at].text, p, clamped)) {
                    Report(path, lines[at].number,
                           "Syntax error in " + std::string(lines[at].text));
                    return false;
                }
                if (clamped) Report(path, lines[at].number, "values outside 0..1000 are clamped");
                ++at;
            }
            (*block)[key] = std::move(patterns);
        }
    }
    return true;
}

const std::vector<WordPattern>* IntonationNewBase::PitchPatterns(std::string_view key) const {
    auto it = pitch_.find(key);
    return it == pitch_.end() ? nullptr : &it->second;
}

const std::vector<WordPattern>* IntonationNewBase::TempoPatterns(std::string_view key) const {
    auto it = tempo_.find(key);
    return it == tempo_.end() ? nullptr : &it->second;
}

int32_t IntonationNewBase::FinalStressScale(std::string_view key) const {
    auto it = scale_.find(key);
    return it == scale_.end() ? 100 : it->second;
}

void IntonationNewBase::Prepare(std::string_view mark, std::span<const uint64_t> sds,
                                std::span<const int32_t> lengths, std::vector<float>& pitch,
                                std::vector<float>& tempo) const {
    pitch.clear();
    tempo.clear();
    if (!IsLoaded()) return;
    const size_t n = std::min(sds.size(), lengths.size());
    sds = sds.first(n);
    const std::vector<NewWord> words = NewWords(sds, lengths);
    const std::string key = std::string(mark) + "," + std::to_string(words.size());
    const std::vector<WordPattern>* pp = PitchPatterns(key);
    const std::vector<WordPattern>* tp = TempoPatterns(key);
    if (pp == nullptr || tp == nullptr || pp->size() != words.size() || tp->size() != words.size())
        return;
    const double scale = FinalStressScale(key) * 0.01;
    std::vector<int64_t> start(n + 1, 0);
    for (size_t i = 0; i < n; ++i) start[i + 1] = start[i] + std::max(lengths[i], 0);
    pitch.assign(static_cast<size_t>(start[n]), 0.0f);
    tempo.assign(pitch.size(), 0.0f);

    std::vector<float> wordPitch, wordTempo;
    const size_t last = words.size() - 1;
    for (size_t k = 0; k < words.size(); ++k) {
        const NewWord& w = words[k];
        const WordPattern& p = (*pp)[k];
        const int64_t B = w.parts[0], S = w.parts[1], A = w.parts[2];
        wordPitch.assign(static_cast<size_t>(B + S + A), 0.0f);
        wordTempo.assign(wordPitch.size(), 0.0f);
        std::span<float> bp(wordPitch.data(), B), sp(wordPitch.data() + B, S),
            ap(wordPitch.data() + B + S, A);
        if (k > 0 && words[k - 1].parts[2] == 0)
            SpreadValues(Joined((*pp)[k - 1][2], p[0]), bp);
        else
            SpreadValues(p[0], bp);
        if (k == last && A == 0) {
            SpreadValues(p[2], sp);
            for (float& v : sp) v = static_cast<float>(v * scale);
        } else {
            SpreadValues(p[1], sp);
        }
        if (k != last && words[k + 1].parts[0] == 0)
            SpreadValues(Joined(p[2], (*pp)[k + 1][0]), ap);
        else
            SpreadValues(p[2], ap);
        const WordPattern& t = (*tp)[k];
        SpreadValues(t[0], std::span<float>(wordTempo.data(), B));
        SpreadValues(t[1], std::span<float>(wordTempo.data() + B, S));
        SpreadValues(t[2], std::span<float>(wordTempo.data() + B + S, A));
        // Placement: the word's values onto its intonable phonemes in order.
        size_t used = 0;
        for (size_t j = w.first; j < w.end; ++j) {
            if (!HasBit(sds[j], sd::Intonable)) continue;
            const size_t len = static_cast<size_t>(start[j + 1] - start[j]);
            const size_t take = std::min(len, wordPitch.size() - used);
            std::copy_n(wordPitch.begin() + static_cast<long>(used), take,
                        pitch.begin() + start[j]);
            std::copy_n(wordTempo.begin() + static_cast<long>(used), take,
                        tempo.begin() + start[j]);
            used += take;
        }
    }
}

}  // namespace vox
