#include "tools/voicedb/Abs07Writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstring>

#include "engine/voice/Abs07Format.h"

namespace vox::voicedb {

namespace {

void PutI32(std::string& out, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((u >> shift) & 0xFF);
}

void PutI16(std::string& out, int16_t value) {
    const auto u = static_cast<uint16_t>(value);
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
}

void PutShortString(std::string& out, std::string_view text) {
    out += static_cast<char>(text.size());
    out += text;
}

std::string CheckMarks(const Unit& unit) {
    const auto n = static_cast<int64_t>(unit.samples.size());
    for (size_t j = 0; j < unit.marks.size(); ++j) {
        const int32_t mark = unit.marks[j];
        if (mark < 0 || mark >= n)
            return "mark " + std::to_string(j) + " (" + std::to_string(mark) +
                   ") lies outside the unit's " + std::to_string(n) + " samples";
        if (j > 0 && mark <= unit.marks[j - 1])
            return "mark " + std::to_string(j) + " (" + std::to_string(mark) +
                   ") does not come after mark " + std::to_string(j - 1) + " (" +
                   std::to_string(unit.marks[j - 1]) + ")";
    }
    return {};
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

bool Abs07Writer::SetHeaderTexts(std::string first, std::string second, std::string& error) {
    for (const std::string* text : {&first, &second}) {
        if (text->size() > abs07::kMaxShortString) {
            error = "header text \"" + *text + "\" is longer than 127 bytes";
            return false;
        }
    }
    first_ = std::move(first);
    second_ = std::move(second);
    return true;
}

bool Abs07Writer::AddUnit(Unit unit, std::string& error) {
    const std::string quoted = "unit \"" + unit.name + "\": ";
    if (std::string problem = abs07::NameProblem(unit.name); !problem.empty()) {
        error = quoted + "unusable name: " + problem;
        return false;
    }
    if (names_.count(unit.name) != 0) {
        error = quoted + "a unit of that name was already added";
        return false;
    }
    if (std::string problem = CheckMarks(unit); !problem.empty()) {
        error = quoted + problem;
        return false;
    }
    const int64_t marks = markTotal_ + static_cast<int64_t>(unit.marks.size());
    const int64_t samples = sampleTotal_ + static_cast<int64_t>(unit.samples.size());
    if (marks > INT32_MAX || samples > INT32_MAX || units_.size() >= INT32_MAX) {
        error = quoted + "the database would exceed the format's 32-bit counts";
        return false;
    }
    markTotal_ = marks;
    sampleTotal_ = samples;
    names_.insert(unit.name);
    units_.push_back(std::move(unit));
    return true;
}

bool Abs07Writer::Serialize(const std::function<bool(std::string_view)>& sink) const {
    constexpr size_t kChunk = 1 << 20;
    std::string buffer;
    auto flushIfFull = [&](bool force) {
        if (buffer.size() < kChunk && !(force && !buffer.empty())) return true;
        bool ok = sink(buffer);
        buffer.clear();
        return ok;
    };
    buffer += abs07::kSignature;
    PutShortString(buffer, first_);
    PutShortString(buffer, second_);
    PutI32(buffer, static_cast<int32_t>(units_.size()));
    PutI32(buffer, static_cast<int32_t>(markTotal_));
    PutI32(buffer, static_cast<int32_t>(sampleTotal_));
    for (const Unit& u : units_) {
        for (int32_t mark : u.marks) PutI32(buffer, mark);
        if (!flushIfFull(false)) return false;
    }
    for (const Unit& u : units_) {
        for (int16_t sample : u.samples) {
            PutI16(buffer, sample);
            if (buffer.size() >= kChunk && !flushIfFull(false)) return false;
        }
    }
    for (const Unit& u : units_) {
        PutShortString(buffer, u.name);
        PutI32(buffer, static_cast<int32_t>(u.marks.size()));
        PutI32(buffer, static_cast<int32_t>(u.samples.size()));
        if (!flushIfFull(false)) return false;
    }
    return flushIfFull(true);
}

std::string Abs07Writer::Bytes() const {
    std::string file;
    Serialize([&](std::string_view piece) {
        file += piece;
        return true;
    });
    return file;
}

bool Abs07Writer::Write(const std::string& path, std::string& error) const {
    std::string temp = path + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = "cannot create a temporary file beside " + path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = ::fchmod(fd, 0644) == 0 &&
              Serialize([&](std::string_view piece) { return WriteAll(fd, piece); }) &&
              ::fsync(fd) == 0;
    const int savedErrno = errno;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
    error = "cannot write " + path + ": " + std::strerror(ok ? errno : savedErrno);
    ::unlink(temp.c_str());
    return false;
}

}  // namespace vox::voicedb
