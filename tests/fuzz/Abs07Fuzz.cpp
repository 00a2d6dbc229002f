// The voice database readers on arbitrary bytes: the shared index parser, the
// engine's Allobase (through an in-memory file) and the checker never read
// outside the file, and agree on which files can be read.
#include <sys/mman.h>
#include <unistd.h>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/voice/Abs07Format.h"
#include "engine/voice/Allobase.h"
#include "platform/Messages.h"
#include "tools/voicedb/Abs07Checker.h"

namespace {

void Quiet(const std::string&, const std::string&, vox::MessageIcon) {}

// Allobase opens files by path: give it the bytes as an anonymous file.
bool OpenWithAllobase(const std::vector<uint8_t>& bytes, const vox::abs07::Index& index) {
    int fd = ::memfd_create("abs07-fuzz", MFD_CLOEXEC);
    if (fd < 0) return false;
    bool opened = false;
    if (::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())) {
        vox::Allobase base;
        opened = base.Open("/proc/self/fd/" + std::to_string(fd));
        for (const vox::abs07::Entry& e : index.entries) {
            vox::Unit unit{e.name, {}, {}};
            if (opened && !base.GetUnit(unit)) std::abort();  // every indexed name is found
        }
    }
    ::close(fd);
    return opened;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vox::SetMessageSink(&Quiet);
    const std::vector<uint8_t> bytes(data, data + size);  // exactly sized
    vox::abs07::Index index;
    const bool readable = !vox::abs07::ReadIndex(bytes, index);
    if (readable) {
        for (const vox::abs07::Entry& e : index.entries) {
            std::vector<int16_t> samples;
            std::vector<int32_t> marks;
            if (!vox::abs07::CopySamples(bytes, e.sampleOffset, e.sampleCount, samples) ||
                !vox::abs07::CopyMarks(bytes, e.markOffset, e.markCount, marks))
                std::abort();  // an accepted index points inside the file
        }
    }
    if (vox::voicedb::CheckAbs07(bytes).indexRead != readable) std::abort();
    if (OpenWithAllobase(bytes, index) != readable) std::abort();
    return 0;
}
