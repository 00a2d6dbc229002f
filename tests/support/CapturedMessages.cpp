#include "support/CapturedMessages.h"

#include "platform/Messages.h"

namespace vox::test {

namespace {

std::vector<CapturedMessage> gMessages;

void Capture(const std::string& caption, const std::string& text, MessageIcon) {
    gMessages.push_back({caption, text});
}

}  // namespace

CapturedMessages::CapturedMessages() {
    gMessages.clear();
    SetMessageSink(&Capture);
}

CapturedMessages::~CapturedMessages() {
    SetMessageSink(nullptr);
}

const std::vector<CapturedMessage>& CapturedMessages::All() const {
    return gMessages;
}

bool CapturedMessages::Contains(const std::string& caption, const std::string& part) const {
    for (const auto& m : gMessages)
        if (m.caption == caption && m.text.find(part) != std::string::npos) return true;
    return false;
}

void CapturedMessages::Clear() {
    gMessages.clear();
}

}  // namespace vox::test
