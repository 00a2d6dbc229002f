// voxamen say: speaks Russian text with an installed voice, through the
// speech platform's side (speech/) and the voice engine Orvalink, to the
// sound device, a WAV file or standard output, with events as JSON lines.
#include <atomic>
#include <csignal>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "platform/FileText.h"
#include "platform/Hresult.h"
#include "platform/Text.h"
#include "speech/FileSinks.h"
#include "speech/PhoneNames.h"
#include "speech/PulseSink.h"
#include "speech/Speaker.h"
#include "speech/VoiceTokens.h"
#include "speech/XmlFragments.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"

namespace vox::cli {

namespace {

constexpr const char* kUsage =
    "usage: voxamen say [TEXT...] [-f FILE | --stdin] [--ssml | --sapi-xml] [-v VOICE]\n"
    "                   [-r RATE] [-p PITCH] [-a VOLUME] [-w OUT.wav | --stdout [--raw]]\n"
    "                   [--sample-rate HZ] [--bits 8|16] [--events FILE|-]\n"
    "  Speaks Russian text on the sound device, into a WAV file or to standard output.\n"
    "  TEXT           the text (several arguments are joined by spaces)\n"
    "  -f FILE        read the text from FILE; --stdin reads standard input\n"
    "                 (plain text is spoken paragraph by paragraph as it comes)\n"
    "  --ssml         the text is SSML 1.1; --sapi-xml: SAPI 5 XML\n"
    "  -v VOICE       voice key, name or attributes (\"Gender=Female\"); see voxamen voices\n"
    "  -r RATE        speed -10 (slow) … 10 (fast), default 0\n"
    "  -p PITCH       pitch -10 … 10, default 0\n"
    "  -a VOLUME      volume 0 … 100, default 100\n"
    "  -w OUT.wav     write a WAV file instead of playing\n"
    "  --stdout       write WAV to standard output (--raw: bare PCM samples)\n"
    "  --sample-rate  output rate in Hz (default 22050; 8000 is not offered)\n"
    "  --bits         8 or 16 (default 16)\n"
    "  --events       one JSON object per event and line into FILE, or - for standard output\n";

constexpr const char* kCommand = "voxamen say: ";

std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int) {
    gInterrupted.store(true);
}

struct SayRequest {
    std::string text, file, voice, wav, events;
    bool haveText = false, fromStdin = false, ssml = false, sapiXml = false;
    bool toStdout = false, raw = false;
    int rate = 0, pitch = 0, volume = 100;
    uint32_t sampleRate = 22050;
    uint16_t bits = 16;
};

// eSpeak-style short options become the long ones.
std::vector<std::string> LongOptions(const std::vector<std::string>& args) {
    static const std::pair<const char*, const char*> kShort[] = {
        {"-f", "--file"},  {"-v", "--voice"},  {"-r", "--rate"},
        {"-p", "--pitch"}, {"-a", "--volume"}, {"-w", "--wav"}};
    std::vector<std::string> out;
    bool positionalOnly = false;
    for (const std::string& a : args) {
        std::string mapped = a;
        if (a == "--") positionalOnly = true;
        if (!positionalOnly)
            for (const auto& [from, to] : kShort)
                if (a == from) mapped = to;
        out.push_back(mapped);
    }
    return out;
}

bool Ranged(const Options& opts, const char* name, int low, int high, int& value,
            std::ostream& err) {
    const std::optional<std::string> text = opts.Get(name);
    if (!text) return true;
    const std::optional<long long> n = ParseInteger(*text);
    if (!n || *n < low || *n > high) {
        err << kCommand << "--" << name << " must be a whole number from " << low << " to " << high
            << "\n";
        return false;
    }
    value = static_cast<int>(*n);
    return true;
}

// 0 when the request is ready, else the exit status.
int Parse(const Invocation& inv, SayRequest& r) {
    Options opts(
        {"file", "voice", "rate", "pitch", "volume", "wav", "sample-rate", "bits", "events"},
        {"stdin", "ssml", "sapi-xml", "stdout", "raw"});
    std::string error;
    if (!opts.Parse(LongOptions(inv.args), error)) {
        inv.err << kCommand << error << "\n" << kUsage;
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << kUsage;
        return kExitOk;
    }
    r.haveText = !opts.Positional().empty();
    for (const std::string& word : opts.Positional()) r.text += (r.text.empty() ? "" : " ") + word;
    r.file = opts.Get("file").value_or("");
    r.fromStdin = opts.Has("stdin");
    r.ssml = opts.Has("ssml");
    r.sapiXml = opts.Has("sapi-xml");
    r.voice = opts.Get("voice").value_or("");
    r.wav = opts.Get("wav").value_or("");
    r.toStdout = opts.Has("stdout");
    r.raw = opts.Has("raw");
    r.events = opts.Get("events").value_or("");
    const int sources = int(r.haveText) + int(!r.file.empty()) + int(r.fromStdin);
    if (sources != 1) {
        inv.err << kCommand << "give the text, -f FILE or --stdin (one of them)\n" << kUsage;
        return kExitUsage;
    }
    if (r.ssml && r.sapiXml) {
        inv.err << kCommand << "--ssml and --sapi-xml exclude each other\n";
        return kExitUsage;
    }
    if (!r.wav.empty() && r.toStdout) {
        inv.err << kCommand << "-w and --stdout exclude each other\n";
        return kExitUsage;
    }
    if (r.raw && !r.toStdout) {
        inv.err << kCommand << "--raw goes with --stdout\n";
        return kExitUsage;
    }
    if (r.toStdout && r.events == "-") {
        inv.err << kCommand << "--stdout carries the audio; write the events to a file\n";
        return kExitUsage;
    }
    int rateHz = 22050, bits = 16;
    if (!Ranged(opts, "rate", -10, 10, r.rate, inv.err) ||
        !Ranged(opts, "pitch", -10, 10, r.pitch, inv.err) ||
        !Ranged(opts, "volume", 0, 100, r.volume, inv.err) ||
        !Ranged(opts, "sample-rate", 1000, 192000, rateHz, inv.err) ||
        !Ranged(opts, "bits", 8, 16, bits, inv.err))
        return kExitUsage;
    if ((bits != 8 && bits != 16) || rateHz == 8000) {
        inv.err << kCommand << "--bits must be 8 or 16, and 8000 Hz is not offered\n";
        return kExitUsage;
    }
    r.sampleRate = static_cast<uint32_t>(rateHz);
    r.bits = static_cast<uint16_t>(bits);
    return -1;
}

// The pieces spoken one Speak call each: paragraphs of plain text, or the
// whole document of markup.
class PieceSource {
  public:
    virtual ~PieceSource() = default;
    virtual std::optional<speech::FragmentList> Next() = 0;
};

class ParagraphSource final : public PieceSource {
  public:
    ParagraphSource(std::istream* stream, std::string text, const SPVSTATE& state)
        : stream_(stream), text_(std::move(text)), state_(state) {}
    std::optional<speech::FragmentList> Next() override {
        std::string paragraph = stream_ != nullptr ? ReadParagraph() : TakeParagraph();
        if (paragraph.empty()) return std::nullopt;
        speech::FragmentList list = speech::FragmentsFromText(paragraph, base_, state_);
        base_ += speech::CountCharacters(paragraph);
        return list;
    }

