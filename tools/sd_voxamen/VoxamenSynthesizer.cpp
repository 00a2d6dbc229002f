#include "tools/sd_voxamen/VoxamenSynthesizer.h"

#include <algorithm>
#include <cstdio>
#include <deque>

#include "platform/Hresult.h"
#include "speech/AudioSink.h"
#include "speech/OutputSite.h"
#include "speech/VoiceTokens.h"
#include "speech/XmlFragments.h"

namespace sdvox {

namespace vs = vox::speech;

namespace {

constexpr uint32_t kSampleRate = 22050;

bool IsRussian(const vs::TokenInfo& voice) {
    return vs::MatchesAttributes(voice, "Language=419");
}
bool IsFemale(const vs::TokenInfo& voice) {
    return vs::MatchesAttributes(voice, "Gender=Female");
}

// Puts the engine's audio and its bookmarks back into one ordered stream:
// a bookmark is reported when the audio before it has been sent, whatever
// the order in which the engine hands over the two.
class OrderedStream {
  public:
    explicit OrderedStream(SynthesisOutput& output) : output_(output) {}

    bool Audio(const uint8_t* data, size_t size) {
        if (output_.StopRequested()) return false;
        pcm_.insert(pcm_.end(), data, data + size);
        size_t whole = pcm_.size() & ~size_t{1};
        size_t at = 0;
        while (at < whole) {
            size_t until = whole;
            if (!marks_.empty())
                until = std::clamp<uint64_t>(marks_.front().first - sent_, at, whole);
            if (until > at) Send(at, until);
            at = until;
            if (!marks_.empty() && marks_.front().first <= sent_) ReportFirstMark();
            if (output_.StopRequested()) return false;
        }
        pcm_.erase(pcm_.begin(), pcm_.begin() + static_cast<std::ptrdiff_t>(whole));
        return true;
    }

    void Mark(uint64_t byte_offset, std::string name) {
        marks_.emplace_back(byte_offset, std::move(name));
        while (!marks_.empty() && marks_.front().first <= sent_) ReportFirstMark();
    }

    // Marks beyond the last audio (a mark at the very end).
    void Finish() {
        while (!marks_.empty() && !output_.StopRequested()) ReportFirstMark();
    }

