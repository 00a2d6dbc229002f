// A voice database rewritten in place or cut short while a client speaks:
// the host lives on (no SIGBUS), phrases spoken meanwhile may fail, and once
// the file is whole again the engine has opened it again and speaks with the
// new units. Voices are meant to be installed by renaming a new file over
// the old one; this is the careless way.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "interfaces/IPhonetic.h"
#include "interfaces/IVoxamen.h"
#include "platform/ComKit.h"
#include "platform/Text.h"
#include "support/ServerLibrary.h"
#include "support/SyntheticVoice.h"
#include "support/TempRegistry.h"

namespace vox {
namespace {

constexpr const char* kPhrase = "#,M,A0,S,A2,#";

template <class I>
ComPtr<I> Create(const CLSID& clsid, const IID& iid) {
    ComPtr<I> object;
    CreateRunningObject(clsid, iid, object.PutVoid());
    return object;
}

// What `cp` does to an existing file: truncate it, then write it again in
// pieces, in the same inode.
void RewriteInPlace(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    for (size_t done = 0; done < bytes.size();) {
        const size_t piece = std::min<size_t>(4096, bytes.size() - done);
        ASSERT_EQ(::write(fd, bytes.data() + done, piece), static_cast<ssize_t>(piece));
        done += piece;
    }
    ::close(fd);
}

class VoiceFileRewrite : public testing::Test {
  protected:
    void SetUp() override {
        // The engine's messages about half-written files are expected here.
        ::setenv("VOXAMEN_MESSAGES", "none", 1);
        ASSERT_EQ(test::ServerLibrary("voxamen.so").Register(), S_OK);
        ASSERT_EQ(test::ServerLibrary("allomod-419-1.so").Register(), S_OK);
        ComPtr<IPhonetic> module = Create<IPhonetic>(CLSID_Allomod_419_1, IID_IPhonetic);
        ASSERT_TRUE(module);
        char* list = nullptr;
        ASSERT_EQ(module->PhonemesToAllophones(kPhrase, &list), S_OK);
        CoTaskMemPtr<char> owned(list);
        // Two versions of the voice: the same units, longer in the second.
        test::SyntheticVoice shortVoice, longVoice;
        for (const std::string& name : SplitList(list)) {
            if (name == "#" || shortVoice.Find(name) != nullptr) continue;
            shortVoice.AddVowel(name, 3);
            longVoice.AddVowel(name, 40);
        }
        shortBytes_ = shortVoice.Bytes();
        longBytes_ = longVoice.Bytes();
        path_ = dir_.File("voice.abs");
        test::WriteFile(path_, shortBytes_);
        test::InstallSyntheticVoice(registry_, "ru", path_, "419", "1");
        engine_ = Create<IVoxamen>(CLSID_Voxamen, IID_IVoxamen);
        ASSERT_TRUE(engine_);
        ASSERT_EQ(engine_->SetVoice("ru"), S_OK);
    }

    // The phrase's size in bytes, or -1 when Speak fails.
    int32_t Speak() {
        uint8_t* audio = nullptr;
        int32_t size = 0;
        const HRESULT hr = engine_->Speak(kPhrase, "(.)|(.)", nullptr, &audio, &size);
        CoTaskMemPtr<uint8_t> owned(audio);
        return SUCCEEDED(hr) ? size : -1;
    }

    void TearDown() override { ::unsetenv("VOXAMEN_MESSAGES"); }

    test::TempRegistry registry_;
    test::TempDir dir_;
    std::string path_, shortBytes_, longBytes_;
    ComPtr<IVoxamen> engine_;
};

TEST_F(VoiceFileRewrite, TheHostSurvivesAndTheNewFileIsUsed) {
    const int32_t shortSize = Speak();
    ASSERT_GT(shortSize, 0);

    std::atomic<bool> stop{false};
    std::atomic<int> phrases{0};
    std::thread speaker([&] {
        while (!stop) {
            Speak();
            ++phrases;
        }
    });
    for (int round = 0; round < 200; ++round) {
        RewriteInPlace(path_, round % 2 == 0 ? longBytes_ : shortBytes_);
        if (round % 5 == 0) {
            ASSERT_EQ(::truncate(path_.c_str(), 40), 0);  // as `truncate` does
        }
    }
    RewriteInPlace(path_, longBytes_);
    stop = true;
    speaker.join();
    EXPECT_GT(phrases.load(), 0);

    const int32_t longSize = Speak();
    EXPECT_GT(longSize, shortSize) << "the rewritten file's units are used";
    RewriteInPlace(path_, shortBytes_);
    EXPECT_EQ(Speak(), shortSize);
}

TEST_F(VoiceFileRewrite, AVoiceInstalledByRenamingIsPickedUpAtTheNextPhrase) {
    const int32_t shortSize = Speak();
    test::WriteFile(dir_.File("voice.abs.new"), longBytes_);
    ASSERT_EQ(::rename(dir_.File("voice.abs.new").c_str(), path_.c_str()), 0);
    EXPECT_GT(Speak(), shortSize);
}

}  // namespace
}  // namespace vox
