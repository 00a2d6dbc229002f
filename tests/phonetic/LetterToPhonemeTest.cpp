#include <gtest/gtest.h>

#include "phonetic/LetterToPhoneme.h"

namespace vox {
namespace {

TEST(LetterToPhoneme, EmptyTextGivesNoPhrase) { EXPECT_EQ(LettersToPhonemes("", {}), ""); }

}  // namespace
}  // namespace vox
