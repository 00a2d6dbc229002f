#include "tools/voxamen/EngineClient.h"

#include <ostream>

#include "platform/ComBinding.h"
#include "platform/Hresult.h"

namespace vox::cli {

ComPtr<IVoxamen> CreateEngine(std::ostream& err, const std::string& command) {
    if (RegisteredServerPath(CLSID_Voxamen).empty()) {
        err << command << "the engine is not registered; run\n  voxamen register build/lib/*.so\n";
        return {};
    }
    ComPtr<IUnknown> unknown;
    HRESULT hr =
        CoCreateInstance(CLSID_Voxamen, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.PutVoid());
    if (SUCCEEDED(hr)) hr = OleRun(unknown.Get());
    ComPtr<IVoxamen> engine;
    if (SUCCEEDED(hr)) hr = unknown->QueryInterface(IID_IVoxamen, engine.PutVoid());
    if (FAILED(hr)) {
        err << command << "cannot create the engine: " << HresultText(hr);
        if (!LastBindingError().empty()) err << " (" << LastBindingError() << ")";
        err << "\n";
    }
    return engine;
}

}  // namespace vox::cli
