// The module libraries as a client sees them: loaded by path or created by
// class id through the registry, with exactly the four exports.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <clocale>
#include <cstdio>
#include <set>
#include <sstream>

#include "phonetic/ModuleFacts.h"
#include "platform/ComBinding.h"
#include "platform/Guid.h"
#include "platform/Registry.h"
#include "support/TempRegistry.h"
#include "tests/phonetic/PhoneticTestSupport.h"
#include "tools/voxamen/Command.h"

namespace vox {
namespace {

std::string LibraryPath(const ModuleFacts& m) {
    return VOXAMEN_LIB_DIR "/" + std::string(m.libraryFile);
}

template <class Fn>
Fn Entry(const ModuleFacts& m, const char* name) {
    void* handle = ::dlopen(LibraryPath(m).c_str(), RTLD_NOW | RTLD_LOCAL);  // stays loaded
    EXPECT_NE(handle, nullptr) << ::dlerror();
    return handle != nullptr ? reinterpret_cast<Fn>(::dlsym(handle, name)) : nullptr;
}

ComPtr<IClassFactory> Factory(const ModuleFacts& m) {
    ComPtr<IClassFactory> factory;
    auto get = Entry<DllGetClassObjectFn>(m, "DllGetClassObject");
    EXPECT_EQ(get(m.clsid, IID_IClassFactory, factory.PutVoid()), S_OK);
    return factory;
}

ComPtr<IPhonetic> Create(const ModuleFacts& m) {
    ComPtr<IPhonetic> module;
    EXPECT_EQ(Factory(m)->CreateInstance(nullptr, IID_IPhonetic, module.PutVoid()), S_OK);
    return module;
}

TEST(ModuleServer, ExportsExactlyTheFourEntryPoints) {
    for (const ModuleFacts& m : kPhoneticModules) {
        FILE* pipe = ::popen(("nm -D --defined-only '" + LibraryPath(m) + "'").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::set<std::string> names;
        char line[512];
        while (std::fgets(line, sizeof line, pipe) != nullptr) {
            std::istringstream fields(line);
            std::string address, type, name;
            if (fields >> address >> type >> name) names.insert(name);
        }
        EXPECT_EQ(::pclose(pipe), 0);
        EXPECT_EQ(names, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject",
                                                "DllRegisterServer", "DllUnregisterServer"}))
            << m.libraryFile;
    }
}

TEST(ModuleServer, ClassObjectServesOnlyItsModule) {
    const uint64_t stressedA[] = {0x100000000000002E, 0x500000000000002E, 0x500000000000002E,
                                  0x500000000000002E};
    const int32_t inventory[] = {60, 62, 105, 62};
    for (size_t i = 0; i < kPhoneticModules.size(); ++i) {
        const ModuleFacts& m = kPhoneticModules[i];
        ComPtr<IPhonetic> module = Create(m);
        ASSERT_TRUE(module) << m.libraryFile;
        uint64_t sd = 0;
        EXPECT_EQ(module->GetSoundDescription("A0", &sd), S_OK);
        EXPECT_EQ(sd, stressedA[i]);
        int32_t code = 0;
        module->GetPhonemeCode("_", &code);
        EXPECT_EQ(code, inventory[i]);

        void* object = reinterpret_cast<void*>(1);
        auto get = Entry<DllGetClassObjectFn>(m, "DllGetClassObject");
        const CLSID& other = kPhoneticModules[(i + 1) % 4].clsid;
        EXPECT_EQ(get(other, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_EQ(object, nullptr);
        ComPtr<IClassFactory> factory = Factory(m);
        EXPECT_EQ(factory->CreateInstance(module.Get(), IID_IUnknown, &object),
                  CLASS_E_NOAGGREGATION);
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
    }
    // Module 419.0 finds the rule file shipped beside its library.
    EXPECT_EQ(test::Allophones(*Create(kPhoneticModules[0]).Get(), "#,M',A0,T,#"),
              "#,M'2,A021,T3,#");
}

TEST(ModuleServer, CanUnloadOnlyWithoutObjectsAndLocks) {
    for (const ModuleFacts& m : kPhoneticModules) {
        auto canUnload = Entry<DllCanUnloadNowFn>(m, "DllCanUnloadNow");
        EXPECT_EQ(canUnload(), S_OK) << m.libraryFile;
        ComPtr<IClassFactory> factory = Factory(m);
        EXPECT_EQ(canUnload(), S_OK) << "a class factory alone does not hold the library";
        factory->LockServer(1);
        EXPECT_EQ(canUnload(), S_FALSE);
        factory->LockServer(0);
        ComPtr<IPhonetic> module = Create(m);
        ComPtr<IPhonetic> second = module;
        EXPECT_EQ(canUnload(), S_FALSE);
        module.Reset();
        EXPECT_EQ(canUnload(), S_FALSE);
        second.Reset();
        EXPECT_EQ(canUnload(), S_OK);
    }
}

TEST(ModuleServer, LoadingAndUsingAModuleKeepsTheLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    for (const ModuleFacts& m : kPhoneticModules) {
        char* out = nullptr;
        Create(m)->LettersToPhonemes("\xec\xee\x2b\xf0\xe5", &out);  // "мо+ре"
        test::Take(out);
    }
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
}

std::string Text(reg::Root root, const std::string& path, const std::string& name) {
    reg::Key key;
    std::string text;
    if (reg::Key::Open(root, path, key) != reg::Status::Ok ||
        key.QueryText(name, text) != reg::Status::Ok)
        return "<missing>";
    return text;
}

bool KeyExists(reg::Root root, const std::string& path) {
    reg::Key key;
    return reg::Key::Open(root, path, key) == reg::Status::Ok;
}

TEST(ModuleRegistration, RegisterFindCreateAndUnregister) {
    test::TempRegistry registry;
    for (const ModuleFacts& m : kPhoneticModules)
        ASSERT_EQ(Entry<DllRegisterServerFn>(m, "DllRegisterServer")(), S_OK);

    const int32_t codeOfO1[] = {0, 34, 58, 34};
    for (const ModuleFacts& m : kPhoneticModules) {
        const std::string language = "Software\\Vostrelin\\Phonetic\\" + std::string(m.languageKey);
        const std::string classKey = "CLSID\\" + GuidToString(m.clsid);
        EXPECT_EQ(Text(reg::Root::LocalMachine, language, "CLSID"), GuidToString(m.clsid));
        EXPECT_EQ(Text(reg::Root::ClassesRoot, classKey, ""), m.description);
        EXPECT_EQ(Text(reg::Root::ClassesRoot, classKey + "\\InprocServer32", ""),
                  RegisteredServerPath(m.clsid));
        EXPECT_EQ(Text(reg::Root::ClassesRoot, classKey + "\\InprocServer32", "ThreadingModel"),
                  "Both");
        EXPECT_EQ(Text(reg::Root::ClassesRoot, classKey + "\\ProgID", ""), m.progId);
        EXPECT_EQ(Text(reg::Root::ClassesRoot, classKey + "\\TypeLib", ""),
                  GuidToString(m.typeLib));
        EXPECT_EQ(Text(reg::Root::ClassesRoot, classKey + "\\Properties", "Name"), "Russian");
        EXPECT_EQ(Text(reg::Root::ClassesRoot, classKey + "\\Properties", "Lang"), m.languageKey);
        EXPECT_TRUE(KeyExists(
            reg::Root::ClassesRoot,
            classKey + "\\Implemented Categories\\{1AB21F59-830C-4e96-9A6D-64360B0498F3}"));
        EXPECT_EQ(
            Text(reg::Root::ClassesRoot, std::string(m.versionIndependentProgId) + "\\CurVer", ""),
            m.progId);

        // Found and created the way the engine does it.
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromString(Text(reg::Root::LocalMachine, language, "CLSID").c_str(), &clsid),
                  S_OK);
        ComPtr<IPhonetic> module;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IPhonetic, module.PutVoid()),
                  S_OK);
        int32_t code = -1;
        module->GetPhonemeCode("O1", &code);
        EXPECT_EQ(code, codeOfO1[&m - kPhoneticModules.data()]);
    }