  private:
    // Up to and including the blank line that ends the paragraph, so that the
    // first sound never waits for the whole input.
    std::string ReadParagraph() {
        std::string paragraph, line;
        while (std::getline(*stream_, line)) {
            const bool newline = !stream_->eof();
            paragraph += line;
            if (newline) paragraph += '\n';
            if (Trim(line).empty() && !Trim(paragraph).empty()) break;
        }
        return paragraph;
    }
    std::string TakeParagraph() {
        if (paragraphs_.empty() && !split_) {
            paragraphs_ = speech::SplitParagraphs(text_);
            split_ = true;
        }
        if (next_ >= paragraphs_.size()) return {};
        base_ = paragraphs_[next_].baseCharacters;
        return paragraphs_[next_++].text;
    }
    std::istream* stream_;
    std::string text_;
    SPVSTATE state_;
    uint64_t base_ = 0;
    std::vector<speech::Paragraph> paragraphs_;
    size_t next_ = 0;
    bool split_ = false;
};

class DocumentSource final : public PieceSource {
  public:
    explicit DocumentSource(speech::FragmentList list) : list_(std::move(list)) {}
    std::optional<speech::FragmentList> Next() override {
        if (done_) return std::nullopt;
        done_ = true;
        return std::move(list_);
    }

  private:
    speech::FragmentList list_;
    bool done_ = false;
};

bool ReadWhole(const SayRequest& r, std::string& text, std::ostream& err) {
    if (r.haveText) {
        text = r.text;
        return true;
    }
    if (r.fromStdin) {
        std::ostringstream all;
        all << std::cin.rdbuf();
        text = all.str();
        return true;
    }
    std::optional<std::string> contents = ReadWholeFile(r.file);
    if (!contents) {
        err << kCommand << "cannot read \"" << r.file << "\"\n";
        return false;
    }
    text = std::move(*contents);
    return true;
}

std::unique_ptr<speech::AudioSink> MakeSink(const SayRequest& r) {
    if (!r.wav.empty()) return std::make_unique<speech::WavFileSink>(r.wav);
    if (r.toStdout) return std::make_unique<speech::StdoutSink>(!r.raw);
    return std::make_unique<speech::PulseSink>();
}

int Say(const Invocation& inv, const SayRequest& r) {
    SPVSTATE state = speech::DefaultState();
    state.PitchAdj.MiddleAdj = r.pitch;

    // The input first: malformed markup fails before any output exists.
    std::unique_ptr<PieceSource> pieces;
    std::string text;
    if (r.ssml || r.sapiXml) {
        if (!ReadWhole(r, text, inv.err)) return kExitFailure;
        speech::FragmentList list;
        std::string error;
        const bool ok = r.ssml ? speech::FragmentsFromSsml(text, state, list, error)
                               : speech::FragmentsFromSapiXml(text, state, list, error);
        if (!ok) {
            inv.err << kCommand << (r.file.empty() ? "input" : r.file) << ":" << error << "\n";
            return kExitFailure;
        }
        pieces = std::make_unique<DocumentSource>(std::move(list));
    } else if (r.fromStdin) {
        pieces = std::make_unique<ParagraphSource>(&std::cin, "", state);
    } else {
        if (!ReadWhole(r, text, inv.err)) return kExitFailure;
        pieces = std::make_unique<ParagraphSource>(nullptr, std::move(text), state);
    }

    const std::vector<speech::TokenInfo> voices = speech::InstalledVoices();
    const std::optional<speech::TokenInfo> voice = speech::ChooseVoice(voices, r.voice);
    if (!voice) {
        if (r.voice.empty())
            inv.err << kCommand << "no voice is installed; see voxamen voice add\n";
        else
            inv.err << kCommand << "unknown voice \"" << r.voice
                    << "\"; installed: " << speech::VoiceList(voices) << "\n";
        return kExitFailure;
    }
    speech::Speaker speaker;
    std::string error;
    WAVEFORMATEX format{};
    if (!speaker.Open(*voice, error) ||
        !speaker.NegotiateFormat(r.sampleRate, r.bits, format, error)) {
        inv.err << kCommand << error << "\n";
        return kExitFailure;
    }

    std::ofstream eventFile;
    std::ostream* events = nullptr;
    if (r.events == "-") {
        events = &inv.out;
    } else if (!r.events.empty()) {
        eventFile.open(r.events, std::ios::trunc);
        if (!eventFile) {
            inv.err << kCommand << "cannot write \"" << r.events << "\"\n";
            return kExitFailure;
        }
        events = &eventFile;
    }

    std::unique_ptr<speech::AudioSink> sink = MakeSink(r);
    if (!sink->Open(format, error)) {
        inv.err << kCommand << error << "\n";
        return kExitFailure;
    }
    speech::OutputSite site(*sink, format);
    site.SetRate(r.rate);
    site.SetVolume(static_cast<uint16_t>(r.volume));
    site.SetAbortFlag(&gInterrupted);
    site.SetPhonemeNamer(speech::PhonemeName419);
    if (events != nullptr)
        site.SetEventCallback(
            [events](const speech::SpeechEvent& e) { *events << speech::EventJson(e) << '\n'; });

    gInterrupted.store(false);
    auto previousInt = std::signal(SIGINT, OnInterrupt);
    auto previousPipe = std::signal(SIGPIPE, SIG_IGN);
    HRESULT hr = S_OK;
    while (!site.Aborted()) {
        std::optional<speech::FragmentList> piece = pieces->Next();
        if (!piece) break;
        hr = speaker.Speak(*piece, site);
        if (FAILED(hr)) break;
        if (events != nullptr) events->flush();
    }
    if (site.Aborted())
        if (auto* pulse = dynamic_cast<speech::PulseSink*>(sink.get())) pulse->Discard();
    const bool closed = sink->Close(error);
    std::signal(SIGINT, previousInt);
    std::signal(SIGPIPE, previousPipe);
    if (FAILED(hr)) {
        inv.err << kCommand << "speaking failed: " << HresultText(hr) << "\n";
        if (auto* file = dynamic_cast<speech::WavFileSink*>(sink.get())) file->Remove();
        return kExitFailure;
    }
    if (!closed) {
        inv.err << kCommand << error << "\n";
        return kExitFailure;
    }
    if (gInterrupted.load()) return 130;
    return kExitOk;
}

}  // namespace

int RunSay(const Invocation& inv) {
    SayRequest r;
    if (const int status = Parse(inv, r); status >= 0) return status;
    return Say(inv, r);
}

}  // namespace vox::cli
