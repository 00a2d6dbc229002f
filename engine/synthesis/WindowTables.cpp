#include "engine/synthesis/WindowTables.h"

#include <cmath>
#include <numbers>

namespace vox {

float RisingWindowValue(int32_t index, int32_t length) {
    return static_cast<float>(0.5 - 0.5 * std::cos((index + 1) * std::numbers::pi / length));
}

float FallingWindowValue(int32_t index, int32_t length) {
    return static_cast<float>(0.5 * (std::cos(index * std::numbers::pi / length) + 1.0));
}

const std::vector<float>& WindowTables::Table(int32_t length) {
    auto it = byLength_.find(length);
    if (it != byLength_.end()) return it->second;
    std::vector<float> table(2 * static_cast<size_t>(length));
    for (int32_t i = 0; i < length; ++i) {
        table[i] = RisingWindowValue(i, length);
        table[length + i] = FallingWindowValue(i, length);
    }
    values_ += table.size();
    return byLength_.emplace(length, std::move(table)).first->second;
}

void WindowTables::Trim(size_t maxValues) {
    if (values_ <= maxValues) return;
    byLength_.clear();
    values_ = 0;
}

}  // namespace vox
