// Audio and events written to the site: word ranges, offsets in the
// negotiated format, silences in chunks, bookmarks, aborts, and a failed
// phrase that has no audio.
#include <gtest/gtest.h>

#include <numeric>

#include "adapter/SiteWriter.h"
#include "adapter/Syntagma.h"
#include "adapter/fakes/FakeSite.h"
#include "adapter/fakes/FragmentBuilder.h"

namespace vox {
namespace {

using test::FakeSite;
using test::FragmentBuilder;

SpokenSyntagma TwoWords() {
    return {"(.)|(.)", {{"P,A", 0, 2}, {"M,A", 3, 2}}};
}

TEST(Syntagma, PhonemeStringAndWordRanges) {
    EXPECT_EQ(SyntagmaPhonemes({"", {{"D,A", 0, 2}}}), "#,D,A,#");
    const std::vector<std::string> e = PhonemeElements(SyntagmaPhonemes(TwoWords()));
    ASSERT_EQ(e, (std::vector<std::string>{"#", "P", "A", "_", "M", "A", "#"}));
    const std::vector<ElementRange> r = WordRanges(e);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].begin, 1u);
    EXPECT_EQ(r[0].end, 4u);
    EXPECT_EQ(r[1].begin, 4u);
    EXPECT_EQ(r[1].end, 7u);
}

TEST(Syntagma, ProsodyFromSiteAndFragment) {
    FragmentBuilder b;
    SPVTEXTFRAG& f = b.Speak(u"pa ma", 0);
    FakeSite site;
    f.State.EmphAdj = 1;
    WordProsody p = ComputeProsody(TwoWords(), b.Head(), site);
    EXPECT_EQ(p.rate[0], -4);
    EXPECT_EQ(p.pitch[0], -4);
    EXPECT_EQ(p.volume[0], 100);

    f.State.EmphAdj = 0;
    f.State.RateAdj = 5;
    f.State.PitchAdj.MiddleAdj = 25;
    f.State.Volume = 80;
    site.rate = 8;
    site.volume = 50;
    p = ComputeProsody(TwoWords(), b.Head(), site);
    EXPECT_EQ(p.rate[1], 10);
    EXPECT_EQ(p.pitch[1], 20);
    EXPECT_EQ(p.volume[1], 40);
}

TEST(SiteWriter, SilenceIsWrittenInChunksOfAThousandBytes) {
    FragmentBuilder b;
    b.Silence(500, 0);
    FakeSite site;
    SiteWriter w(site, b.Head(), OutputTiming::Of(nullptr));
    w.FinishFragments();
    EXPECT_EQ(w.StreamOffset(), 22050u);
    ASSERT_EQ(site.Writes(), 23);
    EXPECT_EQ(site.records[0].bytes, 1000u);
    EXPECT_EQ(site.records.back().bytes, 50u);
}

TEST(SiteWriter, SilenceKeepsWholeSamplesInTheNegotiatedFormat) {
    FragmentBuilder b;
    b.Silence(10, 0);
    FakeSite site;
    const WAVEFORMATEX f44{WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 0};
    SiteWriter w(site, b.Head(), OutputTiming::Of(&f44));
    w.FinishFragments();
    EXPECT_EQ(w.StreamOffset(), 882u);  // 441 samples, not 441 bytes
}

TEST(SiteWriter, BookmarksCarryTheirLeadingNumber) {
    FragmentBuilder b;
    b.Add(SPVA_Bookmark, u"42", 0);
    b.Add(SPVA_Bookmark, u"x1", 2);
    FakeSite site;
    SiteWriter w(site, b.Head(), OutputTiming::Of(nullptr));
    w.FinishFragments();
    const auto marks = site.Events(SPEI_TTS_BOOKMARK);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].wParam, 42u);
    EXPECT_EQ(marks[1].wParam, 0u);
    EXPECT_EQ(site.records[0].text, u"42");
}

