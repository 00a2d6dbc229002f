// voxamen db info|list|check|extract|build: the voice database ("abs.07")
// tools. Names and texts are Windows-1251 in the file and UTF-8 here.
#include <charconv>
#include <ostream>
#include <set>

#include "engine/voice/Abs07Format.h"
#include "platform/CodePage.h"
#include "platform/FileMapping.h"
#include "tools/voicedb/Abs07Checker.h"
#include "tools/voicedb/Abs07Writer.h"
#include "tools/voicedb/MarksFile.h"
#include "tools/voicedb/Resample.h"
#include "tools/voicedb/VoiceFolder.h"
#include "tools/voicedb/Wav.h"
#include "tools/voxamen/Command.h"
#include "tools/voxamen/Options.h"
#include "tools/voxamen/Table.h"

namespace vox::cli {

namespace {

constexpr const char* kInfoUsage =
    "usage: voxamen db info FILE\n"
    "  Header texts, unit count, mark and sample totals, duration and size of a\n"
    "  voice database.\n";
constexpr const char* kListUsage =
    "usage: voxamen db list FILE\n"
    "  Every index entry in file order: name, samples, marks, duration.\n";
constexpr const char* kCheckUsage =
    "usage: voxamen db check FILE\n"
    "  Checks the whole file: version, counts and lengths against the file size,\n"
    "  unit names, pitch-mark order, repeated names, unused block entries and\n"
    "  trailing bytes. Prints every defect with its field and byte offset; the\n"
    "  exit status is 1 when there is any.\n";
constexpr const char* kExtractUsage =
    "usage: voxamen db extract FILE NAME -o UNIT.wav [--marks UNIT.marks]\n"
    "  Writes one unit as a 22050 Hz mono 16-bit WAV file (a repeated name gives\n"
    "  its later entry, as the engine does).\n"
    "  -o FILE        the WAV file to write\n"
    "  --marks FILE   also write the unit's pitch marks, one sample offset a line\n";
constexpr const char* kBuildUsage =
    "usage: voxamen db build DIR -o FILE [--first-text TEXT] [--second-text TEXT]\n"
    "  Builds a voice database from a folder of units: each NAME.wav (mono, 16-bit\n"
    "  PCM; other rates than 22050 Hz are converted) becomes the unit NAME, with\n"
    "  the pitch marks of NAME.marks when present (one sample offset of the WAV a\n"
    "  line, ascending; \"#\" starts a comment). The file is replaced atomically.\n"
    "  -o FILE              the database to write\n"
    "  --first-text TEXT    first header text (up to 127 bytes in Windows-1251)\n"
    "  --second-text TEXT   second header text\n";

std::string Seconds(int64_t samples) {
    char text[32];
    const double seconds = static_cast<double>(samples) / voicedb::kDatabaseRate;
    auto [end, ec] = std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed, 3);
    return ec == std::errc() ? std::string(text, end) : "?";
}

// Parses a subcommand's options; returns -1 to go on, else the exit status.
int ParseOrExit(const Invocation& inv, const std::vector<std::string>& args, Options& opts,
                const char* name, const char* usage, size_t positional) {
    std::string error;
    if (!opts.Parse(args, error)) {
        inv.err << "voxamen db " << name << ": " << error << "\n" << usage;
        return kExitUsage;
    }
    if (opts.Help()) {
        inv.out << usage;
        return kExitOk;
    }
    if (opts.Positional().size() != positional) {
        inv.err << "voxamen db " << name << ": expected " << positional << " argument"
                << (positional == 1 ? "" : "s") << "\n"
                << usage;
        return kExitUsage;
    }
    return -1;
}

std::span<const uint8_t> Bytes(const MappedFile& file) {
    return {file.Data(), file.Size()};
}

// Maps a database and reads its index; prints why not on failure.
bool OpenDatabase(const Invocation& inv, const std::string& path, MappedFile& file,
                  abs07::Index& index) {
    std::string error;
    if (!file.Open(path, &error)) {
        inv.err << "voxamen db: " << error << "\n";
        return false;
    }
    if (auto defect = abs07::ReadIndex(Bytes(file), index)) {
        inv.err << "voxamen db: " << path << ": " << defect->Text()
                << "\n(voxamen db check lists every defect)\n";
        return false;
    }
    return true;
}

int Info(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({});
    if (int rc = ParseOrExit(inv, args, opts, "info", kInfoUsage, 1); rc >= 0) return rc;
    const std::string& path = opts.Positional()[0];
    MappedFile file;
    abs07::Index index;
    if (!OpenDatabase(inv, path, file, index)) return kExitFailure;
    std::set<std::string_view> names;
    for (const abs07::Entry& e : index.entries) names.insert(e.name);
    Table table({"FIELD", "VALUE"});
    table.Add({"file", path});
    table.Add({"size", std::to_string(file.Size()) + " bytes"});
    table.Add({"first text", Cp1251ToUtf8(index.firstText)});
    table.Add({"second text", Cp1251ToUtf8(index.secondText)});
    table.Add({"units", std::to_string(index.unitCount) + " (" + std::to_string(names.size()) +
                            " distinct names)"});
    table.Add({"marks", std::to_string(index.markTotal)});
    table.Add({"samples", std::to_string(index.sampleTotal)});
    table.Add({"duration", Seconds(index.sampleTotal) + " s at 22050 Hz"});
    table.Print(inv.out);
    return kExitOk;
}

int List(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({});
    if (int rc = ParseOrExit(inv, args, opts, "list", kListUsage, 1); rc >= 0) return rc;
    MappedFile file;
    abs07::Index index;
    if (!OpenDatabase(inv, opts.Positional()[0], file, index)) return kExitFailure;
    Table table({"NAME", "SAMPLES", "MARKS", "SECONDS"});
    for (const abs07::Entry& e : index.entries)
        table.Add({Cp1251ToUtf8(e.name), std::to_string(e.sampleCount), std::to_string(e.markCount),
                   Seconds(e.sampleCount)});
    table.Print(inv.out);
    return kExitOk;
}

int Check(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({});
    if (int rc = ParseOrExit(inv, args, opts, "check", kCheckUsage, 1); rc >= 0) return rc;
    const std::string& path = opts.Positional()[0];
    MappedFile file;
    std::string error;
    if (!file.Open(path, &error)) {
        inv.err << "voxamen db check: " << error << "\n";
        return kExitFailure;
    }
    const voicedb::CheckResult result = voicedb::CheckAbs07(Bytes(file));
    for (const abs07::Defect& d : result.defects) inv.out << path << ": " << d.Text() << "\n";
    if (!result.indexRead) inv.out << path << ": reading stopped at this defect\n";
    if (!result.Sound()) {
        inv.out << path << ": " << result.defects.size() << " defect"
                << (result.defects.size() == 1 ? "" : "s") << "\n";
        return kExitFailure;
    }
    inv.out << path << ": sound: " << result.index.unitCount << " units, " << result.index.markTotal
            << " marks, " << result.index.sampleTotal << " samples\n";
    return kExitOk;
}

int Extract(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({"o", "marks"});
    if (int rc = ParseOrExit(inv, args, opts, "extract", kExtractUsage, 2); rc >= 0) return rc;
    if (!opts.Get("o")) {
        inv.err << "voxamen db extract: -o FILE is required\n" << kExtractUsage;
        return kExitUsage;
    }
    MappedFile file;
    abs07::Index index;
    if (!OpenDatabase(inv, opts.Positional()[0], file, index)) return kExitFailure;
    const std::string name = Utf8ToCp1251(opts.Positional()[1]);
    const abs07::Entry* found = nullptr;
    for (const abs07::Entry& e : index.entries)
        if (e.name == name) found = &e;  // the later of repeated names
    if (found == nullptr) {
        inv.err << "voxamen db extract: no unit \"" << opts.Positional()[1] << "\" in "
                << opts.Positional()[0] << "\n";
        return kExitFailure;
    }
    voicedb::WavAudio audio;
    std::vector<int32_t> marks;
    abs07::CopySamples(Bytes(file), found->sampleOffset, found->sampleCount, audio.samples);
    abs07::CopyMarks(Bytes(file), found->markOffset, found->markCount, marks);
    std::string error;
    if (!voicedb::WriteWav(*opts.Get("o"), audio, error) ||
        (opts.Get("marks") &&
         !voicedb::WriteMarksFile(*opts.Get("marks"), opts.Positional()[1], marks, error))) {
        inv.err << "voxamen db extract: " << error << "\n";
        return kExitFailure;
    }
    inv.out << "wrote " << *opts.Get("o") << ": " << audio.samples.size() << " samples, "
            << marks.size() << " marks\n";
    return kExitOk;
}

int Build(const Invocation& inv, const std::vector<std::string>& args) {
    Options opts({"o", "first-text", "second-text"});
    if (int rc = ParseOrExit(inv, args, opts, "build", kBuildUsage, 1); rc >= 0) return rc;
    if (!opts.Get("o")) {
        inv.err << "voxamen db build: -o FILE is required\n" << kBuildUsage;
        return kExitUsage;
    }
    voicedb::Abs07Writer writer;
    std::vector<std::string> notes;
    std::string error;
    if (!writer.SetHeaderTexts(Utf8ToCp1251(opts.Get("first-text").value_or("")),
                               Utf8ToCp1251(opts.Get("second-text").value_or("")), error)) {
        inv.err << "voxamen db build: " << error << "\n";
        return kExitUsage;
    }
    const bool built = voicedb::AddUnitsFromFolder(opts.Positional()[0], writer, notes, error);
    for (const std::string& note : notes) inv.out << "note: " << note << "\n";
    if (!built || !writer.Write(*opts.Get("o"), error)) {
        inv.err << "voxamen db build: " << Cp1251ToUtf8(error) << "\n";
        return kExitFailure;
    }
    inv.out << "wrote " << *opts.Get("o") << ": " << writer.UnitCount() << " units\n";
    return kExitOk;
}

struct Subcommand {
    const char* name;
    int (*run)(const Invocation&, const std::vector<std::string>&);
    const char* usage;
};

constexpr Subcommand kSubcommands[] = {
    {"info", Info, kInfoUsage},    {"list", List, kListUsage},
    {"check", Check, kCheckUsage}, {"extract", Extract, kExtractUsage},
    {"build", Build, kBuildUsage},
};

}  // namespace

int RunDb(const Invocation& inv) {
    const auto& a = inv.args;
    if (!a.empty()) {
        for (const Subcommand& s : kSubcommands)
            if (a[0] == s.name) return s.run(inv, {a.begin() + 1, a.end()});
    }
    const bool help = !a.empty() && (a[0] == "--help" || a[0] == "-h");
    std::ostream& to = help ? inv.out : inv.err;
    if (!help && !a.empty()) to << "voxamen db: unknown subcommand \"" << a[0] << "\"\n";
    to << "usage: voxamen db info|list|check|extract|build ...\n";
    for (const Subcommand& s : kSubcommands) to << "\n" << s.usage;
    return help ? kExitOk : kExitUsage;
}

}  // namespace vox::cli
