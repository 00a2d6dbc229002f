#include "engine/voice/Allobase.h"

#include <algorithm>

#include "engine/voice/Abs07Format.h"
#include "platform/Messages.h"

namespace vox {

namespace {

// The longest header: the version and two texts as short strings, then the
// three totals.
constexpr size_t kMaxHeaderBytes = 1 + 6 + 2 * (1 + abs07::kMaxShortString) + 3 * 4;

// Reads the header and the index into an image of the file's size and parses
// them there: a first pass over the header alone locates the index, the
// second reads it. The mark and sample blocks are not read. False when the
// file could not be read (it was cut short meanwhile); `defect` is then
// unset.
bool ReadIndex(const FileReader& file, abs07::Index& index, std::optional<abs07::Defect>& defect) {
    SparseImage image;
    const size_t size = static_cast<size_t>(file.Size());
    if (!image.Create(size) || !image.Load(file, 0, std::min(size, kMaxHeaderBytes))) return false;
    defect = abs07::ReadIndex(image.Bytes(), index);
    if (index.indexStart == 0) return true;  // the header itself is unsound
    if (!image.Load(file, index.indexStart, size - index.indexStart)) return false;
    defect = abs07::ReadIndex(image.Bytes(), index);
    return true;
}

// The bytes of `count` values of `width` bytes at `offset`.
bool ReadBytes(const FileReader& file, size_t offset, int32_t count, size_t width,
               std::vector<uint8_t>& bytes) {
    bytes.resize(static_cast<size_t>(std::max(count, 0)) * width);
    return file.ReadAt(offset, bytes);
}

}  // namespace

void Allobase::Close() {
    open_ = false;
    units_.clear();
    firstText_.clear();
    secondText_.clear();
    markTotal_ = sampleTotal_ = 0;
    file_.Close();
}

bool Allobase::Open(const std::string& path) {
    Close();
    path_ = path;
    opened_ = IdentifyFile(path);
    if (!file_.Open(path)) {
        MessageBox(kAllobaseCaption, "Failed to open voice");
        return false;
    }
    opened_ = file_.Identity();
    abs07::Index index;
    std::optional<abs07::Defect> defect;
    if (!ReadIndex(file_, index, defect)) {
        Close();
        MessageBox(kAllobaseCaption,
                   "Failed to open voice " + path + ": the file changed while it was read");
        return false;
    }
    if (defect) {
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
    std::vector<uint8_t> bytes;
    // Reading fails only when the file was cut short since Open.
    if (!ReadBytes(file_, at.sampleOffset, at.sampleCount, 2, bytes) ||
        !abs07::CopySamples(bytes, 0, at.sampleCount, samples) ||
        !ReadBytes(file_, at.markOffset, at.markCount, 4, bytes) ||
        !abs07::CopyMarks(bytes, 0, at.markCount, marks))
        return false;
    unit.samples = std::move(samples);
    unit.marks = std::move(marks);
    return true;
}

int32_t Allobase::UnitLength(const std::string& name) const {
    auto it = units_.find(name);
    return it == units_.end() ? 0 : it->second.sampleCount;
}

bool Allobase::FileChanged() const {
    return !path_.empty() && IdentifyFile(path_) != opened_;
}

bool InitAudioBase(std::unique_ptr<AudioBase>& base, const std::string& path) {
    FileReader file;
    if (!file.Open(path)) return false;
    uint8_t head[7] = {};
    const size_t got = static_cast<size_t>(std::min<uint64_t>(file.Size(), sizeof head));
    if (!file.ReadAt(0, std::span(head, got))) return false;
    file.Close();
    std::string_view text(reinterpret_cast<const char*>(head), got);
    text = text.substr(0, text.find('\0'));  // the bytes up to the first zero byte
    if (text != abs07::kSignature) return false;

    base.reset();
    base = std::make_unique<Allobase>();
    return base->Open(path);
}

}  // namespace vox
