// voxamen speak-phonemes PHONEMES --type T --voice KEY [--rate R --bits B] -o OUT.wav [--sizes]:
// speaks one phrase through the registered engine (IVoxamen, created by its
// class id as any client does) and writes the audio as a WAV file; with
// --sizes, one line per phoneme: name, size, code, viseme.
#include <algorithm>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>

#include "engine/PhoneticModuleLoader.h"
#include "engine/voice/VoiceProperties.h"
#include "interfaces/IVoxamen.h"
#include "platform/ComKit.h"
#include "platform/Hresult.h"
#include "platform/Text.h"
#include "tools/voicedb/Wav.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/EngineClient.h"
#include "tools/voxamen/Options.h"
#include "tools/voxamen/PhoneticModules.h"
#include "tools/voxamen/Table.h"

namespace vox::cli {

namespace {

constexpr const char* kUsage =
    "usage: voxamen speak-phonemes PHONEMES --type TYPE --voice KEY [--rate HZ] [--bits 8|16]\n"
    "                              -o OUT.wav [--sizes]\n"
    "  Speaks one phrase with the engine and writes it as a WAV file, e.g.\n"
    "    voxamen speak-phonemes \"#,B,A0,#\" --type \"(.)|(.)\" --voice KEY -o out.wav\n"
    "  PHONEMES  phoneme list framed by \"#\", words separated by \"_\"\n"
    "  --type    syntagma type: phrase mark \"|\" final pause mark\n"
    "  --voice   installed voice key (see voxamen voices)\n"
    "  --rate    output rate in Hz, 87 to 192000 but not 8000 (default 22050)\n"
    "  --bits    8 or 16 (default 16)\n"
    "  --sizes   print each phoneme's size, code and viseme\n";

constexpr const char* kCommand = "voxamen speak-phonemes: ";

// The rates the engine converts its 22050-Hz signal to: its converter takes
// ratios down to 1/256 (87 Hz); above 192000 Hz a WAV file is of no use; the
// engine refuses 8000 Hz.
constexpr uint32_t kLowestRate = 87;
constexpr uint32_t kHighestRate = 192000;
constexpr uint32_t kRefusedRate = 8000;

bool IsSupportedRate(long long rate) {
    return rate >= kLowestRate && rate <= kHighestRate && rate != kRefusedRate;
}

struct Request {
    std::string phonemes, type, voice, output;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    bool sizes = false;
};

// Parses the options; 0 when `request` is ready, else the exit status.
int ParseRequest(const Invocation& inv, Request& r) {
    Options opts({"type", "voice", "rate", "bits", "o"}, {"sizes"});
    std::string error;
    if (!opts.Parse(inv.args, error)) {
        inv.err << kCommand << error << "\n" << kUsage;
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << kUsage;
        return kExitOk;
    }
    if (opts.Positional().size() != 1 || !opts.Get("type") || !opts.Get("voice") ||
        !opts.Get("o")) {
        inv.err << kCommand << "PHONEMES, --type, --voice and -o are required\n" << kUsage;
        return kExitUsage;
    }
    r = {opts.Positional()[0], *opts.Get("type"), *opts.Get("voice"), *opts.Get("o")};
    r.sizes = opts.Has("sizes");
    const std::optional<long long> rate = ParseInteger(opts.Get("rate").value_or("22050"));
    const std::optional<long long> bits = ParseInteger(opts.Get("bits").value_or("16"));
    if (!rate || !IsSupportedRate(*rate)) {
        inv.err << kCommand << "--rate " << opts.Get("rate").value_or("")
                << " is not supported: the engine produces " << kLowestRate << " to "
                << kHighestRate << " Hz except " << kRefusedRate
                << " (e.g. 11025, 16000, 22050, 44100 or 48000)\n";
        return kExitUsage;
    }
    if (!bits || (*bits != 8 && *bits != 16)) {
        inv.err << kCommand << "--bits must be 8 or 16\n";
        return kExitUsage;
    }
    r.rate = static_cast<uint32_t>(*rate);
    r.bits = static_cast<uint16_t>(*bits);
    return -1;
}

using ResultCall = HRESULT (IVoxamen::*)(int32_t**, int32_t*);

std::vector<int32_t> Result(IVoxamen& engine, ResultCall call) {
    int32_t* values = nullptr;
    int32_t count = 0;
    const HRESULT hr = (engine.*call)(&values, &count);
    CoTaskMemPtr<int32_t> owned(values);
    if (FAILED(hr) || values == nullptr || count <= 0) return {};
    return std::vector<int32_t>(values, values + count);
}

void PrintSizes(IVoxamen& engine, const std::string& phonemes, std::ostream& out) {
    const std::vector<std::string> names = SplitList(phonemes, ',');
    const std::vector<int32_t> sizes = Result(engine, &IVoxamen::GetPhonemesSizes);
    const std::vector<int32_t> codes = Result(engine, &IVoxamen::GetPhonemesCodes);
    const std::vector<int32_t> visemes = Result(engine, &IVoxamen::GetVisemesCodes);
    auto at = [](const std::vector<int32_t>& v, size_t i) {
        return i < v.size() ? std::to_string(v[i]) : "-";
    };
    Table table({"phoneme", "size", "code", "viseme"});
    const size_t rows = std::max({names.size(), sizes.size(), codes.size(), visemes.size()});
    for (size_t i = 0; i < rows; ++i)
        table.Add({i < names.size() ? names[i] : "?", at(sizes, i), at(codes, i), at(visemes, i)});
    table.Print(out);
}

// Asks the voice's phonetic module, which rejected the phrase, why.
std::string WhyPhraseIsRejected(const Request& r) {
    VoiceProperties props;
    if (!props.Read(r.voice)) return "the phrase is not a valid phoneme string";
    const std::string key = PhoneticModuleName(props.language, props.sublang);
    std::ostringstream ignored;
    ComPtr<IPhonetic> module = CreatePhoneticModule(key, "speak-phonemes", ignored);
    if (!module) return "the phrase is not a valid phoneme string";
    return "module " + key + " rejects the phrase: " + PhraseRejection(*module.Get(), r.phonemes);
}

int Speak(const Invocation& inv, const Request& r) {
    ComPtr<IVoxamen> engine = CreateEngine(inv.err, kCommand);
    if (!engine) return kExitFailure;
    if (HRESULT hr = engine->SetVoice(r.voice.c_str()); FAILED(hr)) {
        inv.err << kCommand << "voice \"" << r.voice << "\" cannot be selected: " << HresultText(hr)
                << "\n";
        return kExitFailure;
    }
    const WAVEFORMATEX desired{
        WAVE_FORMAT_PCM, 1, r.rate, r.rate * (r.bits / 8u), static_cast<uint16_t>(r.bits / 8),
        r.bits,          0};
    WAVEFORMATEX format{};
    HRESULT hr = engine->GetOutputFormat(&desired, &format);
    if (SUCCEEDED(hr)) hr = engine->SetFormat(&format);
    if (FAILED(hr)) {
        inv.err << kCommand << "the engine does not produce " << r.rate
                << " Hz: " << HresultText(hr) << "\n";
        return kExitFailure;
    }
    uint8_t* audio = nullptr;
    int32_t size = 0;
    hr = engine->Speak(r.phonemes.c_str(), r.type.c_str(), nullptr, &audio, &size);
    CoTaskMemPtr<uint8_t> owned(audio);
    if (FAILED(hr) || audio == nullptr) {
        inv.err << kCommand << "Speak failed: " << HresultText(hr);
        if (hr == E_INVALIDARG) inv.err << ": " << WhyPhraseIsRejected(r);
        inv.err << "\n";
        return kExitFailure;
    }
    const std::string wav = voicedb::PcmWavBytes(format.nSamplesPerSec, format.wBitsPerSample,
                                                 {audio, static_cast<size_t>(size)});
    std::ofstream file(r.output, std::ios::binary | std::ios::trunc);
    file.write(wav.data(), static_cast<std::streamsize>(wav.size()));
    file.close();
    if (!file) {
        inv.err << kCommand << r.output << ": cannot be written\n";
        return kExitFailure;
    }
    inv.out << "wrote " << r.output << ": " << size << " bytes, " << format.nSamplesPerSec
            << " Hz, " << format.wBitsPerSample << " bits\n";
    if (r.sizes) PrintSizes(*engine.Get(), r.phonemes, inv.out);
    return kExitOk;
}

}  // namespace

int RunSpeakPhonemes(const Invocation& inv) {
    Request request;
    const int status = ParseRequest(inv, request);
    return status >= 0 ? status : Speak(inv, request);
}

}  // namespace vox::cli
