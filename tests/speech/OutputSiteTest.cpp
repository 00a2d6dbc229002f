// The output site: events translated to input positions and output offsets
// across pieces, aborts from the sink and from another flag, and the files
// the sinks write.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>

#include "platform/Utf16.h"
#include "speech/FileSinks.h"
#include "speech/OutputSite.h"
#include "support/TempRegistry.h"

namespace vox::speech {
namespace {

const WAVEFORMATEX kFormat{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};

class Collect final : public AudioSink {
  public:
    std::vector<uint8_t> bytes;
    size_t refuseAfter = SIZE_MAX;
    bool Open(const WAVEFORMATEX&, std::string&) override { return true; }
    bool Write(const uint8_t* data, size_t size) override {
        if (bytes.size() + size > refuseAfter) return false;
        bytes.insert(bytes.end(), data, data + size);
        return true;
    }
    bool Close(std::string&) override { return true; }
};

TEST(OutputSite, EventsCarryInputPositionsAndOutputOffsets) {
    Collect sink;
    OutputSite site(sink, kFormat);
    std::vector<SpeechEvent> events;
    site.SetEventCallback([&](const SpeechEvent& e) { events.push_back(e); });
    site.SetPhonemeNamer([](int32_t code) { return code == 2 ? std::string("A0") : ""; });

    const FragmentList first = FragmentsFromText("Мир.", 0);
    site.BeginPiece(first);
    const uint8_t audio[4410] = {};
    site.Write(audio, sizeof audio, nullptr);
    site.EndPiece();

    const FragmentList second = FragmentsFromText("😀 да", 6);
    site.BeginPiece(second);
    const SPEVENT word{SPEI_WORD_BOUNDARY, SPET_LPARAM_IS_UNDEFINED, 0, 0, 2, 3};
    const SPEVENT phoneme{SPEI_PHONEME, SPET_LPARAM_IS_UNDEFINED, 0, 2, (50u << 16) | 7, 2};
    const std::u16string name = u"m";
    const SPEVENT mark{SPEI_TTS_BOOKMARK,
                       SPET_LPARAM_IS_STRING,
                       0,
                       4,
                       0,
                       reinterpret_cast<intptr_t>(name.c_str())};
    const SPEVENT all[] = {word, phoneme, mark};
    site.AddEvents(all, 3);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].pos, 6u + 2u);  // the emoji is one character
    EXPECT_EQ(events[0].len, 2u);
    EXPECT_EQ(events[0].text, "да");
    EXPECT_EQ(events[0].bytes, 4410u);
    EXPECT_EQ(events[0].ms, 100u);
    EXPECT_EQ(events[1].phoneme, "A0");
    EXPECT_EQ(events[1].durationMs, 50u);
    EXPECT_EQ(events[2].text, "m");
    EXPECT_EQ(EventJson(events[0]),
              "{\"type\":\"word\",\"ms\":100,\"bytes\":4410,\"pos\":8,\"len\":2,\"text\":\"да\"}");
}

TEST(OutputSite, ARefusingSinkOrAnOutsideFlagAborts) {
    Collect sink;
    sink.refuseAfter = 10;
    OutputSite site(sink, kFormat);
    const uint8_t audio[8] = {};
    EXPECT_EQ(site.Write(audio, 8, nullptr), S_OK);
    EXPECT_EQ(site.GetActions(), SPVES_CONTINUE);
    EXPECT_EQ(site.Write(audio, 8, nullptr), SP_AUDIO_STOPPED);
    EXPECT_EQ(site.GetActions(), SPVES_ABORT);

    Collect other;
    OutputSite second(other, kFormat);
    std::atomic<bool> flag{false};
    second.SetAbortFlag(&flag);
    EXPECT_EQ(second.GetActions(), SPVES_CONTINUE);
    flag = true;
    EXPECT_EQ(second.GetActions(), SPVES_ABORT);
}

TEST(FileSinks, WavFileHeaderIsCompletedAtTheEnd) {
    test::TempDir dir;
    WavFileSink sink(dir.File("a.wav"));
    std::string error;
    ASSERT_TRUE(sink.Open(kFormat, error));
    const uint8_t samples[6] = {1, 2, 3, 4, 5, 6};
    sink.Write(samples, 6);
    ASSERT_TRUE(sink.Close(error));
    const std::string file = test::ReadFile(dir.File("a.wav"));
    ASSERT_EQ(file.size(), 50u);
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(file.substr(0, 44), WavHeader(kFormat, 6));
    EXPECT_EQ(static_cast<uint8_t>(file[40]), 6);

    WavFileSink bad("/nonexistent-dir/a.wav");
    EXPECT_FALSE(bad.Open(kFormat, error));
    EXPECT_NE(error.find("/nonexistent-dir/a.wav"), std::string::npos);
}

TEST(FileSinks, AClosedPipeEndsTheOutputQuietly) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    auto previous = std::signal(SIGPIPE, SIG_IGN);
    StdoutSink sink(false, fds[1]);
    std::string error;
    ASSERT_TRUE(sink.Open(kFormat, error));
    const uint8_t samples[4] = {};
    EXPECT_FALSE(sink.Write(samples, 4));
    EXPECT_TRUE(sink.PipeClosed());
    EXPECT_TRUE(sink.Close(error));
    std::signal(SIGPIPE, previous);
    ::close(fds[1]);
}

}  // namespace
}  // namespace vox::speech
