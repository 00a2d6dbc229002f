#include "tools/voicedb/Abs07Checker.h"

#include <map>
#include <string>

namespace vox::voicedb {

namespace {

using abs07::Defect;
using abs07::DefectKind;
using abs07::Entry;

std::string Field(const Entry& e, size_t number) {
    return "index entry " + std::to_string(number) + " \"" + abs07::Printable(e.name) + "\"";
}

void CheckName(const Entry& e, size_t number, std::vector<Defect>& defects) {
    if (std::string problem = abs07::NameProblem(e.name); !problem.empty())
        defects.push_back({DefectKind::Name, Field(e, number) + " name", e.offset,
                           "no allophone can ask for this unit: " + problem});
}

// Marks must be ascending sample offsets inside the unit.
void CheckMarks(std::span<const uint8_t> file, const Entry& e, size_t number,
                std::vector<Defect>& defects) {
    std::vector<int32_t> marks;
    if (!abs07::CopyMarks(file, e.markOffset, e.markCount, marks)) return;
    size_t bad = 0;
    for (size_t j = 0; j < marks.size(); ++j) {
        std::string what;
        if (marks[j] < 0 || marks[j] >= e.sampleCount)
            what = "mark " + std::to_string(marks[j]) + " lies outside the unit's " +
                   std::to_string(e.sampleCount) + " samples";
        else if (j > 0 && marks[j] <= marks[j - 1])
            what = "mark " + std::to_string(marks[j]) + " does not come after the previous mark " +
                   std::to_string(marks[j - 1]);
        if (what.empty()) continue;
        if (bad++ == 0)
            defects.push_back({DefectKind::Mark, Field(e, number) + " mark " + std::to_string(j),
                               e.markOffset + 4 * j, what});
    }
    if (bad > 1)
        defects.back().what += " (and " + std::to_string(bad - 1) + " more bad marks in this unit)";
}

void CheckDuplicates(const abs07::Index& index, std::vector<Defect>& defects) {
    std::map<std::string_view, size_t> first;
    for (size_t k = 0; k < index.entries.size(); ++k) {
        const Entry& e = index.entries[k];
        auto [it, inserted] = first.emplace(e.name, k);
        if (!inserted)
            defects.push_back({DefectKind::Duplicate, Field(e, k) + " name", e.offset,
                               "repeats the name of index entry " + std::to_string(it->second) +
                                   "; lookups find only this later entry"});
    }
}

// The blocks hold exactly the units' entries and the index ends the file.
void CheckCoverage(std::span<const uint8_t> file, const abs07::Index& index,
                   std::vector<Defect>& defects) {
    if (index.marksUsed < index.markTotal)
        defects.push_back({DefectKind::Unused, "mark block", index.markBlock,
                           std::to_string(index.markTotal - index.marksUsed) + " of " +
                               std::to_string(index.markTotal) + " marks belong to no unit"});
    if (index.samplesUsed < index.sampleTotal)
        defects.push_back({DefectKind::Unused, "sample block", index.sampleBlock,
                           std::to_string(index.sampleTotal - index.samplesUsed) + " of " +
                               std::to_string(index.sampleTotal) + " samples belong to no unit"});
    if (index.indexEnd < file.size())
        defects.push_back(
            {DefectKind::Unused, "end of index", index.indexEnd,
             std::to_string(file.size() - index.indexEnd) + " bytes follow the last index entry"});
}

}  // namespace

CheckResult CheckAbs07(std::span<const uint8_t> file) {
    CheckResult result;
    if (std::optional<Defect> stop = abs07::ReadIndex(file, result.index)) {
        result.defects.push_back(std::move(*stop));
        return result;
    }
    result.indexRead = true;
    for (size_t k = 0; k < result.index.entries.size(); ++k) {
        CheckName(result.index.entries[k], k, result.defects);
        CheckMarks(file, result.index.entries[k], k, result.defects);
    }
    CheckDuplicates(result.index, result.defects);
    CheckCoverage(file, result.index, result.defects);
    return result;
}

}  // namespace vox::voicedb
