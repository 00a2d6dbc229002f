#include "engine/voice/Allobase.h"

#include <cstdio>

#include "engine/voice/Abs07Format.h"
#include "platform/Messages.h"

namespace vox {

namespace {

std::span<const uint8_t> Bytes(const MappedFile& file) {
    return {file.Data(), file.Size()};
}

}  // namespace

void Allobase::Close() {
    open_ = false;
    units_.clear();  // the map points into the mapping
    firstText_.clear();
    secondText_.clear();
    markTotal_ = sampleTotal_ = 0;
    file_.Close();
}

bool Allobase::Open(const std::string& path) {
    Close();
    if (!file_.Open(path)) {
        MessageBox(kAllobaseCaption, "Failed to open voice");
        return false;
    }
    abs07::Index index;
    if (std::optional<abs07::Defect> defect = abs07::ReadIndex(Bytes(file_), index)) {
        Close();
        if (defect->kind == abs07::DefectKind::Version)
            MessageBox(kAllobaseCaption, "Invalid VoiceData file version");
        else
            MessageBox(kAllobaseCaption, "Failed to open voice " + path + ": " + defect->Text());
        return false;
    }
    firstText_ = std::move(index.firstText);
    secondText_ = std::move(index.secondText);
    markTotal_ = index.markTotal;
    sampleTotal_ = index.sampleTotal;
    for (abs07::Entry& e : index.entries)  // a repeated name takes the later entry
        units_.insert_or_assign(std::move(e.name),
                                Location{e.sampleOffset, e.sampleCount, e.markOffset, e.markCount});
    open_ = true;
    return true;
}

bool Allobase::GetUnit(Unit& unit) const {
    auto it = units_.find(unit.name);
    if (it == units_.end()) return false;
    const Location& at = it->second;
    std::vector<int16_t> samples;
    std::vector<int32_t> marks;
    if (!abs07::CopySamples(Bytes(file_), at.sampleOffset, at.sampleCount, samples) ||
        !abs07::CopyMarks(Bytes(file_), at.markOffset, at.markCount, marks))
        return false;  // cannot happen: Open checked every entry against the file
    unit.samples = std::move(samples);
    unit.marks = std::move(marks);
    return true;
}

int32_t Allobase::UnitLength(const std::string& name) const {
    auto it = units_.find(name);
    return it == units_.end() ? 0 : it->second.sampleCount;
}

bool InitAudioBase(std::unique_ptr<AudioBase>& base, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    char head[7] = {};
    const size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    std::string_view text(head, got);
    text = text.substr(0, text.find('\0'));  // the bytes up to the first zero byte
    if (text != abs07::kSignature) return false;

    base.reset();
    base = std::make_unique<Allobase>();
    return base->Open(path);
}

}  // namespace vox
