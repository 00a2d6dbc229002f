// The positional sound-description bits of a phrase and their text form.
#include <gtest/gtest.h>

#include "phonetic/Phrase.h"
#include "phonetic/PhraseAnalysis.h"
#include "phonetic/SoundDescription.h"
#include "phonetic/module-419-0/Tables4190.h"

namespace vox {
namespace {

std::vector<uint64_t> Analyse(std::string_view phrase) {
    const PhonemeInventory inventory(m4190::kTables);
    const std::vector<std::string_view> names = SplitItems(phrase);
    std::vector<uint64_t> sds;
    EXPECT_TRUE(ValidatePhrase(names, inventory, sds)) << phrase;
    AddPositionalBits(names, inventory, sds);
    return sds;
}

TEST(PhraseAnalysis, TwoWordExampleGivesTheKnownDescriptions) {
    const std::vector<uint64_t> expected = {
        0x0200000000000001, 0x0000458548425A02, 0x1000458548400096, 0x000085841A8AA602,
        0x100085841A80002E, 0x1001058581122602, 0x1001058581100116, 0x0100000000000001,
        0x1000861018429602, 0x100086101840002E, 0x1001061181249602, 0x1001061181200116,
        0x0001061181225A02, 0x0200000000000001};
    EXPECT_EQ(Analyse("#,K,A1,R,O0,V,A2,_,M,O0,L',I2,T,#"), expected);
}

TEST(PhraseAnalysis, SingleWordAndSingleSyllableTakeOnlyTheLastMarks) {
    const uint64_t a0 = Analyse("#,A0,#")[1];
    EXPECT_TRUE(HasBit(a0, sd::LastAU) && HasBit(a0, sd::LastSyl) && HasBit(a0, sd::Open));
    for (sd::Bit bit : {sd::FirstAU, sd::NonLastAU, sd::FirstSyl, sd::NonLastSyl, sd::MidSyl})
        EXPECT_FALSE(HasBit(a0, bit)) << bit;
    EXPECT_TRUE(HasBit(a0, sd::StressedSyl) && HasBit(a0, sd::NoPretonicSyl) &&
                HasBit(a0, sd::NoPosttonicSyl));
}

TEST(PhraseAnalysis, WordWithoutFullStressIsPretonicThroughout) {
    // Secondary stress does not count as the word's stress.
    const std::vector<uint64_t> sds = Analyse("#,M,A1,L,A5,#");
    for (size_t i : {1, 2, 3, 4}) {
        EXPECT_TRUE(HasBit(sds[i], sd::PretonicSyl) && HasBit(sds[i], sd::InPretonicSyl)) << i;
        EXPECT_TRUE(HasBit(sds[i], sd::NonAdjoining) && !HasBit(sds[i], sd::Adjoining)) << i;
        EXPECT_TRUE(HasBit(sds[i], sd::NoPretonicSyl) && HasBit(sds[i], sd::NoPosttonicSyl)) << i;
    }
    EXPECT_TRUE(HasBit(sds[4], sd::Pretonic)) << "a digit-5 vowel in a pretonic syllable";
}

TEST(PhraseAnalysis, SecondaryStressAfterTheStressIsPosttonic) {
    const uint64_t a5 = Analyse("#,D,O0,M,A5,#")[4];
    EXPECT_TRUE(HasBit(a5, sd::Posttonic) && !HasBit(a5, sd::Pretonic));
}

TEST(PhraseAnalysis, WordWithoutVowelIsOneClosedSyllable) {
    const std::vector<uint64_t> sds = Analyse("#,S,T,_,A0,#");
    for (size_t i : {1, 2}) {
        EXPECT_TRUE(HasBit(sds[i], sd::LastSyl) && HasBit(sds[i], sd::Closed)) << i;
        EXPECT_TRUE(HasBit(sds[i], sd::FirstAU) && HasBit(sds[i], sd::PretonicSyl)) << i;
    }
    EXPECT_TRUE(HasBit(sds[4], sd::LastAU) && HasBit(sds[4], sd::Open));
}

TEST(PhraseAnalysis, MiddleWordsAndSyllables) {
    const std::vector<uint64_t> sds = Analyse("#,A0,_,M,A1,L,A1,K,O0,_,A0,#");
    EXPECT_TRUE(HasBit(sds[3], sd::MidAU) && HasBit(sds[3], sd::NonFirstAU) &&
                HasBit(sds[3], sd::NonLastAU));
    // M A1 | L A1 | K O0: the first pretonic syllable is not next to the stress.
    EXPECT_TRUE(HasBit(sds[4], sd::FirstSyl) && HasBit(sds[4], sd::NonAdjoining));
    EXPECT_TRUE(HasBit(sds[6], sd::MidSyl) && HasBit(sds[6], sd::NonFirstSyl) &&
                HasBit(sds[6], sd::Adjoining));
    EXPECT_TRUE(HasBit(sds[8], sd::LastSyl) && HasBit(sds[8], sd::InStressedSyl));
}

TEST(PhraseAnalysis, NeighbouringConsonants) {
    const std::vector<uint64_t> tt = Analyse("#,T,T,A0,#");
    EXPECT_TRUE(HasBit(tt[1], sd::SamePhoneme1) && HasBit(tt[1], sd::Homoorganic));
    EXPECT_FALSE(HasBit(tt[1], sd::SamePhoneme2));
    EXPECT_TRUE(HasBit(tt[2], sd::SamePhoneme2) && HasBit(tt[2], sd::Homoorganic));

    const uint64_t t = Analyse("#,A0,P,T,T',A0,#")[3];
    EXPECT_TRUE(HasBit(t, sd::NonHomoorganic) && HasBit(t, sd::Homoorganic));
    EXPECT_FALSE(HasBit(Analyse("#,A0,S,T,A0,#")[3], sd::NonHomoorganic)) << "S is no plosive";
}

TEST(SoundDescriptionText, GroupsAndBitsWithoutText) {
    EXPECT_EQ(SdToString(0), "Error");
    EXPECT_EQ(SdToString(0x0200000000000001), "None, Terminator\r\n");
    EXPECT_EQ(SdToString(0x100000000000002E), "Vowel, Stressed, FullStressed, Intonable\r\n");
    EXPECT_EQ(SdToString(SdMask(sd::Any)), "");
    EXPECT_EQ(SdToString(SdMask(sd::Type1) | SdMask(sd::Type3)), "Type 1, Type 3\r\n");
    // Bits 25-27, 37-39, 46-48 and 61-63 have no text.
    EXPECT_EQ(SdToString(0xE001C0E00E000000), "");
    EXPECT_EQ(SdToString(0x0000458548425A02),
              "Consonant, Voiceless, Occlusive, Plosive, Hard\r\n"
              "FirstSyl, PretonicSyl, Adjoining\r\n"
              "FirstAU, HasPretonicSyl, HasPosttonicSyl\r\n");
    EXPECT_EQ(SdToString(SdMask(sd::Homoorganic) | SdMask(sd::Vibrant) | SdMask(sd::LastAU)),
              "Vibrant, Homoorganic\r\nLastAU\r\n");
}

}  // namespace
}  // namespace vox
