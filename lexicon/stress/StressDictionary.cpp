#include "StressDictionary.h"

#include <algorithm>
#include <cstring>

#include "DictionaryFormat.h"
#include "StressText.h"

namespace lexicon {

using format::ReadU32;

bool StressDictionary::Open(const std::string& path, std::string* error) {
    Close();
    std::string why;
    if (!file_.Open(path, &why)) {
        if (error) *error = why;
        return false;
    }
    data_ = file_.Data();
    size_ = file_.Size();
    if (!Validate(error)) {
        if (error) *error = path + ": " + *error;
        Close();
        return false;
    }
    return true;
}

bool StressDictionary::Attach(std::vector<uint8_t> bytes, std::string* error) {
    Close();
    owned_ = std::move(bytes);
    data_ = owned_.empty() ? reinterpret_cast<const uint8_t*>("") : owned_.data();
    size_ = owned_.size();
    if (!Validate(error)) {
        Close();
        return false;
    }
    return true;
}

bool StressDictionary::AttachView(const uint8_t* data, size_t size, std::string* error) {
    Close();
    data_ = data;
    size_ = size;
    if (data_ == nullptr || !Validate(error)) {
        Close();
        return false;
    }
    return true;
}

void StressDictionary::Close() {
    file_.Close();
    owned_.clear();
    data_ = nullptr;
    size_ = entryCount_ = nodeCount_ = 0;
}

bool StressDictionary::Validate(std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = "not a valid compiled stress dictionary: " + what;
        return false;
    };
    if (size_ < format::kHeaderSize || std::memcmp(data_, format::kMagic, 8) != 0)
        return fail("no \"VXSTRESS\" header");
    if (ReadU32(data_ + format::kVersionAt) != format::kVersion)
        return fail("version " + std::to_string(ReadU32(data_ + format::kVersionAt)) +
                    " (this program reads version " + std::to_string(format::kVersion) + ")");
    if (ReadU32(data_ + format::kFileSizeAt) != size_)
        return fail("the header gives " + std::to_string(ReadU32(data_ + format::kFileSizeAt)) +
                    " bytes, the file has " + std::to_string(size_) + " (truncated?)");
    entryCount_ = ReadU32(data_ + format::kEntryCountAt);
    indexAt_ = ReadU32(data_ + format::kIndexAt);
    recordsAt_ = ReadU32(data_ + format::kRecordsAt);
    recordsSize_ = ReadU32(data_ + format::kRecordsSizeAt);
    nodeCount_ = ReadU32(data_ + format::kNodeCountAt);
    nodesAt_ = ReadU32(data_ + format::kNodesAt);
    noticeAt_ = ReadU32(data_ + format::kNoticeAt);
    noticeSize_ = ReadU32(data_ + format::kNoticeSizeAt);
    minStem_ = data_[format::kMinStemAt];
    maxTail_ = data_[format::kMaxTailAt];
    maxDepth_ = data_[format::kMaxDepthAt];
    auto inside = [&](size_t at, size_t count, size_t unit) {
        return at >= format::kHeaderSize && at <= size_ && count <= (size_ - at) / unit;
    };
    if (!inside(indexAt_, entryCount_, 4)) return fail("the word index lies outside the file");
    if (!inside(recordsAt_, recordsSize_, 1)) return fail("the words lie outside the file");
    if (!inside(nodesAt_, nodeCount_, format::kNodeSize))
        return fail("the model lies outside the file");
    if (!inside(noticeAt_, noticeSize_, 1)) return fail("the notice lies outside the file");
    if (nodeCount_ == 0) return fail("the model is empty");
    // Record offsets rise strictly and stay inside the words (cheap: one pass
    // over 4-byte numbers), so a lookup never needs more than local checks.
    size_t previous = 0;
    for (size_t i = 0; i < entryCount_; ++i) {
        const size_t at = ReadU32(data_ + indexAt_ + 4 * i);
        if ((i > 0 && at <= previous) || at >= recordsSize_)
            return fail("word " + std::to_string(i) + " has a bad offset");
        previous = at;
    }
    return true;
}

std::string_view StressDictionary::Notice() const {
    if (!IsOpen()) return {};
    return {reinterpret_cast<const char*>(data_ + noticeAt_), noticeSize_};
}