    const ModuleFacts& m2 = kPhoneticModules[2];
    ASSERT_EQ(Entry<DllUnregisterServerFn>(m2, "DllUnregisterServer")(), S_OK);
    EXPECT_TRUE(KeyExists(reg::Root::LocalMachine, "SOFTWARE\\Vostrelin\\Phonetic\\419.2"));
    EXPECT_EQ(Text(reg::Root::LocalMachine, "SOFTWARE\\Vostrelin\\Phonetic\\419.2", "CLSID"),
              "<missing>");
    EXPECT_FALSE(KeyExists(reg::Root::ClassesRoot, "CLSID\\" + GuidToString(m2.clsid)));
    EXPECT_FALSE(KeyExists(reg::Root::ClassesRoot, std::string(m2.progId)));
    EXPECT_TRUE(KeyExists(reg::Root::ClassesRoot, "CLSID"));
    EXPECT_EQ(Text(reg::Root::LocalMachine, "SOFTWARE\\Vostrelin\\Phonetic\\419.3", "CLSID"),
              GuidToString(CLSID_Allomod_419_3));
    EXPECT_TRUE(KeyExists(reg::Root::ClassesRoot,
                          "CLSID\\" + GuidToString(CLSID_Allomod_419_1) + "\\Properties"));
}

int RunTool(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::ostringstream o, e;
    int status = cli::RunCommandLine(args, o, e);
    out = o.str();
    err = e.str();
    return status;
}

TEST(ModuleCommands, AnalyseAndModulesUseTheRegistry) {
    test::TempRegistry registry;
    std::string out, err;
    const std::string phrase = "#,K,A1,R,O0,V,A2,_,M,O0,L',I2,T,#";
    EXPECT_EQ(RunTool({"analyse", phrase}, out, err), cli::kExitFailure);
    EXPECT_NE(err.find("419.0 is not registered"), std::string::npos) << err;
    EXPECT_NE(err.find("voxamen register build/lib/*.so"), std::string::npos) << err;

    for (const ModuleFacts& m : kPhoneticModules)
        Entry<DllRegisterServerFn>(m, "DllRegisterServer")();
    ASSERT_EQ(RunTool({"analyse", phrase}, out, err), cli::kExitOk) << err;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 15);
    EXPECT_NE(out.find("K2         25    20      0x0000458548425A02  Consonant, Voiceless"),
              std::string::npos)
        << out;
    EXPECT_EQ(RunTool({"analyse", "#,T,O2,#", "--module", "419.0"}, out, err), cli::kExitFailure);
    EXPECT_NE(err.find("unknown phoneme \"O2\""), std::string::npos) << err;

    Entry<DllUnregisterServerFn>(kPhoneticModules[3], "DllUnregisterServer")();
    ASSERT_EQ(RunTool({"modules"}, out, err), cli::kExitOk) << err;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5) << out;
    EXPECT_NE(out.find("419.2   Russian  419.2  1.0.0.1 (Allomod 419 2 Module)"), std::string::npos)
        << out;
    EXPECT_NE(out.find(LibraryPath(kPhoneticModules[1])), std::string::npos) << out;
    EXPECT_NE(out.find("419.3   -"), std::string::npos) << out;
}

}  // namespace
}  // namespace vox
