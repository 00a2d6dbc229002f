// The line protocol between speech-dispatcher and an output module: lines
// end with LF, data blocks end with a lone ".", a data line starting with
// "." carries one more "." in front. Replies and events may be written from
// the protocol thread and the speaking thread, so every write of one reply
// or event is one locked write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sdvox {

class ProtocolChannel {
  public:
    // Reads from in_fd and writes to out_fd; neither is closed.
    ProtocolChannel(int in_fd, int out_fd);

    // The next line without its LF; nullopt at end of input. A line longer
    // than max_line is cut there and the rest is read as the next line, so
    // a peer cannot make the module hold unbounded memory.
    std::optional<std::string> ReadLine();

    // The lines of a data block up to the lone ".", unstuffed. nullopt at
    // end of input. At most max_block bytes are kept; *too_long tells
    // whether more came (the block is still read to its end).
    std::optional<std::vector<std::string>> ReadBlock(bool* too_long = nullptr);

    // Writes text as it is (the caller ends lines with LF). False once the
    // peer has gone; later writes are dropped.
    bool Write(std::string_view text);
    bool Closed() const;

    static constexpr size_t kMaxLine = 1 << 20;
    static constexpr size_t kMaxBlock = 4 << 20;

  private:
    bool Fill();

    int in_fd_;
    int out_fd_;
    std::string buffer_;
    size_t start_ = 0;
    bool eof_ = false;
    mutable std::mutex write_mutex_;
    bool closed_ = false;
};

// One "705" audio event: the header lines, "705-AUDIO", a NUL, the samples
// (16-bit little-endian) with every LF and 0x7D byte escaped as 0x7D
// followed by the byte XOR 0x20, then LF and "705 AUDIO".
std::string EncodeAudioEvent(const int16_t* samples, size_t count, int sample_rate);

// The inverse of the escaping, for tests and tools.
std::vector<uint8_t> UnescapeAudio(std::string_view escaped);

// Longest run of samples sent in one 705 event (10000 bytes, as the server's
// own modules send).
inline constexpr size_t kAudioChunkSamples = 5000;

}  // namespace sdvox
