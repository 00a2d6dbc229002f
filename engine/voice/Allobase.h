// Allobase: the voice database of the engine, an "abs.07" file
// (docs/formats/abs07.md), indexed once at Open. Units are found through an
// ordered map from name to their place in the file; only the requested unit
// is copied. The whole index is checked against the file at Open, so a
// truncated or hostile file fails there.
//
// The file is read by offset, not mapped: a voice file that another process
// rewrites in place or truncates (instead of installing a new file by
// renaming it over the old one, the way voices are installed) would otherwise
// kill the host with SIGBUS. A file cut short since Open makes a lookup fail;
// the engine asks FileChanged before each phrase and opens it again.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "engine/voice/AudioBase.h"
#include "platform/FileReader.h"

namespace vox {

inline constexpr const char* kAllobaseCaption = "Allobase";

class Allobase final : public AudioBase {
  public:
    // Maps and indexes the file; shows a message (caption "Allobase") and
    // stays closed when it cannot be mapped or is not a sound "abs.07" file.
    bool Open(const std::string& path) override;
    // Copies the unit's samples and marks; the unit is unchanged when absent.
    // A name repeated in the index finds its later entry.
    bool GetUnit(Unit& unit) const override;
    bool IsOpen() const override { return open_; }
    int32_t UnitLength(const std::string& name) const override;
    // The path names another file, or the file was resized or rewritten,
    // since the last Open (successful or not).
    bool FileChanged() const override;

    const std::string& FirstHeaderText() const { return firstText_; }
    const std::string& SecondHeaderText() const { return secondText_; }
    int32_t MarkTotal() const { return markTotal_; }
    int32_t SampleTotal() const { return sampleTotal_; }
    // Distinct unit names.
    size_t UnitCount() const { return units_.size(); }

  private:
    struct Location {
        size_t sampleOffset = 0;
        int32_t sampleCount = 0;
        size_t markOffset = 0;
        int32_t markCount = 0;
    };

    void Close();

    FileReader file_;
    std::string path_;     // of the last Open
    FileIdentity opened_;  // what that path named then
    std::string firstText_, secondText_;
    int32_t markTotal_ = 0, sampleTotal_ = 0;
    std::map<std::string, Location, std::less<>> units_;  // offsets into file_
    bool open_ = false;
};

// The engine's entry: checks that the file starts with the version bytes
// 06 "abs.07" (failure without a message otherwise, leaving `base` as it
// is), then replaces `base` with a new Allobase and opens it. After a failed
// Open `base` holds the new, closed object.
bool InitAudioBase(std::unique_ptr<AudioBase>& base, const std::string& path);

}  // namespace vox
