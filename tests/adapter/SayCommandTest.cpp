// voxamen say in-process over the registered Orvalink, with the fake
// lexical component and engine: outputs, events, and bad input.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "adapter/fakes/FakeServerClasses.h"
#include "interfaces/IVoxamen.h"
#include "platform/Guid.h"
#include "support/ServerLibrary.h"
#include "support/TempRegistry.h"
#include "tools/voxamen/Command.h"

namespace vox {
namespace {

class SayCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string classes = test::FakeServerClasses();
        // Voices are added for installed phonetic modules only; the fake
        // engine never creates it.
        classes += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vostrelin\\Phonetic\\419.1]\n\n";
        registry_.WriteMachine("Windows Registry Editor Version 5.00\n\n" + classes);
        ASSERT_EQ(test::ServerLibrary("orvalink.so").Register(), S_OK);
        ASSERT_EQ(Run({"voice", "add", "fake", "--data", dir_.File("none.abs"), "--sublang", "1",
                       "--lexicon", GuidToString(CLSID_FakeGlossor)}),
                  0)
            << err_.str();
    }
    int Run(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return cli::RunCommandLine(args, out_, err_);
    }

    test::TempRegistry registry_;
    test::TempDir dir_;
    std::ostringstream out_, err_;
};

TEST_F(SayCommandTest, WritesAWavFileAndEventsAsJsonLines) {
    const std::string wav = dir_.File("a.wav");
    ASSERT_EQ(Run({"say", "Раз два.", "Три", "-w", wav, "--events", "-", "--sample-rate", "44100"}),
              0)
        << err_.str();
    const std::string file = test::ReadFile(wav);
    ASSERT_GT(file.size(), 44u);
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    // Fake sizes: "#" 50, letters 100 samples at 22050 Hz; at 44100 Hz twice that.
    EXPECT_EQ(file.size() - 44, 2u * 2 * ((50 + 300 + 100 + 300 + 50) + (50 + 300 + 50)));
    const std::string events = out_.str();
    EXPECT_NE(events.find(
                  "{\"type\":\"word\",\"ms\":0,\"bytes\":0,\"pos\":0,\"len\":3,\"text\":\"Раз\"}"),
              std::string::npos)
        << events;
    EXPECT_NE(events.find("\"pos\":9,\"len\":3,\"text\":\"Три\"}"), std::string::npos);
    EXPECT_NE(events.find("{\"type\":\"sentence\""), std::string::npos);
}

TEST_F(SayCommandTest, ParagraphsKeepTheirPositionsInTheInput) {
    const std::string input = dir_.File("in.txt");
    test::WriteFile(input, "Один.\n\nДва три.\n");
    ASSERT_EQ(Run({"say", "-f", input, "-w", dir_.File("b.wav"), "--events", "-"}), 0)
        << err_.str();
    EXPECT_NE(out_.str().find("\"pos\":11,\"len\":4,\"text\":\"три.\"}"), std::string::npos)
        << out_.str();
}

TEST_F(SayCommandTest, BadInputFailsClearlyAndLeavesNoFile) {
    const std::string wav = dir_.File("c.wav");
    EXPECT_EQ(Run({"say", "--ssml", "<speak>\nа <b>б</speak>", "-w", wav}), 1);
    EXPECT_NE(err_.str().find("input:2:9:"), std::string::npos) << err_.str();
    EXPECT_FALSE(std::ifstream(wav).good());

    EXPECT_EQ(Run({"say", "x", "-v", "nobody", "-w", wav}), 1);
    EXPECT_NE(err_.str().find("installed: fake"), std::string::npos) << err_.str();

    EXPECT_EQ(Run({"say", "x", "-w", dir_.File("no/such/dir.wav")}), 1);
    EXPECT_NE(err_.str().find("cannot write"), std::string::npos);

    EXPECT_EQ(Run({"say", "x", "--bits", "12"}), 2);
    EXPECT_EQ(Run({"say", "x", "-w", wav, "--stdout"}), 2);
    EXPECT_EQ(Run({"say"}), 2);
}

}  // namespace
}  // namespace vox
