// Truncated, corrupted and hostile "abs.07" files: the reader fails Open with
// a message naming the field, the checker reports it, and neither reads
// outside the file. The parsing runs on exactly sized heap copies, so the
// sanitizer build catches any read past the end.
#include <gtest/gtest.h>

#include <functional>

#include "engine/voice/Abs07Format.h"
#include "engine/voice/Allobase.h"
#include "support/CapturedMessages.h"
#include "support/SyntheticVoice.h"
#include "support/TempRegistry.h"
#include "tools/voicedb/Abs07Checker.h"

namespace vox {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes SmallVoice() {
    test::SyntheticVoice voice;
    voice.AddVowel("A0", 2, 20);
    voice.AddNoise("S", 15);
    voice.AddVowel("I1", 1, 30);
    const std::string text = voice.Bytes();
    return Bytes(text.begin(), text.end());
}

abs07::Index IndexOf(const Bytes& bytes) {
    abs07::Index index;
    EXPECT_FALSE(abs07::ReadIndex(bytes, index));
    return index;
}

void PutI32(Bytes& bytes, size_t offset, int32_t value) {
    for (size_t i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

// Everything the reader and the checker do with a file's bytes.
void ReadEverything(const Bytes& file) {
    const Bytes bytes = file;  // exactly sized: nothing readable past the end
    abs07::Index index;
    if (!abs07::ReadIndex(bytes, index)) {
        for (const abs07::Entry& e : index.entries) {
            std::vector<int16_t> samples;
            std::vector<int32_t> marks;
            ASSERT_TRUE(abs07::CopySamples(bytes, e.sampleOffset, e.sampleCount, samples));
            ASSERT_TRUE(abs07::CopyMarks(bytes, e.markOffset, e.markCount, marks));
        }
    }
    voicedb::CheckAbs07(bytes);
}

class HostileVoiceDatabase : public testing::Test {
  protected:
    // Opens the bytes as a file; true when Open succeeded.
    bool Open(const Bytes& bytes) {
        const std::string path = dir_.File("hostile.abs");
        test::WriteFile(path, std::string(bytes.begin(), bytes.end()));
        Allobase base;
        if (!base.Open(path)) return false;
        for (const abs07::Entry& e : IndexOf(bytes).entries) {
            Unit unit{e.name, {}, {}};
            EXPECT_TRUE(base.GetUnit(unit));
        }
        return true;
    }
    test::TempDir dir_;
    test::CapturedMessages messages_;
};

struct Patch {
    const char* what;
    const char* field;  // expected in the message
    std::function<void(Bytes&, const abs07::Index&)> apply;
};

const Patch kPatches[] = {
    {"negative unit count", "unit count",
     [](Bytes& b, const abs07::Index& i) { PutI32(b, i.markBlock - 12, -1); }},
    {"negative mark total", "mark total",
     [](Bytes& b, const abs07::Index& i) { PutI32(b, i.markBlock - 8, -1); }},
    {"negative sample total", "sample total",
     [](Bytes& b, const abs07::Index& i) { PutI32(b, i.markBlock - 4, INT32_MIN); }},
    {"huge unit count", "unit count",
     [](Bytes& b, const abs07::Index& i) { PutI32(b, i.markBlock - 12, INT32_MAX); }},
    {"mark total whose byte size overflows 32 bits", "mark total",
     [](Bytes& b, const abs07::Index& i) { PutI32(b, i.markBlock - 8, INT32_MAX); }},
    {"sample total beyond the file", "sample total",
     [](Bytes& b, const abs07::Index& i) { PutI32(b, i.markBlock - 4, i.sampleTotal + 1000); }},
    {"one entry more than the index holds", "unit count",
     [](Bytes& b, const abs07::Index& i) { PutI32(b, i.markBlock - 12, i.unitCount + 1); }},
    {"unit marks past the mark block", "\"A0\" mark count",
     [](Bytes& b, const abs07::Index& i) { PutI32(b, i.entries[0].offset + 3, i.markTotal + 1); }},
    {"unit samples past the sample block", "\"I1\" sample count",
     [](Bytes& b, const abs07::Index& i) { PutI32(b, i.entries[2].offset + 7, 31); }},
    {"negative unit sample count", "\"S\" sample count",
     [](Bytes& b, const abs07::Index& i) { PutI32(b, i.entries[1].offset + 6, -15); }},
    {"negative name length", "index entry 1 name",
     [](Bytes& b, const abs07::Index& i) { b[i.entries[1].offset] = 0x80; }},
};

TEST_F(HostileVoiceDatabase, BadCountsFailOpenNamingTheField) {
    const Bytes good = SmallVoice();
    const abs07::Index index = IndexOf(good);
    ASSERT_TRUE(Open(good));
    for (const Patch& p : kPatches) {
        SCOPED_TRACE(p.what);
        Bytes bytes = good;
        p.apply(bytes, index);
        messages_.Clear();
        EXPECT_FALSE(Open(bytes));
        ASSERT_EQ(messages_.All().size(), 1u);
        EXPECT_EQ(messages_.All()[0].caption, "Allobase");
        EXPECT_NE(messages_.All()[0].text.find("Failed to open voice"), std::string::npos);
        EXPECT_NE(messages_.All()[0].text.find(p.field), std::string::npos)
            << messages_.All()[0].text;
        const voicedb::CheckResult check = voicedb::CheckAbs07(bytes);
        EXPECT_FALSE(check.indexRead);
        ASSERT_EQ(check.defects.size(), 1u);
        EXPECT_NE(check.defects[0].field.find(p.field), std::string::npos);
        ReadEverything(bytes);
    }
}

TEST_F(HostileVoiceDatabase, EveryTruncationFailsOpen) {
    const Bytes good = SmallVoice();
    for (size_t n = 0; n < good.size(); ++n) {
        const Bytes prefix(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(Open(prefix)) << "truncated to " << n << " bytes";
        EXPECT_FALSE(voicedb::CheckAbs07(prefix).indexRead);
        ReadEverything(prefix);
    }
}

TEST_F(HostileVoiceDatabase, CorruptedBytesNeverReadOutsideTheFile) {
    const Bytes good = SmallVoice();
    for (size_t at = 0; at < good.size(); ++at) {
        for (uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
            Bytes bytes = good;
            bytes[at] = value;
            Open(bytes);
            ReadEverything(bytes);
        }
    }
}

TEST_F(HostileVoiceDatabase, RandomCountsNeverReadOutsideTheFile) {
    const Bytes good = SmallVoice();
    const abs07::Index index = IndexOf(good);
    std::vector<size_t> countOffsets = {index.markBlock - 12, index.markBlock - 8,
                                        index.markBlock - 4};
    for (const abs07::Entry& e : index.entries) {
        countOffsets.push_back(e.offset + 1 + e.name.size());
        countOffsets.push_back(e.offset + 5 + e.name.size());
    }
    uint32_t state = 2024;
    auto next = [&] { return state = state * 1664525u + 1013904223u; };
    for (int round = 0; round < 400; ++round) {
        Bytes bytes = good;
        for (int k = 0; k < 2; ++k) {
            const size_t at = countOffsets[next() % countOffsets.size()];
            const int32_t values[] = {0,
                                      1,
                                      -1,
                                      INT32_MAX,
                                      INT32_MIN,
                                      static_cast<int32_t>(next()),
                                      static_cast<int32_t>(next() % 64)};
            PutI32(bytes, at, values[next() % 7]);
        }
        Open(bytes);
        ReadEverything(bytes);
    }
}

}  // namespace
}  // namespace vox
