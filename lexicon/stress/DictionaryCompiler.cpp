#include "DictionaryCompiler.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "DictionaryFormat.h"
#include "EndingTree.h"
#include "StressText.h"

namespace lexicon {

namespace {

bool HasYo(const std::string& w) {
    return w.find(kYo) != std::string::npos;
}

void PutU32(std::vector<uint8_t>& out, size_t at, size_t value) {
    format::WriteU32(out.data() + at, static_cast<uint32_t>(value));
}

}  // namespace

std::vector<LexiconWord> PrepareWords(const std::vector<SourceWord>& source) {
    std::map<std::string, LexiconWord> byKey;
    for (const SourceWord& s : source) {
        if (s.word.empty() || s.word.size() > 255 || s.stress >= s.word.size() ||
            !IsVowel1251(s.word[s.stress]))
            continue;
        auto [it, fresh] = byKey.try_emplace(FoldYo(s.word), LexiconWord{s.word, s.stress, false});
        if (fresh) continue;
        LexiconWord& kept = it->second;
        if (kept.stress != s.stress) kept.homograph = true;
        if (!HasYo(kept.word) && HasYo(s.word)) {
            kept.word = s.word;
            kept.stress = s.stress;
        }
    }
    std::vector<LexiconWord> words;
    words.reserve(byKey.size());
    for (auto& [key, w] : byKey) words.push_back(std::move(w));
    return words;
}

namespace {

// The file of `words` (sorted) with the ending tree `nodes`.
std::vector<uint8_t> Write(const std::vector<LexiconWord>& words,
                           const std::vector<EndingNode>& nodes, const std::string& notice,
                           const ModelSettings& settings) {
    // Records: u8 length, folded key, u8 stressed position, u8 "ё" count, positions.
    std::vector<uint8_t> records;
    std::vector<uint32_t> index;
    index.reserve(words.size());
    for (const LexiconWord& w : words) {
        index.push_back(static_cast<uint32_t>(records.size()));
        const std::string key = FoldYo(w.word);
        records.push_back(static_cast<uint8_t>(key.size()));
        records.insert(records.end(), key.begin(), key.end());
        records.push_back(w.stress);
        std::vector<uint8_t> yo;
        for (size_t i = 0; i < w.word.size(); ++i)
            if (w.word[i] == kYo) yo.push_back(static_cast<uint8_t>(i));
        records.push_back(static_cast<uint8_t>(yo.size()));
        records.insert(records.end(), yo.begin(), yo.end());
    }

    const size_t indexAt = format::kHeaderSize;
    const size_t recordsAt = indexAt + 4 * index.size();
    const size_t nodesAt = (recordsAt + records.size() + 3) & ~size_t(3);
    const size_t noticeAt = nodesAt + format::kNodeSize * nodes.size();
    const size_t fileSize = noticeAt + notice.size();

    std::vector<uint8_t> out(fileSize, 0);
    std::memcpy(out.data(), format::kMagic, sizeof format::kMagic);
    PutU32(out, format::kVersionAt, format::kVersion);
    PutU32(out, format::kFileSizeAt, fileSize);
    PutU32(out, format::kEntryCountAt, index.size());
    PutU32(out, format::kIndexAt, indexAt);
    PutU32(out, format::kRecordsAt, recordsAt);
    PutU32(out, format::kRecordsSizeAt, records.size());
    PutU32(out, format::kNodeCountAt, nodes.size());
    PutU32(out, format::kNodesAt, nodesAt);
    PutU32(out, format::kNoticeAt, noticeAt);
    PutU32(out, format::kNoticeSizeAt, notice.size());
    out[format::kMinStemAt] = settings.minStem;
    out[format::kMaxTailAt] = settings.maxTail;
    out[format::kMaxDepthAt] = settings.maxDepth;
    for (size_t i = 0; i < index.size(); ++i) PutU32(out, indexAt + 4 * i, index[i]);
    std::copy(records.begin(), records.end(), out.begin() + static_cast<ptrdiff_t>(recordsAt));
    for (size_t i = 0; i < nodes.size(); ++i) {
        uint8_t* p = out.data() + nodesAt + format::kNodeSize * i;
        format::WriteU32(p, nodes[i].firstChild);
        p[4] = nodes[i].childCount;
        p[5] = nodes[i].letter;
        p[6] = nodes[i].vowelFromEnd;
    }
    std::copy(notice.begin(), notice.end(), out.begin() + static_cast<ptrdiff_t>(noticeAt));
    return out;
}

}  // namespace

std::vector<uint8_t> CompileDictionary(const std::vector<LexiconWord>& words,
                                       const std::string& notice, const ModelSettings& settings) {
    return Write(words, BuildEndingTree(words, settings.maxDepth), notice, settings);
}

std::vector<uint8_t> CompileModelOnly(const std::vector<LexiconWord>& words,
                                      const std::string& notice, const ModelSettings& settings) {
    return Write({}, BuildEndingTree(words, settings.maxDepth), notice, settings);
}

std::string FestvoxNotice() {
    return "Stress dictionary compiled from the lexicon of Debian's festvox-ru package\n"
           "(msu_ru_nsh_dict.scm, \"Russian language support for Festival project\",\n"
           "http://sourceforge.net/projects/festlang.berlios). Modified: converted to\n"
           "Windows-1251, one entry per spelling, stored in a binary layout with a\n"
           "stress model learned from it.\n"
           "\n"
           "               Nickolay V. Shmyrev  Copyright (c) 2005\n"
           "                        All Rights Reserved.\n"
           "\n"
           "  Permission is hereby granted, free of charge, to use and distribute\n"
           "  this software and its documentation without restriction, including\n"
           "  without limitation the rights to use, copy, modify, merge, publish,\n"
           "  distribute, sublicense, and/or sell copies of this work, and to\n"
           "  permit persons to whom this work is furnished to do so, subject to\n"
           "  the following conditions:\n"
           "   1. The code must retain the above copyright notice, this list of\n"
           "      conditions and the following disclaimer.\n"
           "   2. Any modifications must be clearly marked as such.\n"
           "   3. Original authors' names are not deleted.\n"
           "   4. The authors' names are not used to endorse or promote products\n"
           "      derived from this software without specific prior written\n"
           "      permission.\n"
           "\n"
           "  THE AUTHOR AND THE CONTRIBUTORS TO THIS WORK\n"
           "  DISCLAIM ALL WARRANTIES WITH REGARD TO THIS SOFTWARE, INCLUDING\n"
           "  ALL IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS, IN NO EVENT\n"
           "  SHALL THE UNIVERSITY OF EDINBURGH NOR THE CONTRIBUTORS BE LIABLE\n"
           "  FOR ANY SPECIAL, INDIRECT OR CONSEQUENTIAL DAMAGES OR ANY DAMAGES\n"
           "  WHATSOEVER RESULTING FROM LOSS OF USE, DATA OR PROFITS, WHETHER IN\n"
           "  AN ACTION OF CONTRACT, NEGLIGENCE OR OTHER TORTIOUS ACTION,\n"
           "  ARISING OUT OF OR IN CONNECTION WITH THE USE OR PERFORMANCE OF\n"
           "  THIS SOFTWARE.\n";
}

}  // namespace lexicon
