#include "tools/voicedb/VoiceFolder.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/CodePage.h"
#include "tools/voicedb/MarksFile.h"
#include "tools/voicedb/Resample.h"
#include "tools/voicedb/Wav.h"

namespace vox::voicedb {

namespace fs = std::filesystem;

namespace {

// The stems of the folder's regular files with the given extension, sorted.
bool Stems(const fs::path& folder, const std::string& extension, std::vector<std::string>& stems,
           std::string& error) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        std::error_code typeError;
        if (p.extension() == extension && it->is_regular_file(typeError))
            stems.push_back(p.stem().string());
    }
    if (ec) {
        error = folder.string() + ": cannot be read: " + ec.message();
        return false;
    }
    std::sort(stems.begin(), stems.end());
    return true;
}

bool LoadUnit(const fs::path& folder, const std::string& stem, Unit& unit,
              std::vector<std::string>& notes, std::string& error) {
    unit.name = Utf8ToCp1251(stem);
    if (Cp1251ToUtf8(unit.name) != stem) {
        error = stem + ".wav: the name cannot be written in Windows-1251";
        return false;
    }
    WavAudio audio;
    if (!ReadWav((folder / (stem + ".wav")).string(), audio, error)) return false;
    const fs::path marksPath = folder / (stem + ".marks");
    std::error_code ec;
    if (fs::exists(marksPath, ec)) {
        if (!ReadMarksFile(marksPath.string(), unit.marks, error)) return false;
    } else {
        notes.push_back(stem + ": no " + stem + ".marks, the unit has no pitch marks");
    }
    if (audio.sampleRate != kDatabaseRate) {
        if (!Resample(audio.samples, audio.sampleRate, kDatabaseRate, unit.samples, error)) {
            error = stem + ".wav: " + error;
            return false;
        }
        unit.marks = ScaleMarks(unit.marks, audio.sampleRate, kDatabaseRate, unit.samples.size());
        notes.push_back(stem + ": converted from " + std::to_string(audio.sampleRate) + " Hz");
    } else {
        unit.samples = std::move(audio.samples);
    }
    return true;
}

}  // namespace

bool AddUnitsFromFolder(const std::string& folder, Abs07Writer& writer,
                        std::vector<std::string>& notes, std::string& error) {
    const fs::path dir(folder);
    std::vector<std::string> wavs, marks;
    if (!Stems(dir, ".wav", wavs, error) || !Stems(dir, ".marks", marks, error)) return false;
    if (wavs.empty()) {
        error = folder + ": no .wav units";
        return false;
    }
    const std::set<std::string> known(wavs.begin(), wavs.end());
    for (const std::string& stem : marks)
        if (known.count(stem) == 0)
            notes.push_back(stem + ".marks has no " + stem + ".wav; left out");
    for (const std::string& stem : wavs) {
        Unit unit;
        if (!LoadUnit(dir, stem, unit, notes, error) || !writer.AddUnit(std::move(unit), error))
            return false;
    }
    return true;
}

}  // namespace vox::voicedb
