// The client side of the COM binding: classes are created by class id through
// the registry (HKCR\CLSID\{…}\InprocServer32 names the server library), never
// by linking. Libraries are loaded once and stay loaded for the process.
#pragma once

#include <cstddef>
#include <string>

#include "interfaces/ComTypes.h"

// CoTaskMem blocks are blocks of the C heap: any client may free() them.
void* CoTaskMemAlloc(size_t size);
void CoTaskMemFree(void* block);

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, uint32_t context, const IID& iid,
                         void** object);

// Puts a created object into its running state; in-process objects already are.
HRESULT OleRun(IUnknown* object);

namespace vox {

// Loads a server library by path and asks it for its class factory.
// `error` receives a message naming the library on failure.
HRESULT GetClassObjectFromLibrary(const std::string& libraryPath, const CLSID& clsid,
                                  const IID& iid, void** object, std::string* error = nullptr);

// The server library registered for a class: the default value of
// HKCR\CLSID\{clsid}\InprocServer32, or "" when not registered.
std::string RegisteredServerPath(const CLSID& clsid);

// Creates an object of another deliverable the system's one way: an
// IUnknown through CoCreateInstance with every class context, OleRun, then
// a query for `iid`. On failure *object is null and LastBindingError()
// explains a binding failure.
HRESULT CreateRunningObject(const CLSID& clsid, const IID& iid, void** object);

// Explains the last failure of CoCreateInstance on this thread.
const std::string& LastBindingError();

}  // namespace vox
