// A bounds-checked cursor over the bytes of a binary file: every read checks
// the bytes left first and decodes little-endian integers byte by byte, so no
// read can leave the view whatever the file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vox {

class ByteReader {
  public:
    explicit ByteReader(std::span<const uint8_t> bytes, size_t offset = 0)
        : bytes_(bytes), offset_(offset <= bytes.size() ? offset : bytes.size()) {}

    size_t Offset() const { return offset_; }
    size_t Left() const { return bytes_.size() - offset_; }

    bool ReadU8(uint8_t& value) {
        if (Left() < 1) return false;
        value = bytes_[offset_++];
        return true;
    }

    bool ReadI32(int32_t& value) {
        if (Left() < 4) return false;
        uint32_t u = 0;
        for (int i = 3; i >= 0; --i) u = (u << 8) | bytes_[offset_ + static_cast<size_t>(i)];
        value = static_cast<int32_t>(u);
        offset_ += 4;
        return true;
    }

    bool ReadText(size_t length, std::string& text) {
        if (Left() < length) return false;
        auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(offset_);
        text.assign(first, first + static_cast<std::ptrdiff_t>(length));
        offset_ += length;
        return true;
    }

  private:
    std::span<const uint8_t> bytes_;
    size_t offset_;
};

}  // namespace vox
