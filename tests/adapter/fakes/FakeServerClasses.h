// Where the tests find the fakes' library, and the registry sections (.reg
// text) that bind the fake lexical component and the engine's class id to
// it, so that the adapter creates them by class id as it would the real ones.
#pragma once

#include <string>

#include "adapter/fakes/FakeServers.h"
#include "interfaces/IVoxamen.h"
#include "platform/Guid.h"

namespace vox::test {

inline std::string FakeServersLibrary() {
    return std::string(VOXAMEN_TEST_LIB_DIR) + "/adapter-fakes.so";
}

inline std::string FakeServerClasses() {
    std::string classes;
    for (const GUID& clsid : {CLSID_FakeGlossor, CLSID_Voxamen})
        classes += "[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\" + GuidToString(clsid) +
                   "\\InprocServer32]\n@=\"" + FakeServersLibrary() + "\"\n\n";
    return classes;
}

}  // namespace vox::test
