// Output conversion: rates through the converter, 16-bit and 8-bit blocks,
// phoneme sizes scaled to the format, allocation and rate failures.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/audio/OutputConversion.h"
#include "engine/audio/OutputFormat.h"
#include "engine/audio/Resampler.h"
#include "platform/ComBinding.h"

namespace vox {
namespace {

struct Delivered {
    HRESULT hr;
    std::vector<uint8_t> bytes;
    std::vector<int32_t> sizes;
};

Delivered Deliver(const std::vector<int16_t>& signal, uint32_t rate, uint16_t bits,
                  std::vector<int32_t> sizes = {1000, 0, 2205}, BlockAllocator allocate = nullptr) {
    WAVEFORMATEX format = DefaultOutputFormat();
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = bits;
    uint8_t* audio = nullptr;
    int32_t size = -1;
    Delivered d{ConvertAndDeliver(signal, sizes, format, &audio, &size, allocate), {}, sizes};
    if (audio != nullptr) d.bytes.assign(audio, audio + size);
    if (allocate == nullptr) CoTaskMemFree(audio);  // other allocators keep their blocks
    return d;
}

std::vector<int16_t> Tone(size_t n, double hz, double amplitude = 10000) {
    std::vector<int16_t> x(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = static_cast<int16_t>(amplitude * std::sin(2 * std::numbers::pi * hz * i / 22050));
    return x;
}

std::vector<int16_t> AsSamples(const std::vector<uint8_t>& bytes) {
    std::vector<int16_t> s(bytes.size() / 2);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return s;
}

// Sign changes per second of the middle half.
double Frequency(const std::vector<int16_t>& x, double rate) {
    int crossings = 0;
    const size_t from = x.size() / 4, to = x.size() * 3 / 4;
    for (size_t i = from + 1; i < to; ++i) crossings += (x[i - 1] < 0) != (x[i] < 0);
    return crossings * rate / (2.0 * (to - from));
}

TEST(OutputConversion, NativeRateSixteenBitIsTheSignalItself) {
    const std::vector<int16_t> x = {0, 1, -1, 32767, -32768, 258};
    Delivered d = Deliver(x, 22050, 16);
    ASSERT_EQ(d.hr, S_OK);
    EXPECT_EQ(d.bytes.size(), 12u);
    EXPECT_EQ(AsSamples(d.bytes), x);
    EXPECT_EQ(d.bytes[10], 0x02);  // little-endian
    EXPECT_EQ(d.sizes, (std::vector<int32_t>{1000, 0, 2205}));
}

TEST(OutputConversion, OtherRatesKeepThePitchAndScaleSizes) {
    const std::vector<int16_t> tone = Tone(22050, 1000);
    Delivered up = Deliver(tone, 44100, 16);
    ASSERT_EQ(up.hr, S_OK);
    EXPECT_EQ(up.bytes.size(), 4u * 22050);
    EXPECT_EQ(up.sizes, (std::vector<int32_t>{2000, 0, 4410}));
    EXPECT_NEAR(Frequency(AsSamples(up.bytes), 44100), 1000, 5);

    Delivered down = Deliver(tone, 16000, 16);
    ASSERT_EQ(down.hr, S_OK);
    EXPECT_EQ(ResampleRatio(16000), 16000.0f * 4.5351473e-05f);
    EXPECT_EQ(down.bytes.size(),
              2u * static_cast<size_t>(22050 * static_cast<double>(ResampleRatio(16000))));
    EXPECT_EQ(down.bytes.size(), 2u * 15999);  // the single-precision ratio falls just short
    EXPECT_NEAR(Frequency(AsSamples(down.bytes), 16000), 1000, 5);
}

// The converter writes 16-bit output straight into the caller's block when it
// can; a block it cannot write samples into and the 8-bit route convert
// through the phrase instead. All three give the same samples.
TEST(OutputConversion, EveryDeliveryRouteGivesTheSameConvertedSamples) {
    const std::vector<int16_t> tone = Tone(7000, 440, 30000);
    std::vector<int16_t> reference = tone;
    ASSERT_TRUE(ResampleFrom22050(reference, 44100));

    EXPECT_EQ(AsSamples(Deliver(tone, 44100, 16).bytes), reference);
    static std::vector<uint8_t> odd;  // the block one byte into an allocation
    Delivered shifted = Deliver(tone, 44100, 16, {}, [](size_t bytes) -> void* {
        odd.assign(bytes + 1, 0);
        return odd.data() + 1;
    });
    ASSERT_EQ(shifted.hr, S_OK);
    EXPECT_EQ(AsSamples(shifted.bytes), reference);

    std::vector<uint8_t> eight;
    for (int16_t v : reference) eight.push_back(EightBitSample(v));
    EXPECT_EQ(Deliver(tone, 44100, 8).bytes, eight);
}

TEST(OutputConversion, EightBitSamplesAreOffsetBy32640) {
    EXPECT_EQ(EightBitSample(0), 127);
    EXPECT_EQ(EightBitSample(32767), 255);
    EXPECT_EQ(EightBitSample(-32640), 0);
    EXPECT_EQ(EightBitSample(-32768), 0);
    EXPECT_EQ(EightBitSample(-32384), 1);

    Delivered d = Deliver(std::vector<int16_t>(1001, 0), 11025, 8);
    ASSERT_EQ(d.hr, S_OK);
    EXPECT_EQ(d.bytes, std::vector<uint8_t>(500, 127));  // trunc(1001 × 0.5)
    EXPECT_EQ(d.sizes, (std::vector<int32_t>{250, 0, 551}));
    // Any width but 16 gives 8-bit samples.
    EXPECT_EQ(Deliver({0, 32767}, 22050, 24).bytes, (std::vector<uint8_t>{127, 255}));
}

TEST(OutputConversion, FailuresAreReported) {
    Delivered d = Deliver(Tone(100, 440), 22050, 16, {}, [](size_t) -> void* { return nullptr; });
    EXPECT_EQ(d.hr, E_OUTOFMEMORY);
    EXPECT_TRUE(d.bytes.empty());
    EXPECT_EQ(Deliver(Tone(100, 440), 1, 16).hr, E_FAIL);  // beyond the converter's ratios
    EXPECT_EQ(Deliver(Tone(100, 440), 0, 16).hr, E_FAIL);
    Delivered none = Deliver({}, 16000, 16, {});  // an empty phrase is legal
    EXPECT_EQ(none.hr, S_OK);
    EXPECT_TRUE(none.bytes.empty());
}

}  // namespace
}  // namespace vox