  private:
    void Send(size_t from, size_t to) {
        std::vector<int16_t> samples((to - from) / 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>(pcm_[from + 2 * i] | pcm_[from + 2 * i + 1] << 8);
        output_.Audio(samples.data(), samples.size(), static_cast<int>(kSampleRate));
        sent_ += to - from;
    }
    void ReportFirstMark() {
        output_.Mark(marks_.front().second);
        marks_.pop_front();
    }

    SynthesisOutput& output_;
    std::vector<uint8_t> pcm_;
    std::deque<std::pair<uint64_t, std::string>> marks_;
    uint64_t sent_ = 0;
};

}  // namespace

std::string SsmlAsPlainText(const std::string& ssml) {
    static constexpr std::pair<const char*, char> kEntities[] = {
        {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    out.reserve(ssml.size());
    for (size_t i = 0; i < ssml.size();) {
        if (ssml[i] == '<') {
            size_t close = ssml.find('>', i);
            if (close == std::string::npos) break;
            out += ' ';
            i = close + 1;
            continue;
        }
        bool entity = false;
        if (ssml[i] == '&')
            for (const auto& [name, c] : kEntities)
                if (ssml.compare(i, std::char_traits<char>::length(name), name) == 0) {
                    out += c;
                    i += std::char_traits<char>::length(name);
                    entity = true;
                    break;
                }
        if (!entity) out += ssml[i++];
    }
    return out;
}

VoxamenSynthesizer::VoxamenSynthesizer(ModuleConfig config) : config_(std::move(config)) {}
VoxamenSynthesizer::~VoxamenSynthesizer() = default;

bool VoxamenSynthesizer::Init(std::string* message) {
    voices_ = vs::InstalledVoices();
    if (voices_.empty()) {
        *message = "no Voxamen voice is installed (voxamen voice add, or ./scripts/main.sh)";
        return false;
    }
    *message = "Voxamen: " + vs::VoiceList(voices_);
    return true;
}

std::vector<VoiceEntry> VoxamenSynthesizer::Voices() {
    std::vector<VoiceEntry> entries;
    for (const vs::TokenInfo& voice : voices_)
        entries.push_back({voice.key, IsRussian(voice) ? "ru" : "none", "none", IsFemale(voice)});
    return entries;
}

const vs::TokenInfo* VoxamenSynthesizer::ChooseVoice(const SpeechSettings& settings) const {
    auto named = [this](const std::string& key) -> const vs::TokenInfo* {
        for (const vs::TokenInfo& voice : voices_)
            if (voice.key == key) return &voice;
        return nullptr;
    };
    if (const vs::TokenInfo* v = named(settings.synthesis_voice)) return v;
    if (const vs::TokenInfo* v = named(config_.default_voice)) return v;
    const bool female =
        settings.voice_type.rfind("female", 0) == 0 || settings.voice_type == "child_female";
    for (const vs::TokenInfo& voice : voices_)
        if (IsRussian(voice) && IsFemale(voice) == female) return &voice;
    for (const vs::TokenInfo& voice : voices_)
        if (IsRussian(voice)) return &voice;
    return voices_.empty() ? nullptr : &voices_.front();
}

vs::Speaker* VoxamenSynthesizer::OpenSpeaker(const vs::TokenInfo& voice, std::string* error) {
    auto found = speakers_.find(voice.key);
    if (found != speakers_.end()) return found->second.get();
    auto speaker = std::make_unique<vs::Speaker>();
    WAVEFORMATEX format{};
    if (!speaker->Open(voice, *error) || !speaker->NegotiateFormat(kSampleRate, 16, format, *error))
        return nullptr;
    if (format.nSamplesPerSec != kSampleRate || format.wBitsPerSample != 16) {
        *error = "the voice " + voice.key + " does not speak 22050 Hz 16-bit audio";
        return nullptr;
    }
    return speakers_.emplace(voice.key, std::move(speaker)).first->second.get();
}

bool VoxamenSynthesizer::Speak(const Utterance& u, SynthesisOutput& output, std::string* error) {
    const vs::TokenInfo* voice = ChooseVoice(u.settings);
    if (!voice) {
        *error = "no voice is installed";
        return false;
    }
    vs::Speaker* speaker = OpenSpeaker(*voice, error);
    if (!speaker) return false;

    SPVSTATE state = vs::DefaultState();
    state.PitchAdj.MiddleAdj = PlatformPitch(u.settings.pitch);
    if (u.settings.spelling) state.eAction = SPVA_SpellOut;

    vs::FragmentList fragments;
    std::string parse_error;
    // The server wraps plain text in <speak>; a client's text that is no
    // markup at all is read as it is.
    const size_t first = u.text.find_first_not_of(" \t\r\n");
    if (!u.ssml || first == std::string::npos || u.text[first] != '<') {
        fragments = vs::FragmentsFromText(u.text, 0, state);
    } else if (!vs::FragmentsFromSsml(u.text, state, fragments, parse_error)) {
        std::fprintf(stderr, "sd_voxamen: SSML %s; spoken as text\n", parse_error.c_str());
        fragments = vs::FragmentsFromText(SsmlAsPlainText(u.text), 0, state);
    }
    if (!fragments.HasText()) return true;  // only marks or silence: nothing to say

    OrderedStream stream(output);
    vs::CallbackSink sink(
        [&stream](const uint8_t* data, size_t size) { return stream.Audio(data, size); });
    WAVEFORMATEX format{};
    format.wFormatTag = 1;
    format.nChannels = 1;
    format.nSamplesPerSec = kSampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = kSampleRate * 2;
    vs::OutputSite site(sink, format);
    site.SetRate(PlatformRate(std::clamp(u.settings.rate + config_.rate_offset, -100, 100)));
    site.SetVolume(static_cast<uint16_t>(PlatformVolume(u.settings.volume)));
    site.SetEventCallback([&stream](const vs::SpeechEvent& e) {
        if (e.type == vs::EventType::Bookmark) stream.Mark(e.bytes, e.text);
    });
    const uint32_t flags = u.settings.punctuation == PunctuationMode::All ? SPF_NLP_SPEAK_PUNC : 0;
    HRESULT hr = speaker->Speak(fragments, site, flags);
    if (FAILED(hr) && !site.Aborted()) {
        *error = "speaking failed: " + vox::HresultText(hr);
        return false;
    }
    stream.Finish();
    return true;
}

}  // namespace sdvox
