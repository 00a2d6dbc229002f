// Fitting the chosen instances to their neighbours, on hand-made edge spectra.
#include <gtest/gtest.h>

#include "tools/voicebuild/NeighbourFit.h"
#include "tools/voicebuild/Spectrum.h"

namespace vox::voicebuild {
namespace {

// An instance whose edges are flat spectra at the given levels.
Instance Edges(const std::string& name, float start, float end) {
    Instance in;
    in.name = name;
    in.startBands.assign(kSpectrumBands, start);
    in.endBands.assign(kSpectrumBands, end);
    return in;
}

SelectionGroup Group(std::vector<std::string> names, std::vector<Candidate> candidates) {
    return {std::move(names), std::move(candidates), 0};
}

PreparedUtterance Phrase(std::vector<std::string> phonemes, std::vector<std::string> names) {
    PreparedUtterance u;
    u.phonemes = std::move(phonemes);
    u.names = std::move(names);
    return u;
}

TEST(NeighbourFitTest, WordBoundariesJoinTheirSoundsAndPausesPartThem) {
    const NeighbourCounts counts =
        CountNeighbours({Phrase({"#", "M", "A1", "_", "K", "#", "O0", "#"},
                                {"#", "M-A1", "A1-M", "_", "K", "#", "O0-#", "#"}),
                         Phrase({"#", "A1", "K", "#"}, {"#", "A1-M", "K", "#"})});
    EXPECT_EQ(counts.at({"M-A1", "A1-M"}), 1u);
    EXPECT_EQ(counts.at({"A1-M", "K"}), 2u) << "across the word boundary, and in the second phrase";
    EXPECT_EQ(counts.count({"K", "O0-#"}), 0u) << "a pause parts them";
    EXPECT_EQ(counts.size(), 2u);
}

TEST(NeighbourFitTest, ChoosesTheInstancesThatJoinUnlessTheyAreWorseOrAtypicalOnTheirOwn) {
    // "V" is followed by "C". On its own V's instance 0 is a little better,
    // but it ends 20 dB above where any C starts; instance 1 ends where C's
    // cheaper instance starts.
    const std::vector<Instance> all = {Edges("V", 60, 80), Edges("V", 60, 60), Edges("C", 60, 40),
                                       Edges("C", 80, 40)};
    const NeighbourCounts counts = {{{"V", "C"}, 10}};
    std::vector<SelectionGroup> groups = {Group({"V"}, {{{0}, 1.0}, {{1}, 1.5}}),
                                          Group({"C"}, {{{2}, 1.0}, {{3}, 2.0}})};
    EXPECT_GE(FitNeighbours(groups, all, counts), 1);
    EXPECT_EQ(groups[0].chosen, 1u);
    EXPECT_EQ(groups[1].chosen, 0u);

    // A candidate far worse on its own is not taken for its join, however good.
    groups = {Group({"V"}, {{{0}, 1.0}, {{1}, 1.0 + 3.5}}), Group({"C"}, {{{2}, 1.0}})};
    EXPECT_EQ(FitNeighbours(groups, all, counts), 0);
    EXPECT_EQ(groups[0].chosen, 0u);
    // Nor one far from its name's typical length, level or f0.
    groups = {Group({"V"}, {{{0}, 1.0}, {{1}, 1.5, false}}), Group({"C"}, {{{2}, 1.0}})};
    EXPECT_EQ(FitNeighbours(groups, all, counts), 0);
    EXPECT_EQ(groups[0].chosen, 0u);
    // Without neighbours nothing moves.
    groups = {Group({"V"}, {{{0}, 1.0}, {{1}, 1.5}})};
    EXPECT_EQ(FitNeighbours(groups, all, {}), 0);
    EXPECT_EQ(groups[0].chosen, 0u);
}

TEST(NeighbourFitTest, APairsOwnTokenJoinIsNaturalAndNotWeighed) {
    // "B-A0" then "A0-B" from one token: their mismatch inside the token
    // does not count, only the pair's outer edges against "K".
    const std::vector<Instance> all = {Edges("B-A0", 50, 90), Edges("A0-B", 50, 50),
                                       Edges("B-A0", 50, 50), Edges("A0-B", 50, 80),
                                       Edges("K", 50, 50)};
    const NeighbourCounts counts = {{{"B-A0", "A0-B"}, 50}, {{"A0-B", "K"}, 5}};
    std::vector<SelectionGroup> groups = {Group({"B-A0", "A0-B"}, {{{2, 3}, 1.0}, {{0, 1}, 1.2}}),
                                          Group({"K"}, {{{4}, 0.0}})};
    FitNeighbours(groups, all, counts);
    EXPECT_EQ(groups[0].chosen, 1u) << "the token whose vowel ends where K starts";
}

}  // namespace
}  // namespace vox::voicebuild
