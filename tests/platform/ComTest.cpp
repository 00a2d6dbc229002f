// The COM kit (objects, factories, lifetime, guards) and the binding by
// class id through the registry.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/ComBinding.h"
#include "platform/ComKit.h"
#include "platform/Guid.h"
#include "platform/Registry.h"
#include "support/CapturedMessages.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

struct IFirst : IUnknown {
    virtual int First() = 0;
};
struct ISecond : IUnknown {
    virtual int Second() = 0;
};
constexpr IID IID_IFirst = {0x11111111, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID IID_ISecond = {0x22222222, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};

class Both final
    : public ComObject<Interface<IFirst, IID_IFirst>, Interface<ISecond, IID_ISecond>> {
  public:
    int First() override { return 1; }
    int Second() override { return 2; }
};

TEST(ComKit, QueryInterfaceFindsEveryListedInterfaceOfOneObject) {
    ComPtr<IFirst> first = ComPtr<IFirst>::Attach(new Both());
    ComPtr<ISecond> second;
    ASSERT_EQ(first->QueryInterface(IID_ISecond, second.PutVoid()), S_OK);
    EXPECT_EQ(second->Second(), 2);
    ComPtr<IUnknown> a, b;
    first->QueryInterface(IID_IUnknown, a.PutVoid());
    second->QueryInterface(IID_IUnknown, b.PutVoid());
    EXPECT_EQ(a.Get(), b.Get()) << "one identity for IUnknown";
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(first->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(first->QueryInterface(IID_IFirst, nullptr), E_POINTER);
}

TEST(ComKit, LiveObjectsAndLocksKeepTheLibrary) {
    EXPECT_EQ(ServerLifetime::CanUnloadNow(), S_OK);
    {
        ComPtr<IFirst> object = ComPtr<IFirst>::Attach(new Both());
        EXPECT_EQ(ServerLifetime::CanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(ServerLifetime::CanUnloadNow(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(GetClassObjectFor<Both>(IID_IFirst, IID_IFirst, IID_IClassFactory, factory.PutVoid()),
              S_OK);
    EXPECT_EQ(ServerLifetime::CanUnloadNow(), S_OK) << "a factory alone does not count";
    factory->LockServer(1);
    EXPECT_EQ(ServerLifetime::CanUnloadNow(), S_FALSE);
    factory->LockServer(0);
    EXPECT_EQ(ServerLifetime::CanUnloadNow(), S_OK);
}

TEST(ComKit, FactoryCreatesRefusesAggregationAndUnknownClasses) {
    ComPtr<IClassFactory> factory;
    void* out = nullptr;
    EXPECT_EQ(GetClassObjectFor<Both>(IID_IFirst, IID_ISecond, IID_IClassFactory, &out),
              CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(GetClassObjectFor<Both>(IID_IFirst, IID_IFirst, IID_IClassFactory, factory.PutVoid()),
              S_OK);
    ComPtr<ISecond> second;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_ISecond, second.PutVoid()), S_OK);
    EXPECT_EQ(second->Second(), 2);
    ComPtr<IUnknown> outer;
    EXPECT_EQ(factory->CreateInstance(second.Get(), IID_IUnknown, outer.PutVoid()),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, outer.PutVoid()), E_NOINTERFACE);
}

TEST(ComKit, GuardedTurnsExceptionsIntoResults) {
    test::CapturedMessages messages;
    EXPECT_EQ(Guarded([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(Guarded([]() -> HRESULT { throw std::runtime_error("boom"); }), E_UNEXPECTED);
    EXPECT_TRUE(messages.Contains("Voxamen", "boom"));
    EXPECT_EQ(Guarded([] { return S_FALSE; }), S_FALSE);
}

TEST(ComKit, CoTaskMemBlocksAreHeapBlocks) {
    char* text = nullptr;
    ASSERT_EQ(CoTaskMemString("abc", &text), S_OK);
    EXPECT_STREQ(text, "abc");
    std::free(text);  // any client may free() them
    int32_t* array = nullptr;
    ASSERT_EQ(CoTaskMemArray<int32_t>(nullptr, 0, &array), S_OK);
    EXPECT_NE(array, nullptr) << "a block is requested even for zero elements";
    CoTaskMemFree(array);
}

class Binding : public testing::Test {
  protected:
    void RegisterServer(const std::string& path) {
        reg::Key key;
        ASSERT_EQ(reg::Key::Create(reg::Root::ClassesRoot,
                                   "CLSID\\" + GuidToString(IID_IFirst) + "\\InprocServer32", key),
                  reg::Status::Ok);
        key.SetText("", path);
    }
    test::TempRegistry registry_;
};

TEST_F(Binding, UnregisteredClassIsReported) {
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(IID_IFirst, nullptr, CLSCTX_ALL, IID_IUnknown, &out),
              REGDB_E_CLASSNOTREG);
    EXPECT_NE(LastBindingError().find("not registered"), std::string::npos);
}

TEST_F(Binding, MissingLibraryIsReportedWithItsPath) {
    RegisterServer("/nonexistent/server.so");
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(IID_IFirst, nullptr, CLSCTX_ALL, IID_IUnknown, &out),
              CO_E_DLLNOTFOUND);
    EXPECT_NE(LastBindingError().find("/nonexistent/server.so"), std::string::npos);
}

TEST_F(Binding, LibraryWithoutEntryPointsIsReported) {
    RegisterServer("libm.so.6");
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(IID_IFirst, nullptr, CLSCTX_ALL, IID_IUnknown, &out),
              CO_E_ERRORINDLL);
    EXPECT_NE(LastBindingError().find("DllGetClassObject"), std::string::npos);
}

TEST_F(Binding, OnlyInProcessContextsAreServed) {
    RegisterServer("libm.so.6");
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(IID_IFirst, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &out),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(IID_IFirst, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);
}

}  // namespace
}  // namespace vox
