// The module's side of the speech-dispatcher protocol, driven through pipes
// as the server drives it.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "speechd/FakeSynthesizer.h"
#include "tools/sd_voxamen/KeyNames.h"
#include "tools/sd_voxamen/ModuleConfig.h"
#include "tools/sd_voxamen/ModuleSession.h"

namespace sdvox {
namespace {

// A module session on a thread, with the server's ends of its pipes.
class Conversation {
  public:
    Conversation() {
        EXPECT_EQ(pipe(to_module_), 0);
        EXPECT_EQ(pipe(from_module_), 0);
        channel_ = std::make_unique<ProtocolChannel>(to_module_[0], from_module_[1]);
        thread_ = std::thread([this] {
            ModuleSession session(synth, *channel_);
            status_ = session.Run();
            close(from_module_[1]);
        });
    }
    ~Conversation() {
        if (to_module_[1] >= 0) close(to_module_[1]);
        thread_.join();
        close(to_module_[0]);
        close(from_module_[0]);
    }
    void Send(const std::string& text) {
        ASSERT_EQ(write(to_module_[1], text.data(), text.size()), ssize_t(text.size()));
    }
    void CloseInput() {
        close(to_module_[1]);
        to_module_[1] = -1;
    }
    // Reads until the output holds `until` `count` times (or 5 s pass);
    // returns all read so far.
    std::string ReadUntil(const std::string& until, int count = 1) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        auto seen = [&] {
            int n = 0;
            for (size_t at = received_.find(until); at != std::string::npos;
                 at = received_.find(until, at + 1))
                ++n;
            return n >= count;
        };
        while (!seen() && std::chrono::steady_clock::now() < deadline) {
            pollfd p{from_module_[0], POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            char buf[65536];
            ssize_t n = read(from_module_[0], buf, sizeof buf);
            if (n <= 0) break;
            received_.append(buf, static_cast<size_t>(n));
        }
        return received_;
    }
    // The text the module wrote, with audio payloads shown as "<N samples>".
    std::string Transcript(const std::string& until) {
        std::string raw = ReadUntil(until), out;
        size_t at = 0;
        while (at < raw.size()) {
            size_t audio = raw.find("705-AUDIO", at);
            if (audio == std::string::npos) {
                out += raw.substr(at);
                break;
            }
            out += raw.substr(at, audio - at);
            size_t end = raw.find("\n705 AUDIO\n", audio);
            if (end == std::string::npos) break;
            std::vector<uint8_t> pcm = UnescapeAudio(raw.substr(audio + 10, end - audio - 10));
            out += "705-AUDIO <" + std::to_string(pcm.size() / 2) + " samples>\n705 AUDIO\n";
            at = end + 11;
        }
        return out;
    }
    int status() const { return status_; }

    test::FakeSynthesizer synth;