TEST(SiteWriter, WordsGetEventsAndTheirAudioInOrder) {
    FragmentBuilder b;
    b.Add(SPVA_Bookmark, u"7", 0);
    b.Speak(u"pa ma", 0);
    FakeSite site;
    SiteWriter w(site, b.Head(), OutputTiming::Of(nullptr));
    // Elements # P A _ M A #: the phoneme P has 2205 samples.
    const EngineArrays arrays{
        {50, 2205, 100, 20, 100, 100, 50}, {0, 21, 1, 0, 21, 1, 0}, {1, 35, 2, 60, 29, 2, 1}};
    const size_t total = 2 * (50 + 2205 + 100 + 20 + 100 + 100 + 50);
    w.WriteSyntagma(TwoWords(), std::vector<uint8_t>(total, 1), arrays);

    // The bookmark of the first fragment comes before the first word.
    ASSERT_FALSE(site.records.empty());
    EXPECT_EQ(site.records[0].event.eEventId, SPEI_TTS_BOOKMARK);
    EXPECT_EQ(site.records[0].event.ullAudioStreamOffset, 0u);
    const auto words = site.Events(SPEI_WORD_BOUNDARY);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].lParam, 0);
    EXPECT_EQ(words[0].wParam, 2u);
    EXPECT_EQ(words[1].lParam, 3);
    EXPECT_EQ(words[1].ullAudioStreamOffset, 2u * (2205 + 100 + 20));
    const auto phonemes = site.Events(SPEI_PHONEME);
    ASSERT_GE(phonemes.size(), 2u);
    EXPECT_EQ(phonemes[0].lParam, 35);
    EXPECT_EQ(phonemes[0].wParam >> 16, 100u);   // 2205 samples at 22050 Hz
    EXPECT_EQ(phonemes[0].wParam & 0xFFFF, 2u);  // the next phoneme's code
    EXPECT_EQ(phonemes[1].ullAudioStreamOffset, 4410u);
    // Everything is written, the last word taking the trailing "#".
    EXPECT_EQ(site.audio.size(), total);
    EXPECT_EQ(w.StreamOffset(), total);
}

TEST(SiteWriter, AFailedPhraseWritesNothingBeyondItsEmptyBuffer) {
    FragmentBuilder b;
    b.Speak(u"pa ma", 0);
    FakeSite site;
    SiteWriter w(site, b.Head(), OutputTiming::Of(nullptr));
    w.WriteSyntagma(TwoWords(), {}, EngineArrays{{50, 100, 100, 20, 100, 100, 50}, {}, {}});
    EXPECT_EQ(site.audio.size(), 0u);
    EXPECT_EQ(w.StreamOffset(), 0u);
    EXPECT_EQ(site.Events(SPEI_WORD_BOUNDARY).size(), 2u);
}

TEST(SiteWriter, ShortArraysAndAShortBufferStayInBounds) {
    FragmentBuilder b;
    b.Speak(u"pa ma", 0);
    FakeSite site;
    SiteWriter w(site, b.Head(), OutputTiming::Of(nullptr));
    w.WriteSyntagma(TwoWords(), std::vector<uint8_t>(300, 1), EngineArrays{{50, 1000}, {}, {}});
    EXPECT_EQ(site.audio.size(), 300u);
}

TEST(SiteWriter, AbortStopsBeforeTheNextWord) {
    FragmentBuilder b;
    b.Speak(u"pa ma", 0);
    b.Silence(100, 6);
    FakeSite site;
    site.abortAfterWrites = 1;
    SiteWriter w(site, b.Head(), OutputTiming::Of(nullptr));
    w.WriteSyntagma(TwoWords(), std::vector<uint8_t>(1000, 1),
                    EngineArrays{{50, 100, 100, 20, 100, 100, 50}, {}, {}});
    w.FinishFragments();
    EXPECT_EQ(site.Writes(), 1);
    EXPECT_EQ(site.Events(SPEI_WORD_BOUNDARY).size(), 1u);
}

// Offsets add up to the audio at every format the engine produces.
TEST(SiteWriter, EventOffsetsMatchTheAudioInEveryFormat) {
    const WAVEFORMATEX formats[] = {{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0},
                                    {WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 0},
                                    {WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0}};
    for (const WAVEFORMATEX& f : formats) {
        FragmentBuilder b;
        b.Speak(u"pa ma", 0);
        FakeSite site;
        SiteWriter w(site, b.Head(), OutputTiming::Of(&f));
        const double scale = f.wBitsPerSample * double(f.nSamplesPerSec) / 352800;
        std::vector<int32_t> sizes;
        for (int32_t s : {50, 2205, 101, 20, 99, 100, 50}) sizes.push_back(int32_t(s * scale));
        const size_t bytes = size_t(2625 * (f.nSamplesPerSec / 22050.0)) * (f.wBitsPerSample / 8);
        w.WriteSyntagma(TwoWords(), std::vector<uint8_t>(bytes, 1), EngineArrays{sizes, {}, {}});
        EXPECT_EQ(site.audio.size(), bytes) << f.nSamplesPerSec;
        const auto words = site.Events(SPEI_WORD_BOUNDARY);
        const uint64_t firstWord = 2 * uint64_t(sizes[1] + sizes[2] + sizes[3]);
        EXPECT_EQ(words[1].ullAudioStreamOffset, firstWord / f.nBlockAlign * f.nBlockAlign)
            << f.nSamplesPerSec;
        const auto phonemes = site.Events(SPEI_PHONEME);
        EXPECT_EQ(phonemes.back().ullAudioStreamOffset, bytes) << f.nSamplesPerSec;
        EXPECT_NEAR(double(phonemes[0].wParam >> 16), 100, 1) << f.nSamplesPerSec;  // P: 100 ms
    }
}

}  // namespace
}  // namespace vox
