#include "ComKit.h"

#include <cstring>

#include "Messages.h"

namespace vox {

void ReportUnexpectedException(const char* what) {
    MessageBox("Voxamen", std::string("unexpected failure: ") + what);
}

HRESULT CoTaskMemString(const std::string& text, char** out) {
    auto* block = static_cast<char*>(CoTaskMemAlloc(text.size() + 1));
    if (block == nullptr) return E_OUTOFMEMORY;
    std::memcpy(block, text.c_str(), text.size() + 1);
    *out = block;
    return S_OK;
}

}  // namespace vox
