// voxamen voice report VOICE --prosody --voice KEY: the voice speaks the
// utterances its build held out ("held-out.txt", voxamen voice build
// --hold-out N), each syntagma from its own phonemes and mark, and the result
// is compared with the recordings (tools/voicebuild/ProsodyComparison.h).
#include <cstdio>
#include <filesystem>
#include <map>
#include <ostream>

#include "platform/FileText.h"
#include "platform/Hresult.h"
#include "platform/Text.h"
#include "tools/voicebuild/HeldOut.h"
#include "tools/voicebuild/ProsodyComparison.h"
#include "tools/voicebuild/UtteranceAnalyser.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/EngineClient.h"
#include "tools/voxamen/Options.h"
#include "tools/voxamen/Table.h"

namespace vox::cli {

namespace {

constexpr const char* kCommand = "voxamen voice report: ";
constexpr uint32_t kRate = 22050;

struct Spoken {
    voicebuild::Waveform wave;
    std::vector<int32_t> sizes;
};

std::string Join(const std::vector<std::string>& parts) {
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) text += (i ? "," : "") + parts[i];
    return text;
}

// One syntagma through the engine at 22050 Hz, 16 bits; false with `why`.
bool SpeakSyntagma(IVoxamen& engine, const voicebuild::HeldOutSyntagma& s, Spoken& out,
                   std::string& why) {
    const std::string phonemes = Join(s.phonemes), type = s.mark + "|" + s.mark;
    uint8_t* audio = nullptr;
    int32_t size = 0;
    HRESULT hr = engine.Speak(phonemes.c_str(), type.c_str(), nullptr, &audio, &size);
    CoTaskMemPtr<uint8_t> owned(audio);
    if (FAILED(hr) || audio == nullptr)
        return why = "Speak(" + phonemes + ") failed: " + HresultText(hr), false;
    std::vector<int16_t> pcm(static_cast<size_t>(size) / 2);
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<int16_t>(audio[2 * i] | (audio[2 * i + 1] << 8));
    out.wave = voicebuild::FromPcm16(pcm, int(kRate));
    int32_t* sizes = nullptr;
    int32_t count = 0;
    hr = engine.GetPhonemesSizes(&sizes, &count);
    CoTaskMemPtr<int32_t> ownedSizes(sizes);
    if (FAILED(hr) || sizes == nullptr || count <= 0)
        return why = "no phoneme sizes for " + phonemes, false;
    out.sizes.assign(sizes, sizes + count);
    return true;
}

bool SelectVoice(IVoxamen& engine, const std::string& key, std::ostream& err) {
    HRESULT hr = engine.SetVoice(key.c_str());
    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, kRate, kRate * 2, 2, 16, 0};
    if (SUCCEEDED(hr)) hr = engine.SetFormat(&format);
    if (FAILED(hr)) err << kCommand << "voice \"" << key << "\": " << HresultText(hr) << "\n";
    return SUCCEEDED(hr);
}

std::string Number(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void PrintFigures(std::ostream& out, const voicebuild::ProsodyFigures& f) {
    out << "held-out syntagmas spoken: " << f.syntagmas << "; phonemes compared: " << f.phonemes
        << "; frames: " << f.frames << " (" << f.voicedFrames << " voiced in both)\n";
    Table table({"measure", "RMSE", "correlation", "bias"});
    table.Add({"phoneme duration", Number("%.1f ms", f.durationRmseMs),
               Number("%.3f", f.durationCorrelation), Number("%+.1f ms", f.durationBiasMs)});
    table.Add({"f0 (voiced in both)", Number("%.2f st", f.f0RmseSt),
               Number("%.3f", f.f0Correlation), Number("%+.2f st", f.f0BiasSt)});
    table.Add({"energy contour", "-", Number("%.3f", f.energyCorrelation), "-"});
    table.Print(out);
    out << "f0 RMSE with each syntagma's own level removed: " << Number("%.2f st", f.contourRmseSt)
        << " (the rest is the syntagmas' levels)\n";
    Table groups({"durations of", "phonemes", "RMSE"});
    const char* names[] = {"stressed vowels", "other vowels", "consonants"};
    for (size_t g = 0; g < voicebuild::kSoundGroups; ++g)
        groups.Add({names[g], std::to_string(f.phonemesByGroup[g]),
                    Number("%.1f ms", f.durationRmseByGroupMs[g])});
    groups.Print(out);
    out << "declination of the " << f.statements << " statements: recorded "
        << Number("%+.2f", f.recordedDeclination) << " st/s, synthesis "
        << Number("%+.2f", f.spokenDeclination) << " st/s; final lowering (last stressed vowel "
        << "over the median): recorded " << Number("%+.2f", f.recordedLowering) << " st, synthesis "
        << Number("%+.2f", f.spokenLowering) << " st\n";
}

// One line per syntagma with --details.
void PrintDetail(std::ostream& out, const voicebuild::HeldOutSyntagma& s,
                 const voicebuild::ProsodyFigures& f) {
    out << s.id << "\t" << s.mark << "\t" << Join(s.phonemes) << "\t"
        << Number("%.1f", f.durationRmseMs) << "\t" << Number("%.2f", f.f0RmseSt) << "\t"
        << Number("%+.2f", f.f0BiasSt) << "\n";
}

}  // namespace

