#include "tools/sd_voxamen/ProtocolChannel.h"

#include <unistd.h>
#include <cerrno>

namespace sdvox {

ProtocolChannel::ProtocolChannel(int in_fd, int out_fd) : in_fd_(in_fd), out_fd_(out_fd) {}

bool ProtocolChannel::Fill() {
    if (eof_) return false;
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(in_fd_, chunk, sizeof chunk);
        if (n > 0) {
            buffer_.append(chunk, static_cast<size_t>(n));
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        eof_ = true;
        return false;
    }
}

std::optional<std::string> ProtocolChannel::ReadLine() {
    size_t searched = start_;
    for (;;) {
        size_t lf = buffer_.find('\n', searched);
        if (lf != std::string::npos && lf - start_ <= kMaxLine) {
            std::string line = buffer_.substr(start_, lf - start_);
            start_ = lf + 1;
            return line;
        }
        if (buffer_.size() - start_ >= kMaxLine) {
            std::string line = buffer_.substr(start_, kMaxLine);
            start_ += kMaxLine;
            return line;
        }
        searched = buffer_.size();
        size_t before = start_;
        if (!Fill()) {
            if (buffer_.size() > start_) {  // a last line without LF
                std::string line = buffer_.substr(start_);
                start_ = buffer_.size();
                return line;
            }
            return std::nullopt;
        }
        searched -= before - start_;  // Fill may have moved the data
    }
}

std::optional<std::vector<std::string>> ProtocolChannel::ReadBlock(bool* too_long) {
    std::vector<std::string> lines;
    size_t kept = 0;
    if (too_long) *too_long = false;
    for (;;) {
        std::optional<std::string> line = ReadLine();
        if (!line) return std::nullopt;
        if (*line == ".") return lines;
        if (!line->empty() && (*line)[0] == '.') line->erase(0, 1);
        if (kept + line->size() > kMaxBlock) {
            if (too_long) *too_long = true;
            continue;
        }
        kept += line->size() + 1;
        lines.push_back(std::move(*line));
    }
}

bool ProtocolChannel::Write(std::string_view text) {
    std::lock_guard<std::mutex> lock(write_mutex_);
    if (closed_) return false;
    while (!text.empty()) {
        ssize_t n = ::write(out_fd_, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            closed_ = true;  // EPIPE: the server has gone
            return false;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool ProtocolChannel::Closed() const {
    std::lock_guard<std::mutex> lock(write_mutex_);
    return closed_;
}

std::string EncodeAudioEvent(const int16_t* samples, size_t count, int sample_rate) {
    std::string out =
        "705-bits=16\n705-num_channels=1\n705-sample_rate=" + std::to_string(sample_rate) +
        "\n705-num_samples=" + std::to_string(count) + "\n705-big_endian=0\n705-AUDIO";
    out.push_back('\0');
    out.reserve(out.size() + count * 2 + count / 64 + 16);
    auto put = [&out](uint8_t byte) {
        if (byte == 0x0A || byte == 0x7D) {
            out.push_back(static_cast<char>(0x7D));
            out.push_back(static_cast<char>(byte ^ 0x20));
        } else {
            out.push_back(static_cast<char>(byte));
        }
    };
    for (size_t i = 0; i < count; ++i) {
        uint16_t v = static_cast<uint16_t>(samples[i]);
        put(static_cast<uint8_t>(v & 0xFF));
        put(static_cast<uint8_t>(v >> 8));
    }
    out += "\n705 AUDIO\n";
    return out;
}

std::vector<uint8_t> UnescapeAudio(std::string_view escaped) {
    std::vector<uint8_t> out;
    out.reserve(escaped.size());
    for (size_t i = 0; i < escaped.size(); ++i) {
        uint8_t byte = static_cast<uint8_t>(escaped[i]);
        if (byte == 0x7D && i + 1 < escaped.size())
            out.push_back(static_cast<uint8_t>(escaped[++i]) ^ 0x20);
        else
            out.push_back(byte);
    }
    return out;
}

}  // namespace sdvox
