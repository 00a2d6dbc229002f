// The exports of phoneconv-419.so: the Russian phone converter's class, and
// its registration with the platform's token of the category
// HKLM\SOFTWARE\Microsoft\Speech\PhoneConverters (Language=419).
#include "platform/ComServer.h"
#include "platform/Guid.h"
#include "speech/PhoneConverter419.h"

namespace {

constexpr const char* kToken = "SOFTWARE\\Microsoft\\Speech\\PhoneConverters\\Tokens\\Russian";

vox::ClassRegistration ConverterClass() {
    return {CLSID_PhoneConverter419,
            "Voxamen Russian Phone Converter",
            "Voxamen.PhoneConverter419.1",
            "Voxamen.PhoneConverter419",
            // {3A7C5E92-2B4D-4F86-9E1A-5C0D7B3F2E48}
            {0x3A7C5E92, 0x2B4D, 0x4F86, {0x9E, 0x1A, 0x5C, 0x0D, 0x7B, 0x3F, 0x2E, 0x48}},
            "Voxamen Phone Converter 1.0 Type Library"};
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid,
                                                                 void** object) {
    return vox::GetClassObjectFor<vox::speech::PhoneConverter419>(CLSID_PhoneConverter419, clsid,
                                                                  iid, object);
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return vox::ServerLifetime::CanUnloadNow();
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    return vox::Guarded([] {
        return vox::RegisterServer(ConverterClass(), [](vox::reg::Hive& hive) {
            hive.SetValue(kToken, vox::reg::MakeString("", "Russian phone converter"));
            hive.SetValue(
                kToken, vox::reg::MakeString("CLSID", vox::GuidToString(CLSID_PhoneConverter419)));
            hive.SetValue(std::string(kToken) + "\\Attributes",
                          vox::reg::MakeString("Language", "419"));
        });
    });
}

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return vox::Guarded([] {
        return vox::UnregisterServer(ConverterClass(),
                                     [](vox::reg::Hive& hive) { hive.DeleteTree(kToken); });
    });
}
}
