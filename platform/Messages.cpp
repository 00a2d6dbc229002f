#include "Messages.h"

#include <unistd.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vox {
namespace {

std::atomic<MessageSink> gSink{nullptr};

}  // namespace

void StderrMessageSink(const std::string& caption, const std::string& text, MessageIcon) {
    const char* mode = std::getenv("VOXAMEN_MESSAGES");
    if (mode != nullptr && std::strcmp(mode, "none") == 0) return;
    // One write per line so that lines of concurrent callers do not interleave.
    std::string line = caption + ": " + text + "\n";
    size_t done = 0;
    while (done < line.size()) {
        ssize_t n = ::write(STDERR_FILENO, line.data() + done, line.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
}

void MessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
    MessageSink sink = gSink.load();
    (sink != nullptr ? sink : StderrMessageSink)(caption, text, icon);
}

MessageSink SetMessageSink(MessageSink sink) {
    return gSink.exchange(sink);
}

}  // namespace vox
