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
    ComPtr<IVoxamen> engine;
    const HRESULT hr = CreateRunningObject(CLSID_Voxamen, IID_IVoxamen, engine.PutVoid());
    if (FAILED(hr)) {
        err << command << "cannot create the engine: " << HresultText(hr);
        if (!LastBindingError().empty()) err << " (" << LastBindingError() << ")";
        err << "\n";
    }
    return engine;
}

}  // namespace vox::cli
