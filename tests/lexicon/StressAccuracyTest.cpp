// The stress of the real festvox-ru lexicon: the compiled dictionary on its
// own words and the model on words kept out of its training. A few seconds;
// skipped when the festvox-ru package is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include "lexicon/stress/DictionaryCompiler.h"
#include "lexicon/stress/FestvoxSource.h"
#include "lexicon/stress/ModelEvaluation.h"

namespace {

TEST(StressAccuracy, DictionaryAndModelOnFestvoxRu) {
    if (access(lexicon::kFestvoxLexiconPath, R_OK) != 0) GTEST_SKIP() << "festvox-ru missing";
    lexicon::SourceLexicon source;
    std::string error;
    ASSERT_TRUE(lexicon::LoadFestvoxLexicon(lexicon::kFestvoxLexiconPath, source, error));
    EXPECT_GT(source.words.size(), 180000u);
    const auto words = lexicon::PrepareWords(source.words);
    const lexicon::ModelReport r = lexicon::EvaluateModel(words, lexicon::ModelSettings{});
    std::printf(
        "dictionary sample %.2f %%, held-out families %.2f %%, unseen inflections %.2f %%\n",
        r.dictionarySample.Percent(), r.heldOutFamilies.Percent(), r.unseenInflections.Percent());
    EXPECT_EQ(r.dictionarySample.total, 2000u);
    EXPECT_GE(r.dictionarySample.Percent(), 99.5);
    EXPECT_GE(r.heldOutTenth.Percent(), 85.0);
    EXPECT_GE(r.unseenInflections.Percent(), 88.0);
    EXPECT_GE(r.heldOutFamilies.Percent(), 79.0);  // no floor asked; guards the model's level
}

}  // namespace