int RunProsodyReport(const Invocation& inv, const Options& opts) {
    const std::optional<std::string> key = opts.Get("voice");
    if (opts.Positional().size() != 1 || !key) {
        inv.err << kCommand << "--prosody needs a VOICE folder and --voice KEY\n";
        return kExitUsage;
    }
    std::optional<double> minF0 = ParseDouble(opts.Get("f0-min").value_or("60"));
    std::optional<double> maxF0 = ParseDouble(opts.Get("f0-max").value_or("400"));
    if (!minF0 || !maxF0 || *minF0 < 30.0 || *maxF0 > 1000.0 || *minF0 >= *maxF0) {
        inv.err << kCommand << "--f0-min and --f0-max take Hz, 30 to 1000, low below high\n";
        return kExitUsage;
    }
    const std::string path =
        (std::filesystem::path(opts.Positional()[0]) / voicebuild::kHeldOutFile).string();
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text) {
        inv.err << kCommand << path << ": cannot be read (build the voice with --hold-out N)\n";
        return kExitFailure;
    }
    std::vector<std::string> problems;
    const std::vector<voicebuild::HeldOutSyntagma> held =
        voicebuild::ParseHeldOut(*text, path, problems);
    ComPtr<IVoxamen> engine = CreateEngine(inv.err, kCommand);
    if (!engine || !SelectVoice(*engine.Get(), *key, inv.err)) return kExitFailure;
    voicebuild::PitchOptions pitch;
    pitch.minF0 = *minF0, pitch.maxF0 = *maxF0;
    pitch.searchMinF0 = std::min(pitch.searchMinF0, *minF0);
    pitch.searchMaxF0 = std::max(pitch.searchMaxF0, *maxF0);
    std::map<std::string, voicebuild::PitchTrack> recordings;  // by path
    voicebuild::ProsodyPairs pairs;
    const bool details = opts.Has("details");
    if (details) inv.out << "id\tmark\tphonemes\tduration RMSE ms\tf0 RMSE st\tf0 bias st\n";
    for (const voicebuild::HeldOutSyntagma& s : held) {
        std::string why;
        if (!recordings.count(s.wavPath)) {
            voicebuild::Waveform wave;
            if (!voicebuild::LoadRecording(s.wavPath, wave, why)) {
                problems.push_back(s.id + ": " + why);
                continue;
            }
            recordings[s.wavPath] = voicebuild::TrackPitch(wave, pitch);
        }
        Spoken spoken;
        if (!SpeakSyntagma(*engine.Get(), s, spoken, why)) {
            problems.push_back(s.id + ": " + why);
            continue;
        }
        voicebuild::ProsodyPairs one;
        if (!voicebuild::AddComparison(s, recordings.at(s.wavPath),
                                       voicebuild::TrackPitch(spoken.wave, pitch), spoken.sizes,
                                       one)) {
            problems.push_back(s.id + ": the phoneme sizes do not fit its phonemes");
            continue;
        }
        if (details) PrintDetail(inv.out, s, voicebuild::Summarise(one));
        voicebuild::MergePairs(one, pairs);
    }
    for (const std::string& p : problems) inv.err << kCommand << p << "\n";
    inv.out << "voice: " << *key << "; held out: " << path << " (" << held.size()
            << " syntagmas)\n";
    PrintFigures(inv.out, voicebuild::Summarise(pairs));
    return pairs.syntagmas > 0 ? kExitOk : kExitFailure;
}

}  // namespace vox::cli
