#include "tools/voicebuild/VoiceOutput.h"

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tools/voicebuild/VoiceBuilder.h"
#include "tools/voicebuild/HeldOut.h"
#include "tools/voicedb/Abs07Writer.h"

namespace vox::voicebuild {

namespace fs = std::filesystem;

namespace {

bool WriteText(const fs::path& path, const std::string& text, std::string& error) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        error = path.string() + ": cannot be written";
        return false;
    }
    return true;
}

bool WriteDatabase(const fs::path& path, const VoiceFiles& files, std::string& error) {
    voicedb::Abs07Writer writer;
    if (!writer.SetHeaderTexts(files.headerFirst, files.headerSecond, error)) return false;
    std::vector<const Unit*> order;
    for (const Unit& u : files.units) order.push_back(&u);
    std::sort(order.begin(), order.end(),
              [](const Unit* a, const Unit* b) { return a->name < b->name; });
    for (const Unit* u : order) {
        if (!writer.AddUnit(*u, error)) {
            error = "unit \"" + u->name + "\": " + error;
            return false;
        }
    }
    return writer.Write(path.string(), error);
}

bool WriteOptional(const fs::path& path, const std::string& text, std::string& error) {
    return text.empty() || WriteText(path, text, error);
}

bool WriteAll(const fs::path& dir, const VoiceFiles& files, std::string& error) {
    return WriteDatabase(dir / kVoiceDatabaseFile, files, error) &&
           WriteOptional(dir / kRhytmicsFile, files.rhytmics, error) &&
           WriteOptional(dir / kIntonationFile, files.intonation, error) &&
           WriteOptional(dir / kIntonationNewFile, files.intonationNew, error) &&
           WriteOptional(dir / kAmpFile, files.amp, error) &&
           WriteOptional(dir / kHeldOutFile, files.heldOut, error) &&
           WriteText(dir / kProsCfgFile, files.prosCfg, error) &&
           WriteText(dir / kNoticeFile, files.notice, error) &&
           WriteText(dir / kReportFile, files.report, error);
}

}  // namespace

bool WriteVoiceFolder(const std::string& folder, const VoiceFiles& files, bool replace,
                      std::string& error) {
    fs::path target = fs::absolute(fs::path(folder)).lexically_normal();
    if (target.filename().empty()) target = target.parent_path();  // "voice/"
    const fs::path parent = target.parent_path();
    const std::string suffix = "." + std::to_string(::getpid());
    const fs::path building = parent / ("." + target.filename().string() + ".building" + suffix);
    const fs::path old = parent / ("." + target.filename().string() + ".old" + suffix);
    std::error_code ec;
    if (fs::exists(target, ec) && !replace) {
        error = target.string() + " already exists (replace it with --force)";
        return false;
    }
    fs::create_directories(parent, ec);
    fs::remove_all(building, ec);
    if (!fs::create_directory(building, ec)) {
        error = building.string() + ": cannot be created: " + ec.message();
        return false;
    }
    if (!WriteAll(building, files, error)) {
        fs::remove_all(building, ec);
        return false;
    }
    const bool hadOld = fs::exists(target, ec);
    if (hadOld) fs::rename(target, old, ec);
    if (!ec) fs::rename(building, target, ec);
    if (ec) {
        error = target.string() + ": cannot be put in place: " + ec.message();
        std::error_code ignored;
        if (hadOld && !fs::exists(target, ignored)) fs::rename(old, target, ignored);
        fs::remove_all(building, ignored);
        return false;
    }
    if (hadOld) fs::remove_all(old, ec);
    return true;
}

}  // namespace vox::voicebuild