  private:
    int to_module_[2];
    int from_module_[2];
    std::unique_ptr<ProtocolChannel> channel_;
    std::thread thread_;
    std::string received_;
    int status_ = -1;
};

const char* kAudioHeader =
    "705-bits=16\n705-num_channels=1\n705-sample_rate=22050\n705-num_samples=100\n"
    "705-big_endian=0\n705-AUDIO <100 samples>\n705 AUDIO\n";

TEST(SpeechdProtocol, RecordedConversation) {
    Conversation c;
    c.Send(
        "INIT\nAUDIO\naudio_output_method=server\n.\nLOGLEVEL\nlog_level=3\n.\n"
        "LIST VOICES\nSET\nrate=30\npitch=-20\nvolume=50\npunctuation_mode=some\n"
        "spelling_mode=off\ncap_let_recogn=none\nvoice=male1\nlanguage=ru\n"
        "synthesis_voice=NULL\n.\nSPEAK\n<speak>Привет, мир.<mark name=\"__spd_0\"/> "
        "Да</speak>\n.\n");
    std::string expected =
        std::string(
            "299-fake engine\n299 OK LOADED SUCCESSFULLY\n"
            "207 OK RECEIVING AUDIO SETTINGS\n203 OK AUDIO INITIALIZED\n"
            "207 OK RECEIVING LOGLEVEL SETTINGS\n203 OK LOGLEVEL SET\n"
            "200-ru-nsh\tru\tnone\n200-ru-anna\tru\tnone\n200 OK VOICE LIST SENT\n"
            "203 OK RECEIVING SETTINGS\n203 OK SETTINGS RECEIVED\n"
            "202 OK RECEIVING MESSAGE\n200 OK SPEAKING\n701 BEGIN\n") +
        kAudioHeader + kAudioHeader + "700-__spd_0\n700 INDEX MARK\n" + kAudioHeader + "702 END\n";
    EXPECT_EQ(c.Transcript("702 END\n"), expected);
    c.Send("QUIT\n");
    EXPECT_NE(c.ReadUntil("210 OK QUIT\n").find("210 OK QUIT\n"), std::string::npos);
    ASSERT_EQ(c.synth.spoken.size(), 1u);
    const SpeechSettings& s = c.synth.spoken[0].settings;
    EXPECT_EQ(s.rate, 30);
    EXPECT_EQ(s.pitch, -20);
    EXPECT_EQ(s.volume, 50);
    EXPECT_EQ(s.punctuation, PunctuationMode::Some);
    EXPECT_EQ(s.language, "ru");
    EXPECT_EQ(s.synthesis_voice, "");
    EXPECT_TRUE(c.synth.spoken[0].ssml);
}

TEST(SpeechdProtocol, ErrorsGetTheProtocolCodes) {
    Conversation c;
    c.Send(
        "HELLO\nSET\nrate=300\n.\nSET\nnonsense\n.\nSET\ncolour=red\n.\n"
        "AUDIO\naudio_output_method=alsa\n.\nLOGLEVEL\nlog_level=x\n.\n"
        "CHAR\na\nb\n.\nSPEAK\n.\nLIST VOICES de\nDEBUG SIDEWAYS\n");
    EXPECT_EQ(c.Transcript("304 CANT LIST VOICES\n302 ERROR BAD SYNTAX\n"),
              "300 ERR UNKNOWN COMMAND\n"
              "203 OK RECEIVING SETTINGS\n303 ERROR INVALID PARAMETER OR VALUE\n"
              "203 OK RECEIVING SETTINGS\n302 ERROR BAD SYNTAX\n"
              "203 OK RECEIVING SETTINGS\n303 ERROR INVALID PARAMETER OR VALUE\n"
              "207 OK RECEIVING AUDIO SETTINGS\n303 ERROR INVALID PARAMETER OR VALUE\n"
              "207 OK RECEIVING LOGLEVEL SETTINGS\n303 ERROR INVALID PARAMETER OR VALUE\n"
              "202 OK RECEIVING MESSAGE\n305 DATA MORE THAN ONE LINE\n"
              "202 OK RECEIVING MESSAGE\n301 ERROR CANT SPEAK\n"
              "304 CANT LIST VOICES\n302 ERROR BAD SYNTAX\n");
    c.synth.init_ok = false;
    c.Send("INIT\n");
    EXPECT_NE(c.ReadUntil("399 ERR CANT INIT MODULE\n").find("399-fake engine\n"),
              std::string::npos);
}

TEST(SpeechdProtocol, StopEndsSpeechAtTheNextWord) {
    Conversation c;
    std::string many;
    for (int i = 0; i < 200; ++i) many += "slow ";
    c.Send("SPEAK\n" + many + "\n.\n");
    c.ReadUntil("705 AUDIO\n");
    auto asked = std::chrono::steady_clock::now();
    c.Send("STOP\n");
    std::string out = c.Transcript("703 STOP\n");
    auto answered = std::chrono::steady_clock::now();
    EXPECT_NE(out.find("703 STOP\n"), std::string::npos);
    EXPECT_EQ(out.find("702 END"), std::string::npos);
    EXPECT_LT(answered - asked, std::chrono::seconds(1));  // generous: within a word or two
    // A new message after the stop speaks normally.
    c.Send("SPEAK\nда\n.\n");
    EXPECT_NE(c.ReadUntil("702 END\n").find("702 END\n"), std::string::npos);
}

TEST(SpeechdProtocol, PauseStopsAtTheNextServerMark) {
    Conversation c;
    c.Send("SPEAK\nslow slow <mark name=\"user\"/> slow <mark name=\"__spd_0\"/> slow slow\n.\n");
    c.ReadUntil("701 BEGIN\n");
    c.Send("PAUSE\n");
    std::string out = c.Transcript("704 PAUSE\n");
    EXPECT_NE(out.find("700-user\n700 INDEX MARK\n"), std::string::npos);
    EXPECT_NE(out.find("700-__spd_0\n700 INDEX MARK\n704 PAUSE\n"), std::string::npos);
}

TEST(SpeechdProtocol, CharactersKeysAndIcons) {
    Conversation c;
    c.Send("CHAR\nб\n.\n");
    c.ReadUntil("702 END\n");
    c.Send("SET\ncap_let_recogn=spell\n.\nCHAR\nЖ\n.\n");
    c.ReadUntil("702 END\n", 2);
    c.Send("SET\ncap_let_recogn=icon\n.\nCHAR\nQ\n.\n");
    c.ReadUntil("702 END\n", 3);
    c.Send("KEY\ncontrol_alt_delete\n.\n");
    c.ReadUntil("702 END\n", 4);
    c.Send("SOUND_ICON\nbell\n.\n");
    std::string out = c.Transcript("706-bell\n706 ICON\n702 END\n");
    EXPECT_NE(out.find("706-capital\n706 ICON\n"), std::string::npos);
    std::lock_guard<std::mutex> lock(c.synth.mutex);
    ASSERT_EQ(c.synth.spoken.size(), 4u);
    EXPECT_EQ(c.synth.spoken[0].text, "бэ");
    EXPECT_FALSE(c.synth.spoken[0].ssml);
    EXPECT_EQ(c.synth.spoken[1].text, "большая жэ");
    EXPECT_EQ(c.synth.spoken[2].text, "кью");
    EXPECT_EQ(c.synth.spoken[3].text, "контрол альт удалить");
}

TEST(SpeechdProtocol, ServerClosingThePipeEndsQuietly) {
    Conversation c;
    c.Send("SPEAK\nslow slow slow\n.\n");
    c.ReadUntil("701 BEGIN\n");
    c.CloseInput();
    c.ReadUntil("\x01never");  // until the module closes its output
    EXPECT_EQ(c.status(), 0);
}

TEST(SpeechdProtocol, AudioEscapingRoundTrips) {
    // Every byte value, including LF and the escape byte itself.
    std::vector<int16_t> samples;
    for (int v = -32768; v <= 32767; v += 97) samples.push_back(static_cast<int16_t>(v));
    samples.push_back(0x0A7D);
    samples.push_back(0x7D0A);
    std::string event = EncodeAudioEvent(samples.data(), samples.size(), 22050);
    size_t start = event.find("705-AUDIO") + 10;
    size_t end = event.rfind("\n705 AUDIO\n");
    ASSERT_EQ(end, event.size() - 11);
    std::string_view payload(event.data() + start, end - start);
    EXPECT_EQ(payload.find('\n'), std::string_view::npos);
    std::vector<uint8_t> bytes = UnescapeAudio(payload);
    ASSERT_EQ(bytes.size(), samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i)
        EXPECT_EQ(static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8), samples[i]);
}

TEST(SpeechdProtocol, DotStuffingAndLongLines) {
    Conversation c;
    std::string big(1 << 20, 'a');  // one 1 MB word: spoken, not a crash
    c.Send("SPEAK\n..leading dot\n" + big + "\n.\n");
    c.ReadUntil("702 END\n");
    std::lock_guard<std::mutex> lock(c.synth.mutex);
    ASSERT_EQ(c.synth.spoken.size(), 1u);
    EXPECT_EQ(c.synth.spoken[0].text.substr(0, 13), ".leading dot\n");
}

TEST(SpeechdSettings, ScalesMapMonotonically) {
    for (int v = -100; v < 100; ++v) {
        EXPECT_LE(PlatformRate(v), PlatformRate(v + 1));
        EXPECT_LE(PlatformPitch(v), PlatformPitch(v + 1));
        EXPECT_LE(PlatformVolume(v), PlatformVolume(v + 1));
    }
    EXPECT_EQ(PlatformRate(-100), -10);
    EXPECT_EQ(PlatformRate(0), 0);
    EXPECT_EQ(PlatformRate(100), 10);
    EXPECT_EQ(PlatformPitch(-100), -10);
    EXPECT_EQ(PlatformVolume(-100), 0);
    EXPECT_EQ(PlatformVolume(100), 100);
}

TEST(SpeechdNames, CharactersAndKeysInRussian) {
    bool capital = true;
    EXPECT_EQ(CharacterName("б", &capital), "бэ");
    EXPECT_FALSE(capital);
    EXPECT_EQ(CharacterName("Й", &capital), "и краткое");
    EXPECT_TRUE(capital);
    EXPECT_EQ(CharacterName(" "), "пробел");
    EXPECT_EQ(CharacterName("?"), "вопросительный знак");
    EXPECT_EQ(CharacterName("7"), "семь");
    EXPECT_EQ(CharacterName("☺"), "☺");
    EXPECT_EQ(KeyName("space"), "пробел");
    EXPECT_EQ(KeyName("enter"), "ввод");
    EXPECT_EQ(KeyName("shift_a"), "шифт эй");
    EXPECT_EQ(KeyName("f12"), "эф двенадцать");
    EXPECT_EQ(KeyName("f24"), "эф двадцать четыре");
    EXPECT_EQ(KeyName("kp-5"), "пять на цифровой клавиатуре");
    EXPECT_EQ(KeyName("ы"), "ы");
    EXPECT_EQ(KeyName("zq"), "зед кью");
}

}  // namespace
}  // namespace sdvox

namespace sdvox {
namespace {

TEST(SpeechdConfig, ReadsSettingsAndNamesBadLines) {
    char path[] = "/tmp/voxamen-conf-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    std::string text =
        "# comment\nVoxamenDefaultVoice \"ru-nsh\"\nVoxamenRateOffset 20\n"
        "VoxamenRateOffset 500\nColour red\nLonely\n";
    ASSERT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
    close(fd);
    std::vector<std::string> warnings;
    ModuleConfig config = ReadModuleConfig(path, &warnings);
    unlink(path);
    EXPECT_EQ(config.default_voice, "ru-nsh");
    EXPECT_EQ(config.rate_offset, 20);
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[0].find(":4: VoxamenRateOffset"), std::string::npos);
    EXPECT_NE(warnings[1].find(":5: unknown setting \"Colour\""), std::string::npos);
    EXPECT_NE(warnings[2].find(":6: a setting needs a value"), std::string::npos);
    EXPECT_EQ(ReadModuleConfig("/nonexistent/voxamen.conf", &warnings).rate_offset, 0);
}

}  // namespace
}  // namespace sdvox
