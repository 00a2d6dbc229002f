// The server side of the COM binding, so that a server is a few lines:
// reference-counted objects with QueryInterface over a list of interfaces, a
// class factory, the library's object and lock counts for DllCanUnloadNow,
// one exception guard for interface methods, and RAII for the pointers that
// cross the boundary (ComPtr for references, CoTaskMemPtr for out-buffers).
#pragma once

#include <atomic>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <string>

#include "ComBinding.h"
#include "interfaces/ComTypes.h"

namespace vox {

// Live objects and server locks of this library (each server library has its
// own copy of this layer).
class ServerLifetime {
  public:
    static void ObjectCreated() { objects_.fetch_add(1); }
    static void ObjectDestroyed() { objects_.fetch_sub(1); }
    static void Lock(bool lock) { locks_.fetch_add(lock ? 1 : -1); }
    // S_OK when nothing is outstanding, S_FALSE otherwise (an HRESULT, not a bool).
    static HRESULT CanUnloadNow() {
        return objects_.load() == 0 && locks_.load() == 0 ? S_OK : S_FALSE;
    }

  private:
    static inline std::atomic<long> objects_{0};
    static inline std::atomic<long> locks_{0};
};

// Reports an exception that reached an interface boundary; defined in ComKit.cpp.
void ReportUnexpectedException(const char* what);

// Runs an interface method body; no exception crosses the boundary.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception& e) {
        ReportUnexpectedException(e.what());
        return E_UNEXPECTED;
    } catch (...) {
        ReportUnexpectedException("unknown exception");
        return E_UNEXPECTED;
    }
}

// One entry of an object's interface list: the interface and its id.
template <class I, const IID& Id>
struct Interface {
    using Type = I;
    static const IID& Iid() { return Id; }
};

// A reference-counted object implementing the listed interfaces. The first
// interface also answers for IUnknown. Counted objects keep the library loaded.
template <bool Counted, class... Entries>
class ComObjectBase : public Entries::Type... {
  public:
    ComObjectBase() {
        if constexpr (Counted) ServerLifetime::ObjectCreated();
    }
    virtual ~ComObjectBase() {
        if constexpr (Counted) ServerLifetime::ObjectDestroyed();
    }
    ComObjectBase(const ComObjectBase&) = delete;
    ComObjectBase& operator=(const ComObjectBase&) = delete;

    HRESULT QueryInterface(const GUID& iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        void* found = nullptr;
        if (iid == IID_IUnknown) {
            found = static_cast<IUnknown*>(static_cast<typename First<Entries...>::Type*>(this));
        } else {
            // The first entry whose id matches, in list order.
            (void)((iid == Entries::Iid() &&
                    (found = static_cast<typename Entries::Type*>(this), true)) ||
                   ...);
        }
        *object = found;
        if (*object == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    uint32_t AddRef() override { return refs_.fetch_add(1) + 1; }
    uint32_t Release() override {
        uint32_t left = refs_.fetch_sub(1) - 1;
        if (left == 0) delete this;
        return left;
    }

  private:
    template <class Head, class...>
    struct First {
        using Type = typename Head::Type;
    };
    std::atomic<uint32_t> refs_{1};  // the creator holds the first reference
};

template <class... Entries>
using ComObject = ComObjectBase<true, Entries...>;

// The class factory of T (T must be default-constructible).
template <class T>
class ClassFactory final
    : public ComObjectBase<false, Interface<IClassFactory, IID_IClassFactory>> {
  public:
    HRESULT CreateInstance(IUnknown* outer, const GUID& iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        return Guarded([&] {
            T* instance = new T();
            HRESULT hr = instance->QueryInterface(iid, object);
            instance->Release();
            return hr;
        });
    }
    HRESULT LockServer(int32_t lock) override {
        ServerLifetime::Lock(lock != 0);
        return S_OK;
    }
};

// DllGetClassObject for a library serving the single class T with id `served`.
template <class T>
HRESULT GetClassObjectFor(const CLSID& served, const CLSID& clsid, const IID& iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (clsid != served) return CLASS_E_CLASSNOTAVAILABLE;
    return Guarded([&] {
        auto* factory = new ClassFactory<T>();
        HRESULT hr = factory->QueryInterface(iid, object);
        factory->Release();
        return hr;
    });
}

// A counted reference: releases what it holds.
template <class I>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr& o) : p_(o.p_) {
        if (p_ != nullptr) p_->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller already owns.
    static ComPtr Attach(I* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    void Reset() {
        if (p_ != nullptr) p_->Release();
        p_ = nullptr;
    }
    // For out-parameters: releases the current reference first.
    void** PutVoid() {
        Reset();
        return reinterpret_cast<void**>(&p_);
    }
    I** Put() {
        Reset();
        return &p_;
    }
    I* Get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    I* p_ = nullptr;
};

// An out-buffer from CoTaskMemAlloc, freed with CoTaskMemFree.
struct CoTaskMemDeleter {
    void operator()(void* p) const { CoTaskMemFree(p); }
};
template <class T>
using CoTaskMemPtr = std::unique_ptr<T, CoTaskMemDeleter>;

// Copies text into a new CoTaskMem block; E_OUTOFMEMORY when allocation fails.
HRESULT CoTaskMemString(const std::string& text, char** out);

// Copies an array into a new CoTaskMem block (a block is requested even for
// zero elements); E_OUTOFMEMORY when allocation fails.
template <class T>
HRESULT CoTaskMemArray(const T* data, size_t count, T** out) {
    auto* block = static_cast<T*>(CoTaskMemAlloc(count * sizeof(T)));
    if (block == nullptr) return E_OUTOFMEMORY;
    for (size_t i = 0; i < count; ++i) block[i] = data[i];
    *out = block;
    return S_OK;
}

}  // namespace vox
