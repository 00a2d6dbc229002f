// The rule file shipped with module 419.0: every phoneme of a valid phrase
// gets exactly one non-empty allophone, and the allophone leads back to it.
#include <gtest/gtest.h>

#include <random>

#include "phonetic/module-419-0/Allomod4190.h"
#include "phonetic/module-419-0/RuleFileReader.h"
#include "phonetic/module-419-0/Tables4190.h"
#include "platform/FileMapping.h"
#include "platform/Text.h"
#include "tests/phonetic/PhoneticTestSupport.h"

namespace vox {
namespace {

// A random phrase: words of random phonemes of the inventory between "#"s.
std::string RandomPhrase(std::mt19937& rng) {
    std::vector<std::string_view> sounds;
    for (const PhonemeEntry& e : m4190::kInventory)
        if (!HasBit(e.sd, sd::None)) sounds.push_back(e.name);
    std::uniform_int_distribution<size_t> pick(0, sounds.size() - 1), words(1, 5), length(1, 8);
    std::string phrase = "#";
    for (size_t w = words(rng); w > 0; --w) {
        for (size_t n = length(rng); n > 0; --n) phrase += "," + std::string(sounds[pick(rng)]);
        phrase += w > 1 ? ",_" : ",#";
    }
    return phrase;
}

TEST(ShippedRuleFile, OneAllophonePerPhonemeForRandomPhrases) {
    ComPtr<IPhonetic> m = test::Adopt(new Allomod_419_0(test::kShippedRuleFile));
    std::mt19937 rng(4190);
    for (int round = 0; round < 500; ++round) {
        const std::string phrase = RandomPhrase(rng);
        const std::string allophones = test::Allophones(*m.Get(), phrase);
        const std::vector<std::string> names = SplitList(phrase);
        // Split keeping empty items: an empty allophone must not hide.
        std::vector<std::string> items;
        size_t pos = 0;
        for (size_t comma; (comma = allophones.find(',', pos)) != std::string::npos;
             pos = comma + 1)
            items.push_back(allophones.substr(pos, comma - pos));
        items.push_back(allophones.substr(pos));
        ASSERT_EQ(items.size(), names.size()) << phrase << " -> " << allophones;
        for (size_t i = 0; i < items.size(); ++i) {
            ASSERT_FALSE(items[i].empty()) << names[i] << " in " << phrase;
            char* back = nullptr;
            ASSERT_EQ(m->AllophoneToPhoneme(items[i].c_str(), &back), S_OK);
            ASSERT_EQ(test::Take(back), names[i]) << items[i];
        }
    }
}

TEST(ShippedRuleFile, DocumentedExamples) {
    ComPtr<IPhonetic> m = test::Adopt(new Allomod_419_0(test::kShippedRuleFile));
    EXPECT_EQ(test::Allophones(*m.Get(), "#,M',A0,T,_,U1,T',#"), "#,M'2,A021,T3,_,U102,T'3,#");
    EXPECT_EQ(test::Allophones(*m.Get(), "#,S,T,O0,L,#"), "#,S1,T1,O011,L3,#");
    EXPECT_EQ(test::Allophones(*m.Get(), "#,T,K,S,#"), "#,T4,K4,S3,#");
}

TEST(ShippedRuleFile, AttributesAgreeWithTheModuleTables) {
    MappedFile file;
    ASSERT_TRUE(file.Open(test::kShippedRuleFile));
    RuleSet rules;
    ASSERT_FALSE(ParseRuleFile({reinterpret_cast<const char*>(file.Data()), file.Size()}, rules));
    const PhonemeInventory inventory(m4190::kTables);
    EXPECT_EQ(rules.attributes.size(), 58u);
    for (const auto& [name, attribute] : rules.attributes) {
        const PhonemeEntry* e = inventory.Find(name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(attribute.vowel, HasBit(e->sd, sd::Vowel)) << name;
        EXPECT_EQ(attribute.number, inventory.Code(name)) << name;
        EXPECT_EQ(attribute.viseme, e->viseme) << name;
    }
}

}  // namespace
}  // namespace vox
