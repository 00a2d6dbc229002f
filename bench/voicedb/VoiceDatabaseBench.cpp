// A voice database of 5,000 units and 60 MB (6,000 samples and 40 pitch
// marks a unit), written once to a temporary folder: how long Open takes
// (map and index) and how long a lookup takes (find by name, copy the unit).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "engine/voice/Allobase.h"
#include "tools/voicedb/Abs07Writer.h"

namespace {

constexpr int kUnits = 5000;
constexpr int kSamples = 6000;
constexpr int kPeriod = 147;

std::string UnitName(int k) {
    return "U" + std::to_string(k);
}

class LargeDatabase {
  public:
    LargeDatabase() {
        std::string dir =
            (std::filesystem::temp_directory_path() / "voxamen-bench-XXXXXX").string();
        if (::mkdtemp(dir.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = dir;
        path_ = dir + "/large.abs";
        vox::voicedb::Abs07Writer writer;
        std::string error;
        for (int k = 0; k < kUnits; ++k) {
            vox::Unit unit{UnitName(k), std::vector<int16_t>(kSamples), {}};
            for (int n = 0; n < kSamples; ++n)
                unit.samples[n] = static_cast<int16_t>((n * 37 + k) % 20000 - 10000);
            for (int m = 0; m + kPeriod <= kSamples; m += kPeriod) unit.marks.push_back(m);
            if (!writer.AddUnit(std::move(unit), error)) throw std::runtime_error(error);
        }
        if (!writer.Write(path_, error)) throw std::runtime_error(error);
    }
    ~LargeDatabase() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& Path() const { return path_; }

  private:
    std::string dir_, path_;
};

const LargeDatabase& Database() {
    static const LargeDatabase db;
    return db;
}

void BM_Open(benchmark::State& state) {
    const std::string& path = Database().Path();
    for (auto _ : state) {
        vox::Allobase base;
        if (!base.Open(path)) state.SkipWithError("Open failed");
        benchmark::DoNotOptimize(base.UnitCount());
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_GetUnit(benchmark::State& state) {
    vox::Allobase base;
    if (!base.Open(Database().Path())) state.SkipWithError("Open failed");
    std::vector<std::string> names;
    for (int k = 0; k < 1024; ++k) names.push_back(UnitName((k * 2654435761u) % kUnits));
    vox::Unit unit;
    size_t i = 0;
    for (auto _ : state) {
        unit.name = names[i++ & 1023];
        benchmark::DoNotOptimize(base.GetUnit(unit));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSamples * 2);
}
BENCHMARK(BM_GetUnit)->Unit(benchmark::kMicrosecond);

void BM_UnitLength(benchmark::State& state) {
    vox::Allobase base;
    if (!base.Open(Database().Path())) state.SkipWithError("Open failed");
    std::vector<std::string> names;
    for (int k = 0; k < 1024; ++k) names.push_back(UnitName((k * 2654435761u) % kUnits));
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(base.UnitLength(names[i++ & 1023]));
}
BENCHMARK(BM_UnitLength);

}  // namespace