bool StressDictionary::ReadRecord(size_t i, Record& r) const {
    if (i >= entryCount_) return false;
    const uint8_t* base = data_ + recordsAt_;
    size_t at = ReadU32(data_ + indexAt_ + 4 * i);
    const size_t end = recordsSize_;
    if (at >= end) return false;
    const size_t length = base[at++];
    if (length == 0 || end - at < length + 2) return false;
    r.key = {reinterpret_cast<const char*>(base + at), length};
    at += length;
    r.stress = base[at++];
    r.yoCount = base[at++];
    if (end - at < r.yoCount || r.stress >= length || !IsVowel1251(r.key[r.stress])) return false;
    r.yo = base + at;
    return true;
}

size_t StressDictionary::LowerBound(std::string_view key) const {
    size_t lo = 0, hi = entryCount_;
    Record r;
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (!ReadRecord(mid, r)) return entryCount_;  // damaged: nothing found
        const int order = r.key.compare(key);
        if (order < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

bool StressDictionary::Find(std::string_view word, std::string& spelled, size_t& stress) const {
    if (!IsOpen() || word.empty()) return false;
    const std::string key = FoldYo(word);
    Record r;
    const size_t i = LowerBound(key);
    if (!ReadRecord(i, r) || r.key != key) return false;
    spelled.assign(word);
    for (size_t k = 0; k < r.yoCount; ++k)
        if (r.yo[k] < spelled.size() && spelled[r.yo[k]] == kYe) spelled[r.yo[k]] = kYo;
    stress = r.stress;
    return true;
}

size_t StressDictionary::Predict(std::string_view word) const {
    const size_t vowels = CountVowels(word);
    if (vowels == 0) return std::string_view::npos;
    if (size_t yo = word.find(kYo); yo != std::string_view::npos) return yo;
    if (vowels == 1) return VowelFromEnd(word, 1);
    const std::string key = FoldYo(word);
    if (IsOpen()) {
        if (size_t at = PredictBySiblings(key); at != std::string_view::npos) return at;
        if (int n = PredictByEnding(key, static_cast<int>(vowels)); n > 0)
            return VowelFromEnd(word, n);
    }
    return VowelFromEnd(word, 2);
}

// Another form of the same word: a dictionary word sharing the stem (all but
// a short ending) whose stress lies in that stem lends it.
size_t StressDictionary::PredictBySiblings(std::string_view key) const {
    const size_t at = LowerBound(key);
    size_t bestShared = 0;
    Record best, r;
    for (size_t i = at >= 2 ? at - 2 : 0; i < at + 2 && i < entryCount_; ++i) {
        if (!ReadRecord(i, r) || r.key == key) continue;
        size_t shared = 0;
        while (shared < r.key.size() && shared < key.size() && r.key[shared] == key[shared])
            ++shared;
        if (shared > bestShared) {
            bestShared = shared;
            best = r;
        }
    }
    if (bestShared < minStem_ || key.size() - bestShared > maxTail_ ||
        best.key.size() - bestShared > maxTail_ || best.stress >= bestShared ||
        !IsVowel1251(key[best.stress]))
        return std::string_view::npos;
    return best.stress;
}

// The deepest node of the ending tree the word's last letters reach that
// names a vowel the word has (a word shorter than the words behind a node
// takes the guess of a shallower one).
int StressDictionary::PredictByEnding(std::string_view key, int vowels) const {
    auto node = [&](size_t i) { return data_ + nodesAt_ + format::kNodeSize * i; };
    size_t at = 0;
    int guess = node(0)[6] <= vowels ? node(0)[6] : 0;
    const size_t depth = std::min<size_t>(key.size(), maxDepth_);
    for (size_t d = 0; d < depth; ++d) {
        const uint8_t letter = static_cast<uint8_t>(key[key.size() - 1 - d]);
        const size_t first = ReadU32(node(at));
        const size_t count = node(at)[4];
        if (first > nodeCount_ || count > nodeCount_ - first) break;  // damaged: stop here
        size_t lo = first, hi = first + count;
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            if (node(mid)[5] < letter)
                lo = mid + 1;
            else
                hi = mid;
        }
        if (lo == first + count || node(lo)[5] != letter) break;
        at = lo;
        if (node(at)[6] != 0 && node(at)[6] <= vowels) guess = node(at)[6];
    }
    return guess;
}

}  // namespace lexicon
