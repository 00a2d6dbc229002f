// Reader of the compiled stress dictionary (docs/formats/stress-dictionary.md):
// the file is memory-mapped and read in place; the header and the sections
// are checked when it is opened and every record read is bounds-checked, so
// a damaged file gives an error or "not found", never a read outside it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileMapping.h"

namespace lexicon {

class StressDictionary {
  public:
    bool Open(const std::string& path, std::string* error);
    // Reads a compiled dictionary held in memory (the builder's own checks).
    bool Attach(std::vector<uint8_t> bytes, std::string* error);
    // Reads bytes that outlive this object (the model built into the program).
    bool AttachView(const uint8_t* data, size_t size, std::string* error);
    void Close();
    bool IsOpen() const { return data_ != nullptr; }

    size_t WordCount() const { return entryCount_; }
    size_t ModelNodeCount() const { return nodeCount_; }
    size_t FileSize() const { return size_; }
    std::string_view Notice() const;

    // A dictionary word: `spelled` is the word with its "ё" restored and
    // `stress` the position of its stressed vowel.
    bool Find(std::string_view word, std::string& spelled, size_t& stress) const;

    // The model's guess for a word the dictionary lacks: the position of the
    // stressed vowel, npos for a word without vowels. Without an open file
    // only the word's shape speaks (its "ё", else its next-to-last vowel).
    size_t Predict(std::string_view word) const;

  private:
    struct Record {
        std::string_view key;
        uint8_t stress = 0;
        const uint8_t* yo = nullptr;
        uint8_t yoCount = 0;
    };
    bool Validate(std::string* error);
    bool ReadRecord(size_t i, Record& r) const;
    // Index of the first record whose key is not less than `key`.
    size_t LowerBound(std::string_view key) const;
    size_t PredictBySiblings(std::string_view key) const;
    int PredictByEnding(std::string_view key, int vowels) const;

    vox::MappedFile file_;
    std::vector<uint8_t> owned_;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t entryCount_ = 0, indexAt_ = 0, recordsAt_ = 0, recordsSize_ = 0;
    size_t nodeCount_ = 0, nodesAt_ = 0, noticeAt_ = 0, noticeSize_ = 0;
    uint8_t minStem_ = 0, maxTail_ = 0, maxDepth_ = 0;
};

}  // namespace lexicon
