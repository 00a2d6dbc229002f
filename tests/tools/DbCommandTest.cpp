// voxamen db, run in-process: a folder of WAV units and mark files becomes a
// database that info, list, check and extract read back; defects, bad input
// and bad arguments give clear errors and non-zero exits.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <tuple>

#include "engine/voice/Allobase.h"
#include "support/CommandRun.h"
#include "support/SyntheticVoice.h"
#include "support/TempRegistry.h"
#include "tools/voicedb/MarksFile.h"
#include "tools/voicedb/Wav.h"

namespace vox {
namespace {

using test::ReadFile;
using test::WriteFile;
using voicedb::WavAudio;

using Result = vox::test::CommandRun;

Result Db(std::vector<std::string> args) {
    args.insert(args.begin(), "db");
    return vox::test::RunVoxamen(args);
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void PutI32(std::string& out, int32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

class DbCommand : public testing::Test {
  protected:
    void SetUp() override {
        a0_ = voice_.AddVowel("A0", 3);
        s_ = voice_.AddNoise("S", 500);
        units_ = dir_.File("units");
        std::filesystem::create_directory(units_);
        WriteFile(units_ + "/A0.wav", voicedb::WavBytes({22050, a0_.samples}));
        WriteFile(units_ + "/A0.marks", "# period starts\n0\n\n147  # second\n294\n");
        WriteFile(units_ + "/S.wav", voicedb::WavBytes({22050, s_.samples}));
        db_ = dir_.File("voice.abs");
    }
    test::TempDir dir_;
    test::SyntheticVoice voice_;
    Unit a0_, s_;
    std::string units_, db_;
};

TEST_F(DbCommand, BuildsAFolderThatTheEngineAndTheOtherCommandsReadBack) {
    Result build = Db({"build", units_, "-o", db_, "--first-text", "Тест", "--second-text", "v1"});
    ASSERT_EQ(build.status, 0) << build.err;
    EXPECT_TRUE(Has(build.out, "S: no S.marks")) << build.out;

    Allobase base;
    ASSERT_TRUE(base.Open(db_));
    EXPECT_EQ(base.FirstHeaderText(), "\xD2\xE5\xF1\xF2") << "stored in Windows-1251";
    for (const Unit* expected : {&a0_, &s_}) {
        Unit unit{expected->name, {}, {}};
        ASSERT_TRUE(base.GetUnit(unit));
        EXPECT_EQ(unit.samples, expected->samples);
        EXPECT_EQ(unit.marks, expected->marks);
    }

    Result info = Db({"info", db_});
    ASSERT_EQ(info.status, 0) << info.err;
    for (const char* part : {"Тест", "2 (2 distinct names)", "941", "0.043 s"})
        EXPECT_TRUE(Has(info.out, part)) << part << "\n" << info.out;
    Result list = Db({"list", db_});
    ASSERT_EQ(list.status, 0);
    EXPECT_TRUE(Has(list.out, "A0    441      3      0.020")) << list.out;
    Result check = Db({"check", db_});
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_TRUE(Has(check.out, "sound: 2 units, 3 marks, 941 samples")) << check.out;

    Result extract =
        Db({"extract", db_, "A0", "-o", dir_.File("a0.wav"), "--marks", dir_.File("a0.marks")});
    ASSERT_EQ(extract.status, 0) << extract.err;
    EXPECT_EQ(ReadFile(dir_.File("a0.wav")), ReadFile(units_ + "/A0.wav"));
    std::vector<int32_t> marks;
    std::string error;
    ASSERT_TRUE(voicedb::ReadMarksFile(dir_.File("a0.marks"), marks, error));
    EXPECT_EQ(marks, a0_.marks);
}

TEST_F(DbCommand, BuildConvertsOtherRatesAndMovesTheMarks) {
    std::vector<int16_t> slow;
    for (int n = 0; n < 4410; ++n)
        slow.push_back(static_cast<int16_t>(n % 294 < 147 ? 4000 : -4000));
    WriteFile(units_ + "/A0.wav", voicedb::WavBytes({44100, slow}));
    WriteFile(units_ + "/A0.marks", "0\n294\n588\n4409\n");
    Result build = Db({"build", units_, "-o", db_});
    ASSERT_EQ(build.status, 0) << build.err;
    EXPECT_TRUE(Has(build.out, "A0: converted from 44100 Hz"));
    Allobase base;
    ASSERT_TRUE(base.Open(db_));
    Unit unit{"A0", {}, {}};
    ASSERT_TRUE(base.GetUnit(unit));
    EXPECT_NEAR(static_cast<double>(unit.samples.size()), 2205.0, 1.0);
    EXPECT_EQ(unit.marks,
              (std::vector<int32_t>{0, 147, 294, static_cast<int32_t>(unit.samples.size()) - 1}));
}

TEST_F(DbCommand, BuildNamesTheFileThatCannotBeUsed) {
    auto failsWith = [&](const std::string& part) {
        Result r = Db({"build", units_, "-o", db_});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(Has(r.err, part)) << r.err;
    };
    WriteFile(units_ + "/A0.marks", "0\nabc\n");
    failsWith("A0.marks:2: \"abc\" is not a sample offset");
    WriteFile(units_ + "/A0.marks", "0\n294\n147\n");
    failsWith("mark 2 (147) does not come after mark 1 (294)");
    WriteFile(units_ + "/A0.marks", "0\n");
    std::string stereo = voicedb::WavBytes({22050, {1, 2, 3, 4}});
    stereo[22] = 2;  // channel count
    WriteFile(units_ + "/S.wav", stereo);
    failsWith("S.wav: offset 12: unsupported channel count 2 (only mono)");
    std::string eightBit = voicedb::WavBytes({22050, {1, 2}});
    eightBit[34] = 8;  // bits per sample
    WriteFile(units_ + "/S.wav", eightBit);
    failsWith("unsupported sample size of 8 bits (only 16-bit)");
    WriteFile(units_ + "/S.wav", voicedb::WavBytes({22050, {1, 2, 3}}).substr(0, 46));
    failsWith("chunk \"data\" declares 6 bytes, only 2 follow");
    WriteFile(units_ + "/S.wav", "not a wav");
    failsWith("not a WAV file");
    std::filesystem::remove_all(units_);
    std::filesystem::create_directory(units_);
    failsWith("no .wav units");
    EXPECT_FALSE(std::filesystem::exists(db_)) << "nothing is written after a failure";
}

// A database with the given totals, blocks and index, consistent or not.
std::string RawDatabase(int32_t markTotal, const std::vector<int32_t>& marks, int32_t sampleTotal,
                        size_t samples,
                        const std::vector<std::tuple<std::string, int, int>>& index) {
    std::string b(
        "\x06"
        "abs.07\x00\x00",
        9);
    PutI32(b, static_cast<int32_t>(index.size()));
    PutI32(b, markTotal);
    PutI32(b, sampleTotal);
    for (int32_t m : marks) PutI32(b, m);
    b += std::string(2 * samples, '\x01');
    for (const auto& [name, m, s] : index) {
        b += static_cast<char>(name.size());
        b += name;
        PutI32(b, m);
        PutI32(b, s);
    }
    return b;
}

TEST_F(DbCommand, CheckListsEveryDefectWithItsOffset) {
    // A0: marks 5, 3 (out of order), 40 (outside its 10 samples); a repeated
    // "A0"; a name with ","; 2 samples and 1 mark that no unit owns; 3
    // trailing bytes.
    WriteFile(db_, RawDatabase(5, {5, 3, 40, 0, 9}, 30, 30,
                               {{"A0", 3, 10}, {"A0", 0, 8}, {"x,y", 1, 10}}) +
                       "xyz");
    Result r = Db({"check", db_});
    EXPECT_EQ(r.status, 1);
    for (const char* part :
         {"index entry 0 \"A0\" mark 1 at offset 25: mark 3 does not come after the previous "
          "mark 5 (and 1 more bad marks in this unit)",
          "index entry 1 \"A0\" name at offset 112: repeats the name of index entry 0",
          "index entry 2 \"x,y\" name at offset 123: no allophone can ask for this unit",
          "mark block at offset 21: 1 of 5 marks belong to no unit",
          "sample block at offset 41: 2 of 30 samples belong to no unit",
          "end of index at offset 135: 3 bytes follow the last index entry", ": 6 defects"})
        EXPECT_TRUE(Has(r.out, part)) << part << "\n" << r.out;
}

TEST_F(DbCommand, CheckStopsAtWhatCannotBeRead) {
    WriteFile(db_, RawDatabase(0, {}, 1000, 1, {}));
    Result r = Db({"check", db_});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.out,
                    "sample total at offset 17: 1000 samples need 2000 bytes, only 2 bytes "
                    "follow the mark block"))
        << r.out;
    EXPECT_TRUE(Has(r.out, "reading stopped at this defect"));
    Result info = Db({"info", db_});
    EXPECT_EQ(info.status, 1);
    EXPECT_TRUE(Has(info.err, "sample total at offset 17")) << info.err;
    EXPECT_TRUE(Has(info.err, "voxamen db check lists every defect"));
}

TEST_F(DbCommand, AFifoIsRefusedAtOnce) {
    ASSERT_EQ(::mkfifo(db_.c_str(), 0600), 0);
    ::alarm(20);  // a reader waiting for a writer would hang here
    for (const char* command : {"check", "info"}) {
        Result r = Db({command, db_});
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_TRUE(Has(r.err + r.out, db_ + ": is a FIFO, not a regular file")) << r.err << r.out;
    }
    ::alarm(0);
}

TEST_F(DbCommand, ArgumentsAreCheckedAndEverySubcommandHasHelp) {
    EXPECT_EQ(Db({"--help"}).status, 0);
    for (const char* sub : {"info", "list", "check", "extract", "build"}) {
        Result help = Db({sub, "--help"});
        EXPECT_EQ(help.status, 0) << sub;
        EXPECT_TRUE(Has(help.out, std::string("usage: voxamen db ") + sub)) << help.out;
    }
    ASSERT_EQ(Db({"build", units_, "-o", db_}).status, 0);
    EXPECT_EQ(Db({}).status, 2);
    EXPECT_TRUE(Has(Db({"frob"}).err, "unknown subcommand \"frob\""));
    EXPECT_EQ(Db({"info"}).status, 2);
    EXPECT_EQ(Db({"list", db_, db_}).status, 2);
    EXPECT_EQ(Db({"check", "--bogus", db_}).status, 2);
    EXPECT_EQ(Db({"extract", db_, "A0"}).status, 2) << "-o is required";
    EXPECT_EQ(Db({"build", units_}).status, 2) << "-o is required";
    Result missing = Db({"info", dir_.File("none.abs")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(Has(missing.err, "none.abs: cannot be opened")) << missing.err;
    Result unknown = Db({"extract", db_, "ZZ", "-o", dir_.File("z.wav")});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(Has(unknown.err, "no unit \"ZZ\"")) << unknown.err;
}

}  // namespace
}  // namespace vox
