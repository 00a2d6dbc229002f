// Captures the message boxes shown by code linked into the test program.
// (Messages of server libraries loaded by path go to their own default sink,
// i.e. standard error; use testing::internal::CaptureStderr for those.)
#pragma once

#include <string>
#include <vector>

namespace vox::test {

struct CapturedMessage {
    std::string caption;
    std::string text;
};

class CapturedMessages {
  public:
    CapturedMessages();
    ~CapturedMessages();
    CapturedMessages(const CapturedMessages&) = delete;
    CapturedMessages& operator=(const CapturedMessages&) = delete;

    const std::vector<CapturedMessage>& All() const;
    bool Contains(const std::string& caption, const std::string& textPart) const;
    void Clear();
};

}  // namespace vox::test
